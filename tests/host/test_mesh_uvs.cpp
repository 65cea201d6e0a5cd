// MeshGeometry: UV sets, UV values and per-face-vertex assignment.

#include "host/src/mesh/MeshGeometry.h"

#include <gtest/gtest.h>

#include <limits>

#include "tests/host/test_mesh_kernel_helpers.h"

using ehost::MeshGeometry;
using ehost::Vec3;

namespace {

// A quad and a triangle sharing the edge 1-2.
MeshGeometry quadAndTriangle() {
    return meshkernel::made({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 0.5, 0}}, {4, 3},
                            {0, 1, 2, 3, 1, 4, 2});
}

const std::vector<float> kU = {0, 1, 1, 0, 0.5f};
const std::vector<float> kV = {0, 0, 1, 1, 0.25f};

}  // namespace

TEST(MeshUVs, AssignAndReadBackRoundTrip) {
    MeshGeometry m = quadAndTriangle();
    ASSERT_TRUE(m.setUVs(kU, kV).ok());
    EXPECT_EQ(m.numUVs(), 5);
    ASSERT_TRUE(m.assignUVs({4, 3}, {0, 1, 2, 3, 1, 4, 2}).ok());

    std::vector<int> counts, ids;
    ASSERT_TRUE(m.getAssignedUVs(counts, ids).ok());
    EXPECT_EQ(counts, (std::vector<int>{4, 3}));
    EXPECT_EQ(ids, (std::vector<int>{0, 1, 2, 3, 1, 4, 2}));
    EXPECT_EQ(m.polygonUVid(1, 1), 4);
    EXPECT_EQ(m.polygonUVid(0, 3), 3);
    EXPECT_EQ(m.polygonUVid(1, 3), -1);
    EXPECT_EQ(m.polygonUVid(2, 0), -1);

    std::vector<float> u, v;
    ASSERT_TRUE(m.getUVs(u, v).ok());
    EXPECT_EQ(u, kU);
    EXPECT_EQ(v, kV);
    float uu = 0, vv = 0;
    ASSERT_TRUE(m.getUV(4, uu, vv).ok());
    EXPECT_EQ(uu, 0.5f);
    EXPECT_EQ(vv, 0.25f);
    ASSERT_TRUE(m.setUV(4, 0.75f, 0.125f).ok());
    ASSERT_TRUE(m.getUV(4, uu, vv).ok());
    EXPECT_EQ(uu, 0.75f);
    EXPECT_FALSE(m.getUV(5, uu, vv).ok());
    EXPECT_FALSE(m.setUV(-1, 0, 0).ok());
}

TEST(MeshUVs, PolygonsAreAssignedWholeOrNotAtAll) {
    MeshGeometry m = quadAndTriangle();
    ASSERT_TRUE(m.setUVs(kU, kV).ok());
    ASSERT_TRUE(m.assignUVs({0, 3}, {1, 4, 2}).ok());
    std::vector<int> counts, ids;
    ASSERT_TRUE(m.getAssignedUVs(counts, ids).ok());
    EXPECT_EQ(counts, (std::vector<int>{0, 3}));
    EXPECT_EQ(ids, (std::vector<int>{1, 4, 2}));
    EXPECT_EQ(m.polygonUVid(0, 0), -1);
    EXPECT_EQ(m.polygonUVid(1, 0), 1);

    // A fresh assignment replaces the old one entirely.
    ASSERT_TRUE(m.assignUVs({0, 0}, {}).ok());
    ASSERT_TRUE(m.getAssignedUVs(counts, ids).ok());
    EXPECT_EQ(counts, (std::vector<int>{0, 0}));
    EXPECT_TRUE(ids.empty());
}

TEST(MeshUVs, RefusedAssignmentsLeaveTheSetAlone) {
    MeshGeometry m = quadAndTriangle();
    ASSERT_TRUE(m.setUVs(kU, kV).ok());
    ASSERT_TRUE(m.assignUVs({4, 0}, {0, 1, 2, 3}).ok());
    const MeshGeometry before = m;
    struct Case {
        std::vector<int> counts, ids;
        const char* text;
    };
    const std::vector<Case> cases = {
        {{3, 0}, {0, 1, 2}, "a polygon takes all its UVs or none"},
        {{4}, {0, 1, 2, 3}, "for 1 polygons"},
        {{4, 3}, {0, 1, 2, 3, 1, 4}, "add up to 7"},
        {{4, 0}, {0, 1, 2, 5}, "UV id 5 is out of range"},
        {{0, 3}, {1, -1, 2}, "UV id -1"},
    };
    for (const Case& c : cases) {
        const auto s = m.assignUVs(c.counts, c.ids);
        EXPECT_NE(s.error.find(c.text), std::string::npos) << s.error;
        EXPECT_TRUE(m == before) << c.text;
    }
    EXPECT_FALSE(m.assignUVs({4, 0}, {0, 1, 2, 3}, "nope").ok());
}

TEST(MeshUVs, SetUVsValidation) {
    MeshGeometry m = quadAndTriangle();
    EXPECT_FALSE(m.setUVs({0, 1}, {0}).ok());
    EXPECT_FALSE(m.setUVs({0, std::numeric_limits<float>::quiet_NaN()}, {0, 1}).ok());
    ASSERT_TRUE(m.setUVs(kU, kV).ok());
    ASSERT_TRUE(m.assignUVs({0, 3}, {1, 4, 2}).ok());
    // Shrinking below an assigned id would leave a dangling reference.
    const auto s = m.setUVs({0, 1, 2}, {0, 1, 2});
    EXPECT_NE(s.error.find("UV id 4"), std::string::npos) << s.error;
    EXPECT_EQ(m.numUVs(), 5);
    EXPECT_TRUE(m.setUVs({0, 1, 2, 3, 4, 5}, {0, 1, 2, 3, 4, 5}).ok());
}

TEST(MeshUVSets, NamedSetsAreIndependent) {
    MeshGeometry m = quadAndTriangle();
    EXPECT_TRUE(m.hasUVSet("map1"));
    EXPECT_FALSE(m.hasUVSet("detail"));
    ASSERT_TRUE(m.createUVSet("detail").ok());
    EXPECT_FALSE(m.createUVSet("detail").ok());
    EXPECT_FALSE(m.createUVSet("").ok());
    EXPECT_EQ(m.numUVSets(), 2);
    EXPECT_EQ(m.uvSetNames(), (std::vector<std::string>{"map1", "detail"}));

    ASSERT_TRUE(m.setUVs(kU, kV, "detail").ok());
    ASSERT_TRUE(m.assignUVs({4, 0}, {3, 2, 1, 0}, "detail").ok());
    EXPECT_EQ(m.numUVs("map1"), 0);
    EXPECT_EQ(m.numUVs("detail"), 5);
    EXPECT_EQ(m.polygonUVid(0, 0, "detail"), 3);
    EXPECT_EQ(m.polygonUVid(0, 0, "map1"), -1);
    EXPECT_EQ(m.numUVs("missing"), 0);

    // The empty name means the current set.
    EXPECT_EQ(m.polygonUVid(0, 0), -1);
    ASSERT_TRUE(m.setCurrentUVSet("detail").ok());
    EXPECT_EQ(m.currentUVSetName(), "detail");
    EXPECT_EQ(m.polygonUVid(0, 0), 3);
    EXPECT_FALSE(m.setCurrentUVSet("missing").ok());
    EXPECT_EQ(m.currentUVSetName(), "detail");

    EXPECT_FALSE(m.deleteUVSet("map1").ok());
    EXPECT_FALSE(m.deleteUVSet("missing").ok());
    ASSERT_TRUE(m.deleteUVSet("detail").ok());
    EXPECT_EQ(m.currentUVSetName(), "map1");
    EXPECT_EQ(m.numUVSets(), 1);
}

TEST(MeshUVs, SurviveAddPolygonAndPointEdits) {
    MeshGeometry m = quadAndTriangle();
    ASSERT_TRUE(m.setUVs(kU, kV).ok());
    ASSERT_TRUE(m.assignUVs({4, 3}, {0, 1, 2, 3, 1, 4, 2}).ok());
    ASSERT_TRUE(m.setPoint(4, {3, 0.5, 0}).ok());
    const auto added = m.addPolygon({{1, 1, 0}, {3, 0.5, 0}, {2, 2, 0}}, true, 1e-9);
    ASSERT_TRUE(added.ok()) << added.error;
    std::vector<int> counts, ids;
    ASSERT_TRUE(m.getAssignedUVs(counts, ids).ok());
    EXPECT_EQ(counts, (std::vector<int>{4, 3, 0}));
    EXPECT_EQ(ids, (std::vector<int>{0, 1, 2, 3, 1, 4, 2}));
    // The new polygon can be given UVs afterwards.
    ASSERT_TRUE(m.assignUVs({4, 3, 3}, {0, 1, 2, 3, 1, 4, 2, 2, 4, 3}).ok());
    EXPECT_EQ(m.polygonUVid(2, 2), 3);
}
