// Saved files seen the way editors save them: written in place, or written
// elsewhere and renamed in.
#include "platform/file_watch.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "tests/support/temp_folder.h"

TEST(FileWatch, SeesFilesWrittenOrMovedInOnce) {
    TempFolder folder, elsewhere;
    FileWatch watch = watchFolder(folder.path.string());
    ASSERT_GE(watch.fd, 0);
    EXPECT_TRUE(changedFiles(watch).empty());

    folder.write("f_clip.cpp", "one");
    folder.write("f_clip.cpp", "two");  // saved twice: reported once
    elsewhere.write("inc.cpp.tmp", "three");
    ASSERT_EQ(std::rename(elsewhere.file("inc.cpp.tmp").c_str(), folder.file("inc.cpp").c_str()), 0);
    EXPECT_EQ(changedFiles(watch), (std::vector<std::string>{"f_clip.cpp", "inc.cpp"}));
    EXPECT_TRUE(changedFiles(watch).empty());
    closeFileWatch(watch);
}

TEST(FileWatch, AFolderThatCannotBeWatchedReportsNothing) {
    testing::internal::CaptureStderr();
    FileWatch watch = watchFolder("/no/such/folder");
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_LT(watch.fd, 0);
    EXPECT_NE(said.find("/no/such/folder"), std::string::npos);
    EXPECT_TRUE(changedFiles(watch).empty());
}
