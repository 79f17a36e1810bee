// Cooked pictures: the loader hands the driver the same pixels whether it
// takes them from a matching cooked file or decodes the source, and any
// cooked file that does not match or does not read is one line and a decode.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <opencv2/imgcodecs.hpp>
#include <vector>

#include "render/cooked_file.h"
#include "render/texture.h"
#include "tests/support/temp_folder.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

cv::Mat noise(int width, int height, int type) {
    cv::Mat picture(height, width, type);
    cv::randu(picture, 0, 256);
    return picture;
}

TexturePicture decode(const std::string& path, bool mirror = false, bool upsideDown = false) {
    return decodeTexturePicture(path, mirror, upsideDown, 4096);
}

void cook(const std::string& path) {
    std::vector<uint8_t> file;
    std::string why;
    ASSERT_TRUE(cookTexturePicture(path, &file, &why)) << why;
    TempFolder::writeBytes(cookedPathFor(path), file);
}

bool samePixels(const cv::Mat& a, const cv::Mat& b) {
    return a.size() == b.size() && a.type() == b.type() && cv::norm(a, b, cv::NORM_INF) == 0;
}

}  // namespace

TEST(CookedPicture, SamePixelsAsTheDecoderForEveryKindOfPicture) {
    TempFolder dir;
    cv::imwrite(dir.file("colour.png"), noise(64, 48, CV_8UC3));
    cv::imwrite(dir.file("alpha.png"), noise(40, 20, CV_8UC4));
    cv::imwrite(dir.file("grey.png"), noise(32, 16, CV_8UC1));
    cv::imwrite(dir.file("colour.jpg"), noise(128, 96, CV_8UC3));
    cv::imwrite(dir.file("grey.jpg"), noise(48, 40, CV_8UC1));
    cv::imwrite(dir.file("squeezed.png"), noise(1023, 17, CV_8UC3));  // resized to 1020 wide
    cv::imwrite(dir.file("squeezed.jpg"), noise(301, 33, CV_8UC3));
    for (const char* name : {"colour.png", "alpha.png", "grey.png", "colour.jpg", "grey.jpg", "squeezed.png",
                             "squeezed.jpg"}) {
        std::string path = dir.file(name);
        for (int flips = 0; flips < 4; flips++) {
            bool mirror = flips & 1, upsideDown = flips & 2;
            std::filesystem::remove(cookedPathFor(path));
            TexturePicture decoded = decode(path, mirror, upsideDown);
            ASSERT_FALSE(decoded.rgb.empty()) << name << " " << decoded.failure;
            EXPECT_EQ(decoded.note, "") << "no cooked file is nothing to report";
            cook(path);
            TexturePicture cooked = decode(path, mirror, upsideDown);
            EXPECT_EQ(cooked.note, "") << name;
            EXPECT_TRUE(samePixels(cooked.rgb, decoded.rgb)) << name << " flips " << flips;
            EXPECT_TRUE(cooked.rgb.isContinuous());
        }
    }
}

// A cooked file that matches its source is what reaches the driver: here
// pixels unlike the source's, which only the cooked file can have given.
TEST(CookedPicture, AMatchingCookedFileIsTakenAsItIs) {
    TempFolder dir;
    std::string path = dir.file("plain.png");
    cv::imwrite(path, cv::Mat(8, 8, CV_8UC3, cv::Scalar(0, 0, 0)));
    std::string sourceBytes = dir.read("plain.png");
    CookedPixels marked;
    marked.width = marked.sourceWidth = 8;
    marked.height = marked.sourceHeight = 8;
    marked.pixels = cv::Mat(1, 8 * 8 * 3, CV_8UC1, cv::Scalar(77));
    TempFolder::writeBytes(cookedPathFor(path),
                           encodeCookedFile(marked, reinterpret_cast<const uint8_t*>(sourceBytes.data()),
                                            sourceBytes.size()));
    TexturePicture picture = decode(path);
    ASSERT_EQ(picture.rgb.rows, 8);
    EXPECT_EQ(picture.rgb.at<cv::Vec3b>(3, 5), cv::Vec3b(77, 77, 77));
    // Beyond the side this GL takes, the loader decodes to refuse it as always.
    picture = decodeTexturePicture(path, false, false, 4);
    EXPECT_TRUE(picture.rgb.empty());
    EXPECT_NE(picture.failure.find("too large"), std::string::npos) << picture.failure;
}

TEST(CookedPicture, StaleTruncatedOrForeignCookedFilesFallBackWithOneLine) {
    TempFolder dir;
    std::string path = dir.file("picture.png");
    cv::Mat first = noise(24, 16, CV_8UC3), second = noise(24, 16, CV_8UC3);
    cv::imwrite(path, first);
    cook(path);
    std::string goodCooked = dir.read("picture.png.cooked");
    cv::imwrite(path, second);  // replaced by hand after cooking
    std::filesystem::remove(cookedPathFor(path));
    TexturePicture truth = decode(path);
    ASSERT_FALSE(truth.rgb.empty());

    struct Case {
        const char* what;
        std::string cookedBytes;
        const char* line;
    };
    std::string flipped = goodCooked;
    flipped[flipped.size() / 2] ^= 0x40;
    std::string foreign = dir.read("picture.png");
    std::vector<Case> cases = {
        {"stale", goodCooked, "made from another version of the file"},
        {"truncated", goodCooked.substr(0, goodCooked.size() / 2), "another version"},
        {"header only", goodCooked.substr(0, 30), "not a cooked file"},
        {"foreign", foreign, "not a cooked file"},
        {"empty", "", "not a cooked file"},
    };
    // The same damage on a cooked file of the current source.
    cook(path);
    std::string current = dir.read("picture.png.cooked");
    std::string currentFlipped = current;
    currentFlipped[currentFlipped.size() - 3] ^= 0x40;
    cases.push_back({"truncated, current", current.substr(0, current.size() - 5), "header does not match"});
    cases.push_back({"bit flip, current", currentFlipped, "pixels damaged"});
    std::string wrongKind = current;
    wrongKind[8] = 2;
    cases.push_back({"other kind", wrongKind, "another kind of pixels"});
    std::string huge = current;
    huge[13] = char(0x7f);  // width far beyond the pixel budget
    cases.push_back({"huge sides", huge, "header does not match"});

    for (const Case& c : cases) {
        dir.write("picture.png.cooked", c.cookedBytes);
        Texture texture;
        CaptureStdout();
        TexturePicture picture = decode(path);
        uploadTexturePicture(texture, path, picture);
        std::string log = GetCapturedStdout();
        EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2) << c.what << ": " << log;  // "Reading..." and the note
        EXPECT_NE(log.find(c.line), std::string::npos) << c.what << ": " << log;
        EXPECT_NE(log.find("decoding " + path), std::string::npos) << log;
        TexturePicture again = decode(path);
        EXPECT_TRUE(samePixels(again.rgb, truth.rgb)) << c.what;
    }
    std::filesystem::remove(cookedPathFor(path));
    std::filesystem::create_directory(cookedPathFor(path));
    TexturePicture picture = decode(path);
    EXPECT_NE(picture.note.find("not a regular file"), std::string::npos) << picture.note;
    EXPECT_TRUE(samePixels(picture.rgb, truth.rgb));
}
