// The folders depend one way: lib, platform, render, assets, timing and midi,
// show/effects, show/scenes, show, app. This reads every quoted #include of
// the engine, the tools and the benchmarks and fails on one that points
// upward or sideways, naming the file and line, so a wrong include is caught
// even though the build would accept it (every library sees the whole tree).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path ROOT = TORVANEL_SOURCE_DIR;

// Lower ranks are lower layers; a file may include only strictly lower ones
// (and its own folder). Equal ranks may not include each other, so timing
// and midi stay apart.
const std::map<std::string, int> ENGINE_RANK = {
    {"lib", 0},          {"platform", 1},    {"render", 2},      {"assets", 3}, {"timing", 4}, {"midi", 4},
    {"show/effects", 5}, {"show/scenes", 6}, {"show", 7},        {"app", 8},
};

// The folder a repository path belongs to: show's two subfolders are layers
// of their own, everything else goes by its first component.
std::string folderOf(const std::string& path) {
    for (const char* sub : {"show/effects/", "show/scenes/"})
        if (path.rfind(sub, 0) == 0) return std::string(sub, std::char_traits<char>::length(sub) - 1);
    size_t slash = path.find('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

struct Include {
    std::string file;  // repository path of the including file
    int line;
    std::string target;  // repository path of what it includes
};

// Every quoted include below `top` that names a file of the repository,
// written from the root ("render/math.h") or relative to the includer.
std::vector<Include> includesUnder(const std::string& top) {
    static const std::regex quoted(R"re(^\s*#\s*include\s*"([^"]+)")re");
    std::vector<Include> found;
    if (!fs::exists(ROOT / top)) return found;
    for (const auto& entry : fs::recursive_directory_iterator(ROOT / top)) {
        std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
        std::string file = fs::relative(entry.path(), ROOT).generic_string();
        std::ifstream in(entry.path());
        std::string text;
        for (int line = 1; std::getline(in, text); ++line) {
            std::smatch m;
            if (!std::regex_search(text, m, quoted)) continue;
            fs::path target = m[1].str();
            if (!fs::exists(ROOT / target)) target = fs::relative(entry.path().parent_path() / target, ROOT);
            if (!fs::exists(ROOT / target)) continue;  // a library's own header
            found.push_back({file, line, target.lexically_normal().generic_string()});
        }
    }
    return found;
}

TEST(Layering, EngineFoldersIncludeOnlyLowerOnes) {
    int checked = 0;
    for (const auto& [top, rank] : ENGINE_RANK) {
        if (top.find('/') != std::string::npos) continue;  // walked with show
        for (const Include& inc : includesUnder(top)) {
            std::string from = folderOf(inc.file), to = folderOf(inc.target);
            if (from == to) continue;
            ++checked;
            auto target = ENGINE_RANK.find(to);
            ASSERT_NE(target, ENGINE_RANK.end())
                << inc.file << ":" << inc.line << " includes " << inc.target << ", outside the engine";
            EXPECT_LT(target->second, ENGINE_RANK.at(from))
                << inc.file << ":" << inc.line << " (" << from << ") includes " << inc.target << " (" << to
                << "), which is not below it";
        }
    }
    EXPECT_GT(checked, 50) << "the walk found too few includes to mean anything";
}

// Tools and benchmarks may share what tests use only through tests/support.
TEST(Layering, ToolsAndBenchmarksUseOnlyTheTestSupport) {
    for (const char* top : {"tools", "bench", "app", "show", "render", "assets"})
        for (const Include& inc : includesUnder(top))
            if (inc.target.rfind("tests/", 0) == 0)
                EXPECT_EQ(inc.target.rfind("tests/support/", 0), 0u)
                    << inc.file << ":" << inc.line << " includes the test file " << inc.target;
}

}  // namespace
