// The cook step: every picture and figure frame the build wrote has a
// matching cooked file, whose pixels are the ones decoding gives; the tool
// leaves matching files alone and refreshes stale ones.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <opencv2/imgcodecs.hpp>

#include "render/cooked_file.h"
#include "render/texture.h"

namespace fs = std::filesystem;

namespace {

std::string run(const std::string& arguments, int* status) {
    std::string command = std::string(COOK_EXE) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    *status = pclose(pipe);
    return out;
}

}  // namespace

TEST(CookStep, EveryResourceHasAMatchingCookedFile) {
    int status = 0;
    std::string out = run("--check " TORVANEL_SOURCE_DIR "/Resources", &status);
    EXPECT_EQ(status, 0) << out;
}

// Each show picture decoded from a copy with no cooked file beside it gives
// the pixels the loader takes from the cooked file.
TEST(CookStep, ShowPicturesCookToTheirDecodedPixels) {
    fs::path scratch = fs::path(COOK_SCRATCH) / "pictures";
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    int pictures = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(TORVANEL_SOURCE_DIR "/Resources/torvanel")) {
        std::string path = entry.path().string(), extension = entry.path().extension().string();
        if (extension != ".png" && extension != ".jpg") continue;
        fs::path copy = scratch / entry.path().filename();
        fs::copy_file(path, copy);
        TexturePicture cooked = decodeTexturePicture(path, false, false, 0);
        TexturePicture decoded = decodeTexturePicture(copy.string(), false, false, 0);
        EXPECT_EQ(cooked.note, "") << path;
        ASSERT_FALSE(decoded.rgb.empty()) << path;
        ASSERT_EQ(cooked.rgb.size(), decoded.rgb.size()) << path;
        EXPECT_EQ(cv::norm(cooked.rgb, decoded.rgb, cv::NORM_INF), 0) << path;
        fs::remove(copy);
        pictures++;
    }
    EXPECT_GT(pictures, 90);
}

TEST(CookStep, CooksWhatIsMissingOrStaleAndNothingElse) {
    fs::path scratch = fs::path(COOK_SCRATCH) / "folder";
    fs::remove_all(scratch);
    fs::create_directories(scratch / "inner");
    cv::Mat picture(16, 16, CV_8UC3, cv::Scalar(1, 2, 3));
    cv::imwrite((scratch / "a.png").string(), picture);
    cv::imwrite((scratch / "inner" / "b.jpg").string(), picture);
    std::ofstream(scratch / "notes.txt") << "not a picture";
    std::ofstream(scratch / "broken.png") << "not a picture either";
    int status = 0;
    std::string out = run("--check " + scratch.string(), &status);
    EXPECT_NE(status, 0);
    EXPECT_NE(out.find("not cooked: " + (scratch / "a.png").string()), std::string::npos) << out;

    out = run("--out " + scratch.string(), &status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(out.find("2 of 3 files cooked"), std::string::npos) << out;
    EXPECT_TRUE(fs::exists(scratch / "inner" / "b.jpg.cooked"));
    EXPECT_FALSE(fs::exists(scratch / "broken.png.cooked"));
    EXPECT_FALSE(fs::exists(scratch / "notes.txt.cooked"));

    out = run("--out " + scratch.string(), &status);
    EXPECT_NE(out.find("0 of 3 files cooked"), std::string::npos) << out;
    cv::imwrite((scratch / "a.png").string(), cv::Mat(16, 16, CV_8UC3, cv::Scalar(9, 9, 9)));
    out = run("--out " + scratch.string(), &status);
    EXPECT_NE(out.find("1 of 3 files cooked"), std::string::npos) << out;
}
