// Tool output: folders made or refused with their reason, files that appear
// whole or not at all, the data folder found and read from without a change
// of working folder.
#include "platform/output_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "platform/data_dir.h"
#include "platform/file_bytes.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;

TEST(OutputFolder, MadeWithItsParentsOrRefusedWithTheReason) {
    TempFolder dir;
    EXPECT_EQ(prepareOutputDir(dir.file("a/b/c")), "");
    EXPECT_TRUE(fs::is_directory(dir.file("a/b/c")));
    EXPECT_EQ(prepareOutputDir(dir.file("a/b/c/")), "") << "a trailing slash";
    EXPECT_EQ(prepareOutputDir(dir.file("a")), "") << "already there";

    dir.write("plain", "x");
    EXPECT_EQ(prepareOutputDir(dir.file("plain")), "cannot use " + dir.file("plain") + ": " + dir.file("plain") +
                                                       " is not a folder");
    EXPECT_EQ(prepareOutputDir(dir.file("plain/under")),
              "cannot use " + dir.file("plain/under") + ": " + dir.file("plain") + " is not a folder");
    EXPECT_EQ(prepareOutputDir(""), "no output folder given");
    if (geteuid() == 0) GTEST_SKIP() << "root writes into any folder";
    fs::create_directory(dir.file("shut"));
    fs::permissions(dir.file("shut"), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(prepareOutputDir(dir.file("shut")), "cannot write into " + dir.file("shut") + ": Permission denied");
    EXPECT_EQ(prepareOutputDir(dir.file("shut/x")), "cannot make the folder " + dir.file("shut/x") +
                                                        ": Permission denied");
    fs::permissions(dir.file("shut"), fs::perms::owner_all);
}

TEST(OutputFile, AppearsWholeOrNotAtAll) {
    TempFolder dir;
    dir.write("f.png", "old");
    EXPECT_EQ(writeWholeFile(dir.file("f.png"), {'n', 'e', 'w'}), 0);
    EXPECT_EQ(dir.read("f.png"), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1) << "no temporary left";

    EXPECT_EQ(writeWholeFile(dir.file("missing/f.png"), {'x'}), ENOENT);
    fs::create_directory(dir.file("taken"));
    EXPECT_NE(writeWholeFile(dir.file("taken"), {'x'}), 0) << "a folder in the way";
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 2);

    EXPECT_EQ(writeFailure("out/f.png", ENOSPC), "the disk is full: cannot write out/f.png");
    EXPECT_EQ(writeFailure("out/f.png", EACCES), "cannot write out/f.png: Permission denied");
    EXPECT_EQ(folderOf("f.png"), ".");
    EXPECT_EQ(folderOf("/f.png"), "/");
    EXPECT_EQ(folderOf("a/b/f.png"), "a/b");
}

// A data folder needs Resources/ with the final shader (plain or scrambled)
// and the soundtrack; TORVANEL_DATA names one directly, and files are then
// read below it while relative output paths keep the working folder.
TEST(DataFolder, FoundCheckedAndReadFrom) {
    TempFolder dir;
    EXPECT_EQ(missingData(dir.path.string()), "no Resources/ folder");
    fs::create_directories(dir.file("Resources/shaders"));
    fs::create_directories(dir.file("Resources/music"));
    EXPECT_EQ(missingData(dir.path.string()), "no shaders in Resources/shaders/");
    dir.write("Resources/shaders/f_final_clips.xxx", "scrambled");
    EXPECT_EQ(missingData(dir.path.string()), "no soundtrack Resources/music/Velmora.mp3");
    dir.write("Resources/music/Velmora.mp3", "mp3");
    EXPECT_EQ(missingData(dir.path.string()), "");

    setenv("TORVANEL_DATA", dir.file("nowhere").c_str(), 1);
    DataSearch none = findDataDir();
    EXPECT_EQ(none.dir, "");
    EXPECT_EQ(missingDataLine("tool", none).rfind("tool: cannot find the show's data (no Resources/ folder) in " +
                                                      dir.file("nowhere") + ": ",
                                                  0),
              0u)
        << missingDataLine("tool", none);
    setenv("TORVANEL_DATA", dir.path.c_str(), 1);
    DataSearch found = findDataDir();
    unsetenv("TORVANEL_DATA");
    ASSERT_EQ(found.dir, fs::canonical(dir.path).string());

    setDataRoot(found.dir);
    std::vector<uint8_t> bytes;
    std::string why;
    bool read = readWholeFile("Resources//music//Velmora.mp3", 100, &bytes, &why);
    std::string absolute = dataFile(dir.file("elsewhere.txt"));
    setDataRoot("");
    EXPECT_TRUE(read) << why;
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "mp3");
    EXPECT_EQ(absolute, dir.file("elsewhere.txt")) << "absolute paths stay";
    EXPECT_EQ(dataFile("Resources//x"), "Resources//x") << "no root: the working folder";
    EXPECT_FALSE(executableDir().empty());
}
