// Compares against the reference library itself, run under node, on a few
// thousand sprite-style point sets and some tie-heavy ones. Skips when node or
// the package (npm ci in oracle/) is missing.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <random>
#include <string>
#include <vector>

#include "delaunay.h"

namespace {

const std::string oracleDir = DELAUNAY_ORACLE_DIR;

bool oracleAvailable() {
    std::ifstream package(oracleDir + "/node_modules/delaunator/package.json");
    return package && std::system("node --version > /dev/null 2>&1") == 0;
}

double spriteCoordinate(int r) { return double(float(r / 32767.0 * 2 - 1)); }

// Corners, then count random points; some sets repeat earlier points or snap
// to a coarse grid so that duplicates, ties and collinear runs get exercised.
std::vector<double> makeSet(std::mt19937& rng, int count, int flavour) {
    std::vector<double> xy = {-1, -1, 1, -1, 1, 1, -1, 1};
    std::uniform_int_distribution<int> r(0, 32767), grid(-4, 4);
    for (int k = 0; k < count; ++k) {
        size_t points = xy.size() / 2;
        if (flavour == 1 && k % 3 == 2) {
            size_t from = std::uniform_int_distribution<size_t>(0, points - 1)(rng);
            xy.push_back(xy[2 * from]);
            xy.push_back(xy[2 * from + 1]);
        } else if (flavour == 2) {
            xy.push_back(grid(rng) * 0.25);
            xy.push_back(grid(rng) * 0.25);
        } else {
            xy.push_back(spriteCoordinate(r(rng)));
            xy.push_back(spriteCoordinate(r(rng)));
        }
    }
    return xy;
}

TEST(Oracle, MatchesReferenceOnRandomSets) {
    if (!oracleAvailable()) GTEST_SKIP() << "node or " << oracleDir << "/node_modules missing";
    std::mt19937 rng(20261208);
    std::vector<std::vector<double>> sets;
    for (int s = 0; s < 3000; ++s) {
        int flavour = s % 10 == 9 ? 1 : s % 10 == 8 ? 2 : 0;
        int count = s < 2900 ? std::uniform_int_distribution<int>(0, 40)(rng)
                             : std::uniform_int_distribution<int>(41, 600)(rng);
        sets.push_back(makeSet(rng, count, flavour));
    }

    std::string in = testing::TempDir() + "delaunay_oracle_in.json";
    std::string out = testing::TempDir() + "delaunay_oracle_out.json";
    {
        std::FILE* f = std::fopen(in.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fputc('[', f);
        for (size_t s = 0; s < sets.size(); ++s) {
            std::fputs(s ? ",[" : "[", f);
            for (size_t i = 0; i < sets[s].size(); ++i)
                std::fprintf(f, i ? ",%.17g" : "%.17g", sets[s][i]);
            std::fputc(']', f);
        }
        std::fputc(']', f);
        std::fclose(f);
    }
    std::string command = "node \"" + oracleDir + "/run.mjs\" \"" + in + "\" \"" + out + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream results(out);
    nlohmann::json reference = nlohmann::json::parse(results);
    ASSERT_EQ(reference.size(), sets.size());

    int mismatches = 0;
    for (size_t s = 0; s < sets.size() && mismatches < 5; ++s) {
        delaunay::Triangulation t = delaunay::triangulate(sets[s].data(), sets[s].size() / 2);
        const nlohmann::json& r = reference[s];
        bool same = t.triangles == r.at("triangles").get<std::vector<uint32_t>>() &&
                    t.halfedges == r.at("halfedges").get<std::vector<int32_t>>() &&
                    t.hull == r.at("hull").get<std::vector<uint32_t>>();
        if (!same) {
            ++mismatches;
            ADD_FAILURE() << "set " << s << " (" << sets[s].size() / 2 << " points) differs";
        }
    }
    std::remove(in.c_str());
    std::remove(out.c_str());
}

}  // namespace
