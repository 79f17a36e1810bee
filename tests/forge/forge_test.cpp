#include "catalogue.h"
#include "forge.h"
#include "key.h"

#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <fstream>
#include <iterator>
#include <map>
#include <set>

static const std::string kResources = std::string(TORVANEL_SOURCE_DIR) + "/Resources/";
static const std::string kClipart = "/usr/share/openclipart/svg";

static std::vector<uchar> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uchar>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

static bool isKey(cv::Vec3b p) { return p[1] > 200 && p[0] < 70 && p[2] < 70; }

TEST(ForgeCatalogue, KeysExtensionsAndSubstitutes) {
    std::vector<ShowImage> images = showImages();
    ASSERT_EQ(images.size(), 96u);
    EXPECT_EQ(images.front().key, "logo");
    EXPECT_EQ(images.back().key, "cloud4");
    std::set<std::string> keys, jpegs;
    int substituted = 0;
    for (const ShowImage& im : images) {
        EXPECT_TRUE(keys.insert(im.key).second) << im.key;
        if (im.file.substr(im.file.size() - 4) == ".jpg") jpegs.insert(im.key);
        if (im.picture != im.file) ++substituted;
    }
    EXPECT_EQ(jpegs.size(), 16u);
    EXPECT_TRUE(jpegs.count("skullcrack3front") && jpegs.count("otherback") && jpegs.count("moona"));
    EXPECT_TRUE(keys.count("Mcave1") && !keys.count("mcave1"));
    EXPECT_EQ(substituted, 8);
    for (const char* name : {"backanimals", "ropeall", "ear", "otherback_tile", "ribcage", "fishmore2", "fishskeleton",
                             "skeletoncrawling"})
        EXPECT_FALSE(keys.count(name)) << name << " must only be a picture file";
    EXPECT_EQ(images[14].key, "back3");
    EXPECT_EQ(images[14].picture, "backanimals.jpg");
    EXPECT_EQ(images[61].picture, "otherback_tile.png");
    EXPECT_EQ(showFiles().size(), 4u + 96u + 8u + 1u);
}

TEST(ForgeCatalogue, EveryFileHasARecipe) {
    for (const std::string& file : showFiles()) EXPECT_NE(findRecipe(recipeNameFor(file)), nullptr) << file;
    EXPECT_EQ(recipeNameFor("torvanel/fish2.png"), "fishskeleton");
    EXPECT_EQ(recipeNameFor("torvanel/fishskeleton.png"), "fishskeleton");
    EXPECT_EQ(recipeNameFor("torvanel/paper.png"), "paper");
}

// The manifest in the repository tells the same story as the recipe table.
TEST(ForgeCatalogue, ManifestMatchesRecipes) {
    std::ifstream in(std::string(TORVANEL_SOURCE_DIR) + "/tools/forge/manifest.tsv");
    ASSERT_TRUE(in.good());
    std::set<std::string> listed;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::string name = line.substr(0, line.find('\t'));
        const Recipe* r = findRecipe(name);
        ASSERT_NE(r, nullptr) << name;
        listed.insert(name);
        static const std::map<Kind, std::string> kinds = {
            {Kind::CutOut, "cut-out"}, {Kind::Whole, "whole"}, {Kind::Repeats, "repeats"}, {Kind::AsDrawn, "as-drawn"}};
        EXPECT_NE(line.find("\t" + kinds.at(r->kind) + "\t"), std::string::npos) << name;
        const char* source = r->svg.path ? r->svg.path : "procedural";
        EXPECT_NE(line.find(source), std::string::npos) << name;
    }
    EXPECT_EQ(listed.size(), recipes().size());
}

// The build runs the forge before the tests: every file is there, decodes,
// and its bytes are in the format its extension says.
TEST(ForgeOutput, FilesExistInTheirFormat) {
    for (const std::string& file : showFiles()) {
        std::vector<uchar> bytes = readBytes(kResources + file);
        ASSERT_GT(bytes.size(), 8u) << file;
        bool jpeg = file.substr(file.size() - 4) == ".jpg";
        bool isJpeg = bytes[0] == 0xFF && bytes[1] == 0xD8;
        bool isPng = bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N' && bytes[3] == 'G';
        EXPECT_TRUE(jpeg ? isJpeg : isPng) << file;
        cv::Mat img = cv::imdecode(bytes, cv::IMREAD_COLOR);
        ASSERT_FALSE(img.empty()) << file;
        EXPECT_GE(std::max(img.cols, img.rows), 256) << file;
        EXPECT_LE(std::max(img.cols, img.rows), 2048) << file;
    }
}

// Cut-outs sit on the key colour all round; whole pictures hold none of it.
TEST(ForgeOutput, KeyColourConvention) {
    for (const std::string& file : showFiles()) {
        const Recipe* r = findRecipe(recipeNameFor(file));
        ASSERT_NE(r, nullptr);
        cv::Mat img = cv::imread(kResources + file, cv::IMREAD_COLOR);
        ASSERT_FALSE(img.empty()) << file;
        int border = 0, keyed = 0, keyedAnywhere = 0;
        for (int y = 0; y < img.rows; ++y)
            for (int x = 0; x < img.cols; ++x) {
                bool key = isKey(img.at<cv::Vec3b>(y, x));
                keyedAnywhere += key;
                if (x == 0 || y == 0 || x == img.cols - 1 || y == img.rows - 1) ++border, keyed += key;
            }
        if (r->kind == Kind::CutOut) {
            EXPECT_EQ(keyed, border) << file;
            EXPECT_LT(keyedAnywhere, img.cols * img.rows * 95 / 100) << file << " is nearly empty";
        } else {
            EXPECT_EQ(keyedAnywhere, 0) << file;
        }
    }
}

// The cut-outs among the show's files with the coverage the clip shader
// reads from each texel, loaded once for the checks below.
struct CutOutFile {
    std::string file;
    const Recipe* recipe;
    cv::Mat picture, coverage;  // BGR; CV_32F in 0..1
};

static const std::vector<CutOutFile>& cutOutFiles() {
    static const std::vector<CutOutFile> files = [] {
        std::vector<CutOutFile> out;
        for (const std::string& file : showFiles()) {
            const Recipe* r = findRecipe(recipeNameFor(file));
            if (!r || r->kind != Kind::CutOut) continue;
            CutOutFile f{file, r, cv::imread(kResources + file, cv::IMREAD_COLOR), cv::Mat()};
            if (f.picture.empty()) continue;
            f.coverage.create(f.picture.size(), CV_32F);
            for (int y = 0; y < f.picture.rows; ++y)
                for (int x = 0; x < f.picture.cols; ++x) f.coverage.at<float>(y, x) = keyCoverage(f.picture.at<cv::Vec3b>(y, x));
            out.push_back(f);
        }
        return out;
    }();
    return files;
}

static bool background(float coverage) { return coverage < 0.5f / 255.0f; }
static bool fullyCovered(float coverage) { return coverage >= 1.0f; }

// A sprite enlarged in the show stair-steps wherever its edge jumps from
// background to paper in one texel: the outermost ring of the shape must be
// mostly partly covered.
TEST(ForgeOutput, CutOutEdgesAreSoft) {
    ASSERT_GT(cutOutFiles().size(), 80u);
    for (const CutOutFile& f : cutOutFiles()) {
        int ring = 0, soft = 0;
        for (int y = 1; y < f.coverage.rows - 1; ++y)
            for (int x = 1; x < f.coverage.cols - 1; ++x) {
                float c = f.coverage.at<float>(y, x);
                if (background(c)) continue;
                bool touches = background(f.coverage.at<float>(y - 1, x)) || background(f.coverage.at<float>(y + 1, x)) ||
                               background(f.coverage.at<float>(y, x - 1)) || background(f.coverage.at<float>(y, x + 1));
                if (!touches) continue;
                ++ring;
                soft += !fullyCovered(c);
            }
        ASSERT_GT(ring, 0) << f.file;
        EXPECT_GE(soft, ring * 9 / 10) << f.file << ": " << ring - soft << " of " << ring << " edge texels are hard";
    }
}

// Key green left in the paper next to the background shows as a green halo:
// near the edge, texels the key leaves whole must show no greener than ink.
TEST(ForgeOutput, NoGreenCastAtTheEdge) {
    for (const CutOutFile& f : cutOutFiles()) {
        cv::Mat shape = f.coverage >= 0.5f / 255.0f, distance;
        cv::distanceTransform(shape, distance, cv::DIST_L2, cv::DIST_MASK_5);
        int green = 0;
        cv::Point first(-1, -1);
        for (int y = 0; y < f.picture.rows; ++y)
            for (int x = 0; x < f.picture.cols; ++x) {
                if (!fullyCovered(f.coverage.at<float>(y, x)) || distance.at<float>(y, x) > 3.0f) continue;
                cv::Vec3f shown = shownColour(f.picture.at<cv::Vec3b>(y, x));
                if (shown[1] - std::max(shown[0], shown[2]) <= kInkGreen + 4.0f / 255.0f) continue;
                if (green++ == 0) first = cv::Point(x, y);
            }
        EXPECT_EQ(green, 0) << f.file << ", first at " << first;
    }
}

// Where a drawing's gaps are meant to get paper, nothing inside the cut-out's
// outline is background: no hollow hands, no faces punched through.
TEST(ForgeOutput, CutOutsHaveNoHoles) {
    for (const CutOutFile& f : cutOutFiles()) {
        if (f.recipe->holes == Holes::Keep) continue;  // ribs, loops, the television's screen: open by design
        cv::Mat shape = f.coverage >= 0.5f / 255.0f, filled = shape.clone();
        std::vector<std::vector<cv::Point>> outlines;
        cv::findContours(shape, outlines, cv::RETR_EXTERNAL, cv::CHAIN_APPROX_SIMPLE);
        cv::drawContours(filled, outlines, -1, cv::Scalar(255), cv::FILLED);
        int holes = cv::countNonZero(filled & ~shape), area = cv::countNonZero(filled);
        EXPECT_LE(holes, area / 100) << f.file << ": " << holes << " keyed texels inside an outline of " << area;
    }
}

// The sampling factors of every component in a JPEG's frame header.
static std::vector<int> samplingFactors(const std::vector<uchar>& jpeg) {
    for (size_t i = 2; i + 9 < jpeg.size();) {
        if (jpeg[i] != 0xFF) return {};
        int marker = jpeg[i + 1], length = jpeg[i + 2] << 8 | jpeg[i + 3];
        if (marker == 0xC0 || marker == 0xC1 || marker == 0xC2) {
            std::vector<int> factors;
            for (int c = 0; c < jpeg[i + 9] && i + 12 + 3 * c < jpeg.size(); ++c) factors.push_back(jpeg[i + 11 + 3 * c]);
            return factors;
        }
        i += 2 + length;
    }
    return {};
}

// Halved chroma smears the key into the cut edge of the JPEG cut-outs.
TEST(ForgeOutput, JpegsKeepFullChroma) {
    for (const std::string& file : showFiles()) {
        if (file.substr(file.size() - 4) != ".jpg") continue;
        std::vector<int> factors = samplingFactors(readBytes(kResources + file));
        ASSERT_EQ(factors.size(), 3u) << file;
        for (int f : factors) EXPECT_EQ(f, 0x11) << file;
    }
}

TEST(ForgeOutput, SameBytesEveryRun) {
    for (const char* file : {"torvanel/skullcrack3front.jpg", "torvanel/fork.png", "torvanel/ribcagef.png",
                             "torvanel/pattern3.jpg", "torvanel/frame_1.png"}) {
        const Recipe* r = findRecipe(recipeNameFor(file));
        ASSERT_NE(r, nullptr);
        std::vector<uchar> a = encodePicture(forgePicture(*r, kClipart), file);
        std::vector<uchar> b = encodePicture(forgePicture(*r, kClipart), file);
        EXPECT_EQ(a, b) << file;
        EXPECT_EQ(a, readBytes(kResources + file)) << file << " differs from the build's file";
    }
}

TEST(ForgeInput, MissingClipArtGivesAPlaceholderCutOut) {
    SvgCut cut;
    cut.path = "no/such/file.svg";
    EXPECT_TRUE(renderSvg(kClipart, cut, 256).empty());
    const Recipe* r = findRecipe("fruit1");
    ASSERT_NE(r, nullptr);
    cv::Mat img = forgePicture(*r, "/nonexistent");
    ASSERT_FALSE(img.empty());
    EXPECT_TRUE(isKey(img.at<cv::Vec3b>(0, 0)));
}

TEST(ForgeInput, BrokenSvgIsRefused) {
    std::string dir = ::testing::TempDir();
    std::ofstream(dir + "/broken.svg") << "<svg width=\"10\" height=\"10\"><rect x=\"0\"";
    SvgCut cut;
    cut.path = "broken.svg";
    EXPECT_TRUE(renderSvg(dir, cut, 64).empty());
}
