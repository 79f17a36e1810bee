// Every reference vector must come out entry for entry: triangles, halfedges
// and hull.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "delaunay.h"

namespace {

std::string testdataDir() {
    const char* env = std::getenv("DELAUNAY_TESTDATA");
    return env && *env ? env : DELAUNAY_DEFAULT_TESTDATA;
}

struct Vector {
    std::vector<double> coords;
    std::vector<uint32_t> triangles;
    std::vector<int32_t> halfedges;
    std::vector<uint32_t> hull;
};

// Loads one vector; the coordinates must parse to exactly the recorded bits.
bool loadVector(const std::string& name, Vector* v) {
    std::ifstream in(testdataDir() + "/" + name + ".json");
    if (!in) {
        ADD_FAILURE() << "cannot open " << testdataDir() << "/" << name << ".json";
        return false;
    }
    nlohmann::json j = nlohmann::json::parse(in);
    v->coords = j.at("coords").get<std::vector<double>>();
    auto bits = j.at("coords_bits").get<std::vector<std::string>>();
    if (bits.size() != v->coords.size() || size_t(j.at("n").get<int>()) * 2 != bits.size()) {
        ADD_FAILURE() << name << ": coords, coords_bits and n disagree";
        return false;
    }
    for (size_t i = 0; i < bits.size(); ++i) {
        uint64_t want = std::strtoull(bits[i].c_str(), nullptr, 16), got;
        std::memcpy(&got, &v->coords[i], sizeof got);
        if (got != want) {
            ADD_FAILURE() << name << ": coordinate " << i << " parsed inexactly";
            return false;
        }
    }
    v->triangles = j.at("triangles").get<std::vector<uint32_t>>();
    v->halfedges = j.at("halfedges").get<std::vector<int32_t>>();
    v->hull = j.at("hull").get<std::vector<uint32_t>>();
    return true;
}

class ReferenceVector : public testing::TestWithParam<const char*> {};

TEST_P(ReferenceVector, MatchesEntryForEntry) {
    Vector v;
    ASSERT_TRUE(loadVector(GetParam(), &v));
    delaunay::Triangulation t = delaunay::triangulate(v.coords.data(), v.coords.size() / 2);
    ASSERT_EQ(t.error, nullptr);
    EXPECT_EQ(t.triangles, v.triangles);
    EXPECT_EQ(t.halfedges, v.halfedges);
    EXPECT_EQ(t.hull, v.hull);
}

std::string vectorName(const testing::TestParamInfo<const char*>& info) { return info.param; }

// The three sets the program draws come first.
INSTANTIATE_TEST_SUITE_P(
    Drawn, ReferenceVector,
    testing::Values("seed4234_n10", "seed4234_n20", "seed4234_n30"), vectorName);

INSTANTIATE_TEST_SUITE_P(
    ProjectSets, ReferenceVector,
    testing::Values("seed4234_n0", "seed4234_n1", "seed4234_n2", "seed4234_n3", "seed4234_n5",
                    "seed4234_n14", "seed4234_n50", "seed4234_n100", "seed4234_n1000",
                    "seed42342_n20", "seed44242_n30", "seed14234_n10", "seed1_n17",
                    "seed1_n18", "seed3_n1", "seed8_n3", "seed127_n30"), vectorName);

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, ReferenceVector,
    testing::Values("corners_only_literal", "duplicates", "collinear_diagonal",
                    "collinear_vertical", "empty", "one_point", "two_points", "all_duplicates",
                    "single_triangle_ccw_input", "corners_midpoints_center", "grid_9x9_exact",
                    "grid_11x11_inexact", "near_collinear"), vectorName);

}  // namespace
