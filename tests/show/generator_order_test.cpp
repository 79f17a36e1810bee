// Draw order is generator order: every group's fixed layouts continue the
// random sequence where the groups before it left it, so a group moved,
// skipped, or drawing one piece more shifts every layout after it. This
// compares the generator's state after each of the 62 groups, at scene times
// spread over the show, with the committed table, and names the first group
// that moved.
//
// After a change that is meant to move the sequence, write the table anew:
//   TORVANEL_WRITE_GENERATOR_TABLE=1 build/tests_show --gtest_filter='GeneratorOrder.*'
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "show/scene_timeline.h"
#include "tests/show/scene_test_kit.h"

using namespace scene_test;

namespace {

class GeneratorOrder : public SceneTest {};

const std::string TABLE = std::string(TORVANEL_SOURCE_DIR) + "/tests/show/generator_order.txt";

struct Sample {
    float scene;
    int flag;
};

// A dozen times, every act and both replayed stretches among them.
const Sample SAMPLES[] = {{4.5f, 0},   {17.25f, 0},  {37.5f, 0},  {66.0f, 0},  {85.5f, 0},  {110.75f, 0},
                          {143.5f, 1}, {158.25f, 0}, {181.0f, 0}, {212.5f, 0}, {236.0f, 1}, {262.5f, 1}};

std::string sampleKey(const Sample& s) {
    char key[32];
    snprintf(key, sizeof key, "%.2f/%d", s.scene, s.flag);
    return key;
}

std::map<std::string, std::vector<uint32_t>> readTable() {
    std::map<std::string, std::vector<uint32_t>> table;
    std::ifstream in(TABLE);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string key;
        words >> key;
        uint32_t state;
        while (words >> std::hex >> state) table[key].push_back(state);
    }
    return table;
}

TEST_F(GeneratorOrder, EachGroupLeavesTheGeneratorWhereTheTableSays) {
    std::map<std::string, std::vector<uint32_t>> measured;
    for (const Sample& s : SAMPLES) {
        DrawTrace trace = traceAt(s.scene, s.flag);
        ASSERT_EQ(trace.generatorAfterGroup.size(), size_t(SCENE_GROUP_COUNT)) << "at " << sampleKey(s);
        measured[sampleKey(s)] = trace.generatorAfterGroup;
    }

    if (std::getenv("TORVANEL_WRITE_GENERATOR_TABLE")) {
        std::ofstream out(TABLE);
        out << "# scene/flag, then the generator's state (hex) after each scene group in table order\n";
        for (const Sample& s : SAMPLES) {
            out << sampleKey(s);
            for (uint32_t state : measured[sampleKey(s)]) out << ' ' << std::hex << state << std::dec;
            out << '\n';
        }
        GTEST_SKIP() << "wrote " << TABLE;
    }

    std::map<std::string, std::vector<uint32_t>> table = readTable();
    for (const Sample& s : SAMPLES) {
        const std::vector<uint32_t>& want = table[sampleKey(s)];
        const std::vector<uint32_t>& got = measured[sampleKey(s)];
        ASSERT_EQ(want.size(), got.size()) << "the table has no full row for " << sampleKey(s);
        for (int g = 0; g < SCENE_GROUP_COUNT; ++g) {
            if (want[g] == got[g]) continue;
            ADD_FAILURE() << "at scene " << sampleKey(s) << " group " << SCENE_GROUPS[g].number << " ("
                          << SCENE_GROUPS[g].name << ") is the first whose draws moved the generator";
            break;
        }
    }
}

}  // namespace
