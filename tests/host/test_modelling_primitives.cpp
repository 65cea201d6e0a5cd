// polySphere, polyCube and polyPlane: counts, layout, history and undo.

#include "host/src/dag/Dag.h"
#include "host/src/dag/Selection.h"
#include "host/src/nodes/History.h"
#include "host/src/nodes/ObjectSet.h"
#include "tests/host/test_modelling_fixture.h"

namespace {

using ehost::MeshGeometry;
using ehost::Vec3;

struct Counts {
    int vertices, edges, faces, uvs;
};

void expectCounts(const MeshGeometry& m, Counts c) {
    EXPECT_EQ(m.numVertices(), c.vertices);
    EXPECT_EQ(m.numEdges(), c.edges);
    EXPECT_EQ(m.numFaces(), c.faces);
    EXPECT_EQ(m.numUVs(), c.uvs);
}

//! Every edge between exactly two faces, used once in each direction.
void expectClosedAndConsistent(const MeshGeometry& m) {
    for (int e = 0; e < m.numEdges(); ++e) {
        ASSERT_EQ(m.edgeFaces(e).size(), 2u) << "edge " << e;
        auto ends = m.edgeVertices(e);
        int forward = 0;
        for (int f : m.edgeFaces(e)) {
            auto v = m.faceVertices(f);
            for (size_t k = 0; k < v.size(); ++k)
                if (v[k] == ends.first && v[(k + 1) % v.size()] == ends.second) ++forward;
        }
        EXPECT_EQ(forward, 1) << "edge " << e << " is walked the same way by both faces";
    }
}

//! Faces of a closed mesh around the origin face away from it.
void expectOutwardFaces(const MeshGeometry& m) {
    for (int f = 0; f < m.numFaces(); ++f) {
        Vec3 centre;
        for (int v : m.faceVertices(f)) centre += m.point(v);
        centre = centre / static_cast<double>(m.polygonVertexCount(f));
        EXPECT_GT(ehost::dot(m.faceNormal(f), centre), 0) << "face " << f;
    }
}

bool inShadingGroup(ehost::Node& shape) {
    for (ehost::Node* m : ehost::setMembers(*ehost::session().scene().find("initialShadingGroup")))
        if (m == &shape) return true;
    return false;
}

class PrimitiveTest : public ModellingTest {};

TEST_F(PrimitiveTest, DefaultSphereHasTheHostsCountsNamesAndLayout) {
    EXPECT_EQ(strings("polySphere"), (std::vector<std::string>{"pSphere1", "polySphere1"}));
    const MeshGeometry m = shown("pSphereShape1");
    expectCounts(m, {382, 780, 400, 439});
    // Rings from the bottom up, then the two poles.
    EXPECT_EQ(m.point(380), Vec3(0, -1, 0));
    EXPECT_EQ(m.point(381), Vec3(0, 1, 0));
    EXPECT_NEAR(m.point(0).y, -0.987688, 1e-6);
    EXPECT_NEAR(m.point(0).x, 0.148778, 1e-6);
    EXPECT_NEAR(m.point(0).z, -0.0483409, 1e-6);
    const std::vector<int> firstQuad(m.faceVertices(0).begin(), m.faceVertices(0).end());
    EXPECT_EQ(firstQuad, (std::vector<int>{0, 1, 21, 20}));
    EXPECT_EQ(m.polygonVertexCount(360), 3) << "caps come after the quads";
    expectClosedAndConsistent(m);
    expectOutwardFaces(m);
    for (int v = 0; v < m.numVertices(); ++v) EXPECT_NEAR(ehost::length(m.point(v)), 1.0, 1e-12);
}

TEST_F(PrimitiveTest, DefaultCubeMatchesTheHostsVertexFaceAndUVNumbering) {
    EXPECT_EQ(strings("polyCube"), (std::vector<std::string>{"pCube1", "polyCube1"}));
    const MeshGeometry m = shown("pCubeShape1");
    expectCounts(m, {8, 12, 6, 14});
    const std::vector<Vec3> corners{{-0.5, -0.5, 0.5},  {0.5, -0.5, 0.5},  {-0.5, 0.5, 0.5},
                                    {0.5, 0.5, 0.5},    {-0.5, 0.5, -0.5}, {0.5, 0.5, -0.5},
                                    {-0.5, -0.5, -0.5}, {0.5, -0.5, -0.5}};
    EXPECT_EQ(m.points(), corners);
    EXPECT_EQ(m.polygonConnects(), (std::vector<int>{0, 1, 3, 2, 2, 3, 5, 4, 4, 5, 7, 6,
                                                     6, 7, 1, 0, 1, 7, 5, 3, 6, 0, 2, 4}));
    std::vector<int> uvCounts, uvIds;
    ASSERT_TRUE(m.getAssignedUVs(uvCounts, uvIds).ok());
    EXPECT_EQ(uvIds, (std::vector<int>{0, 1, 3, 2, 2, 3,  5,  4, 4,  5, 7, 6,
                                       6, 7, 9, 8, 1, 10, 11, 3, 12, 0, 2, 13}));
    float u = 0, v = 0;
    m.getUV(10, u, v);
    EXPECT_EQ(u, 0.875f);
    EXPECT_EQ(v, 0.0f);
    expectClosedAndConsistent(m);
    expectOutwardFaces(m);
}

TEST_F(PrimitiveTest, SubdividedCubesAndSpheresStayClosedAndOutward) {
    for (const char* text :
         {"polyCube -sx 3 -sy 2 -sz 4 -w 2 -h 3 -d 4", "polyCube -sx 1 -sy 5 -sz 1",
          "polySphere -sx 5 -sy 3 -r 2", "polySphere -sx 3 -sy 2"}) {
        SCOPED_TRACE(text);
        auto names = strings(text);
        const MeshGeometry m =
            shown(names[0].substr(0, names[0].size() - 1) + "Shape" + names[0].back());
        expectClosedAndConsistent(m);
        expectOutwardFaces(m);
    }
    const MeshGeometry cube = shown("pCubeShape1");
    // 2 (xy + yz + zx) + 2 vertices, 2 (xy + yz + zx) faces.
    expectCounts(cube, {2 * (6 + 8 + 12) + 2, 2 * (6 + 8 + 12) * 2, 2 * (6 + 8 + 12),
                        4 * (2 * (2 + 4) + 1) + 2 * 4 * 3});
    EXPECT_EQ(cube.boundingBox().min, Vec3(-1, -1.5, -2));
    EXPECT_EQ(cube.boundingBox().max, Vec3(1, 1.5, 2));
    expectCounts(shown("pSphereShape2"), {3 * 1 + 2, 3 + 3 + 3, 6, 4 + 6});
}

TEST_F(PrimitiveTest, DefaultPlaneIsATenByTenGridFacingUp) {
    EXPECT_EQ(strings("polyPlane"), (std::vector<std::string>{"pPlane1", "polyPlane1"}));
    const MeshGeometry m = shown("pPlaneShape1");
    expectCounts(m, {121, 220, 100, 121});
    EXPECT_EQ(m.point(0), Vec3(-0.5, 0, 0.5));
    EXPECT_EQ(m.point(120), Vec3(0.5, 0, -0.5));
    for (int f = 0; f < m.numFaces(); ++f) EXPECT_EQ(m.faceNormal(f), Vec3(0, 1, 0));
    strings("polyPlane -w 4 -h 2 -sx 3 -sy 1 -n floor");
    const MeshGeometry floor = shown("floorShape");
    expectCounts(floor, {8, 10, 3, 8});
    EXPECT_EQ(floor.point(3), Vec3(2, 0, 1));
    EXPECT_EQ(floor.point(4), Vec3(-2, 0, -1));
}

TEST_F(PrimitiveTest, ACreatorNodeFeedsTheShapeAndReevaluatesWhenItsAttributesChange) {
    strings("polySphere -r 1.5");
    ehost::MeshShape& s = shape("pSphereShape1");
    ASSERT_TRUE(s.hasHistory());
    EXPECT_EQ(s.inputs.begin()->second.node, node("polySphere1"));
    EXPECT_EQ(result("getAttr polySphere1.radius"), "1.5");
    EXPECT_EQ(result("getAttr polySphere1.subdivisionsAxis"), "20");
    const Vec3 before = shown("pSphereShape1").point(7);
    ASSERT_TRUE(run("setAttr polySphere1.radius 3"));
    EXPECT_EQ(shown("pSphereShape1").point(7), before * 2.0);
    ASSERT_TRUE(run("setAttr polySphere1.subdivisionsHeight 4"));
    EXPECT_EQ(shown("pSphereShape1").numVertices(), 3 * 20 + 2);
    // Values below what a sphere needs are clamped, not obeyed.
    ASSERT_TRUE(run("setAttr polySphere1.subdivisionsAxis 1"));
    EXPECT_EQ(shown("pSphereShape1").numVertices(), 3 * 3 + 2);
}

TEST_F(PrimitiveTest, WithoutHistoryTheGeometryIsTheShapesOwn) {
    EXPECT_EQ(strings("polyCube -ch off"), std::vector<std::string>{"pCube1"});
    EXPECT_FALSE(shape("pCubeShape1").hasHistory());
    EXPECT_EQ(node("polyCube1"), nullptr);
    EXPECT_EQ(shown("pCubeShape1").numVertices(), 8);

    ASSERT_TRUE(run("constructionHistory -toggle off"));
    EXPECT_EQ(strings("polySphere -ch on"), std::vector<std::string>{"pSphere1"})
        << "the switch wins over -ch";
    EXPECT_FALSE(shape("pSphereShape1").hasHistory());
    EXPECT_EQ(shown("pSphereShape1").numVertices(), 382);
    ehost::setHistoryRecording(true);
}

TEST_F(PrimitiveTest, NamesFollowTheRequestAndNeverClash) {
    EXPECT_EQ(strings("polySphere -n ball")[0], "ball");
    EXPECT_EQ(strings("polySphere -n ball")[0], "ball1");
    EXPECT_NE(node("ballShape"), nullptr);
    EXPECT_NE(node("ballShape1"), nullptr);
    EXPECT_EQ(strings("polySphere")[0], "pSphere1");
    EXPECT_EQ(strings("polySphere"), (std::vector<std::string>{"pSphere2", "polySphere4"}));
    auto* shapeNode = dynamic_cast<ehost::DagNode*>(node("pSphereShape2"));
    ASSERT_NE(shapeNode, nullptr);
    EXPECT_EQ(shapeNode->fullPath(), "|pSphere2|pSphereShape2");
}

TEST_F(PrimitiveTest, TheNewObjectIsShadedAndSelected) {
    strings("polyPlane -n p");
    EXPECT_TRUE(inShadingGroup(shape("pShape")));
    const auto& sel = ehost::session().selection().items;
    ASSERT_EQ(sel.size(), 1u);
    EXPECT_EQ(sel[0].node.get(), node("p"));
}

TEST_F(PrimitiveTest, UndoRemovesEverythingAndRedoBringsTheSameNodesBack) {
    strings("polyCube -n box");
    const size_t before = nodeCount();
    strings("polySphere -sx 6 -sy 4");
    const MeshGeometry sphere = shown("pSphereShape1");
    ASSERT_TRUE(run("undo"));
    EXPECT_EQ(nodeCount(), before);
    EXPECT_EQ(node("pSphere1"), nullptr);
    EXPECT_EQ(node("polySphere1"), nullptr);
    ASSERT_EQ(ehost::session().selection().items.size(), 1u);
    EXPECT_EQ(ehost::session().selection().items[0].node.get(), node("box"))
        << "the selection comes back";
    ASSERT_TRUE(run("redo"));
    EXPECT_EQ(shown("pSphereShape1"), sphere);
    EXPECT_TRUE(shape("pSphereShape1").hasHistory());
    EXPECT_TRUE(inShadingGroup(shape("pSphereShape1")));
    ASSERT_TRUE(run("undo; undo"));
    EXPECT_EQ(nodeCount(), before - 3) << "box, its shape and its creator";
}

TEST_F(PrimitiveTest, BadParametersAreRefusedAndCreateNothing) {
    const size_t before = nodeCount();
    struct Case {
        const char* text;
        const char* error;
    };
    for (const Case& c :
         {Case{"polySphere -r -1", "polySphere: -radius must be a positive number"},
          Case{"polySphere -r 0", "polySphere: -radius must be a positive number"},
          Case{"polySphere -sx 2", "polySphere: -subdivisionsX must be between 3 and 4096"},
          Case{"polySphere -sy 1", "polySphere: -subdivisionsY must be between 2 and 4096"},
          Case{"polyCube -sz 0", "polyCube: -subdivisionsZ must be between 1 and 4096"},
          Case{"polyPlane -w inf", "polyPlane: -width must be a positive number"},
          Case{"polyPlane -sx 5000", "polyPlane: -subdivisionsX must be between 1 and 4096"},
          Case{"polyCube -bogus", "polyCube: Invalid flag: -bogus"}, Case{"polyCube -n 9lives", ""},
          Case{"polySphere -r", ""}}) {
        SCOPED_TRACE(c.text);
        EXPECT_FALSE(run(c.text));
        if (*c.error) {
            EXPECT_EQ(lastError(), c.error);
        }
        EXPECT_EQ(nodeCount(), before);
    }
    EXPECT_EQ(ehost::session().commands().undoQueue.undoable(), 0u);
}

}  // namespace
