// polyMergeVertex, polyBridgeEdge and polyAverageVertex as the product runs
// them: results, history consistency, undo and redo bit for bit, refusals.

#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "host/src/core/NumberText.h"
#include "host/src/dag/Dag.h"
#include "host/src/io/SceneFile.h"
#include "host/src/nodes/ObjectSet.h"
#include "host/src/nodes/PolyNodes.h"
#include "tests/host/test_modelling_fixture.h"

namespace {

using ehost::MeshGeometry;
using ehost::Vec3;

//! Everything an edit may change on a shape and around it.
struct ShapeState {
    MeshGeometry shown;
    size_t tweaks = 0;
    ehost::Node* input = nullptr;
    size_t nodes = 0;
    size_t queued = 0;
};

class EditTest : public ModellingTest {
protected:
    ShapeState state(const std::string& shapeName) {
        ehost::MeshShape& s = shape(shapeName);
        ShapeState st;
        st.shown = *s.output();
        st.tweaks = s.slot(s.cls->slotOf(ehost::meshAttributes().pnts.get())).elements.size();
        auto in = s.inputs.find({ehost::meshAttributes().inMesh.get(), -1});
        st.input = in == s.inputs.end() ? nullptr : in->second.node;
        st.nodes = nodeCount();
        st.queued = ehost::session().commands().undoQueue.undoable();
        return st;
    }
    void expectState(const std::string& shapeName, const ShapeState& expected) {
        ShapeState now = state(shapeName);
        EXPECT_TRUE(now.shown == expected.shown) << "the mesh differs";
        EXPECT_EQ(now.tweaks, expected.tweaks);
        EXPECT_EQ(now.input, expected.input);
        EXPECT_EQ(now.nodes, expected.nodes);
    }
    //! Runs an edit, then checks that undo restores and redo reproduces it exactly.
    void expectUndoRedoExact(const std::string& shapeName, const std::string& edit) {
        const ShapeState before = state(shapeName);
        ASSERT_TRUE(run(edit)) << lastError();
        const ShapeState after = state(shapeName);
        ASSERT_TRUE(run("undo"));
        expectState(shapeName, before);
        ASSERT_TRUE(run("redo"));
        expectState(shapeName, after);
        ASSERT_TRUE(run("undo; redo; undo"));
        expectState(shapeName, before);
        ASSERT_TRUE(run("redo"));
    }
    static std::string quoted(const std::string& path, const char* kind, int id) {
        return " \"" + path + "." + kind + "[" + std::to_string(id) + "]\"";
    }

    //! Two strips of three quads facing +Y, their facing borders z = 0 (A,
    //! vertices 0..3) and z = gap (B, vertices 8..11), as one mesh "m".
    ehost::MeshShape& twoStrips(double gap) {
        std::vector<Vec3> p;
        for (int i = 0; i < 4; ++i) p.push_back({double(i), 0, 0});
        for (int i = 0; i < 4; ++i) p.push_back({double(i), 0, -1});
        for (int i = 0; i < 4; ++i) p.push_back({double(i), 0, gap});
        for (int i = 0; i < 4; ++i) p.push_back({double(i), 0, gap + 1});
        std::vector<int> counts(6, 4), connects;
        for (int i = 0; i < 3; ++i) connects.insert(connects.end(), {i, i + 1, 5 + i, 4 + i});
        for (int i = 0; i < 3; ++i) connects.insert(connects.end(), {12 + i, 13 + i, 9 + i, 8 + i});
        return makeMesh("m", p, counts, connects);
    }
    static int edge(const MeshGeometry& m, int a, int b) { return m.findEdge(a, b); }
};

//! Every edge has at most two faces, and two faces walk it in opposite directions.
void expectManifoldAndConsistent(const MeshGeometry& m) {
    for (int e = 0; e < m.numEdges(); ++e) {
        auto faces = m.edgeFaces(e);
        ASSERT_LE(faces.size(), 2u) << "edge " << e;
        if (faces.size() < 2) continue;
        auto ends = m.edgeVertices(e);
        int forward = 0;
        for (int f : faces) {
            auto v = m.faceVertices(f);
            for (size_t k = 0; k < v.size(); ++k)
                if (v[k] == ends.first && v[(k + 1) % v.size()] == ends.second) ++forward;
        }
        EXPECT_EQ(forward, 1) << "edge " << e;
    }
}

// ---------------------------------------------------------------- polyMergeVertex

TEST_F(EditTest, MagnetMergeJoinsTwoVerticesWhateverTheirDistance) {
    strings("polyPlane -sx 2 -sy 2 -ch off -n m");
    const MeshGeometry before = shown("mShape");
    // The product's magnet text, with its lone dash.
    const std::string text = "polyMergeVertex -d 9999 - am 1 " + quoted("|m|mShape", "vtx", 0) +
                             quoted("|m|mShape", "vtx", 8);
    ASSERT_TRUE(run(text)) << lastError();
    const MeshGeometry m = shown("mShape");
    EXPECT_EQ(m.numVertices(), 8);
    EXPECT_EQ(m.numFaces(), 4);
    EXPECT_EQ(m.point(0), (before.point(0) + before.point(8)) * 0.5);
    EXPECT_EQ(m.point(7), before.point(7)) << "vertices before the removed one keep their ids";
    // -am joins exactly two vertices even far beyond the distance.
    ASSERT_TRUE(run("polyMergeVertex -d 0.001 -am 1 m.vtx[1] m.vtx[6]"));
    EXPECT_EQ(shown("mShape").numVertices(), 7);
    ASSERT_TRUE(run("polyMergeVertex -d 0.001 m.vtx[2] m.vtx[5]"));
    EXPECT_EQ(shown("mShape").numVertices(), 7) << "without -am the distance decides";
}

TEST_F(EditTest, MergingNeighboursCollapsesTheirEdgeAndRemovesDegenerateFaces) {
    std::vector<Vec3> p{{0, 0, 0}, {1, 0, 0}, {0, 0, -1}, {1, 0, -1},
                        {2, 0, 0}, {3, 0, 0}, {3, 0, -1}};
    makeMesh("m", p, {4, 3, 3}, {0, 1, 3, 2, 1, 4, 3, 4, 5, 6});
    const MeshGeometry before = shown("mShape");
    ASSERT_TRUE(run("polyMergeVertex -am 1 m.vtx[1] m.vtx[3]"));
    MeshGeometry m = shown("mShape");
    EXPECT_EQ(m.numVertices(), 6);
    ASSERT_EQ(m.numFaces(), 2) << "the first triangle lost a corner and went";
    EXPECT_EQ(std::vector<int>(m.faceVertices(0).begin(), m.faceVertices(0).end()),
              (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(m.point(1), Vec3(1, 0, -0.5));
    EXPECT_EQ(m.point(3), before.point(4)) << "later vertices move down";
}

TEST_F(EditTest, WeldingMergesOnlyThePairsWithinTheDistance) {
    twoStrips(0.005);
    const std::string path = "|m|mShape";
    // The product's weld: move each player vertex and its partner onto one
    // point, then merge them with a 0.01 distance.
    std::string weld;
    for (int i = 0; i < 4; ++i) {
        const std::string x = ehost::shortestText(i + 0.001), z = ehost::shortestText(0.0025);
        weld += "move -a " + x + " 0 " + z + " " + path + ".vtx[" + std::to_string(i) + "];";
        weld += "move -a " + x + " 0 " + z + " " + path + ".vtx[" + std::to_string(8 + i) + "];";
    }
    weld += "polyMergeVertex -am 1 -d 0.01 ";
    for (int i = 0; i < 4; ++i)
        weld += path + ".vtx[" + std::to_string(i) + "] " + path + ".vtx[" + std::to_string(8 + i) +
                "] ";
    ASSERT_TRUE(run(weld)) << lastError();
    const MeshGeometry m = shown("mShape");
    EXPECT_EQ(m.numVertices(), 12);
    EXPECT_EQ(m.numFaces(), 6);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(m.point(i), Vec3(i + 0.001, 0, 0.0025));
    expectManifoldAndConsistent(m);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(m.edgeFaces(m.findEdge(i, i + 1)).size(), 2u) << "the strips are joined";
}

TEST_F(EditTest, TheDistanceKeepsApartVerticesThatAreNotClose) {
    twoStrips(0.005);
    ASSERT_TRUE(run("polyMergeVertex -d 0.01 m.vtx[0:3] m.vtx[8:11] m.vtx[15]"));
    const MeshGeometry m = shown("mShape");
    EXPECT_EQ(m.numVertices(), 12) << "four pairs 0.005 apart; the rows' own vertices are 1 apart";
    EXPECT_EQ(m.point(0), Vec3(0, 0, 0.0025));
    EXPECT_EQ(m.point(11), Vec3(3, 0, 0.005 + 1)) << "vtx[15] is alone and stays";
}

// ---------------------------------------------------------------- polyBridgeEdge

TEST_F(EditTest, BridgingTwoThreeEdgeChainsAddsOneRowOfConsistentQuads) {
    twoStrips(2);
    const MeshGeometry before = shown("mShape");
    std::string text = "polyBridgeEdge -divisions 0 -direction 0";
    for (int i = 0; i < 3; ++i)
        text += quoted("|m|mShape", "e", edge(before, i, i + 1)) +
                quoted("|m|mShape", "e", edge(before, 8 + i, 9 + i));
    ASSERT_TRUE(run(text)) << lastError();
    const MeshGeometry m = shown("mShape");
    EXPECT_EQ(m.numVertices(), 16);
    ASSERT_EQ(m.numFaces(), 9);
    for (int f = 6; f < 9; ++f) {
        EXPECT_EQ(m.polygonVertexCount(f), 4);
        EXPECT_EQ(m.faceNormal(f), Vec3(0, 1, 0)) << "wound like its neighbours";
        std::vector<int> v(m.faceVertices(f).begin(), m.faceVertices(f).end());
        std::sort(v.begin(), v.end());
        const int i = f - 6;
        EXPECT_EQ(v, (std::vector<int>{i, i + 1, 8 + i, 9 + i}));
    }
    expectManifoldAndConsistent(m);
}

TEST_F(EditTest, DivisionsAddRowsOfVerticesEvenlyBetweenTheChains) {
    twoStrips(3);
    const MeshGeometry before = shown("mShape");
    // The second chain listed backwards still pairs vertex with vertex.
    std::string text = "polyBridgeEdge -divisions 2";
    for (int i = 0; i < 3; ++i)
        text += quoted("m", "e", edge(before, i, i + 1)) +
                quoted("m", "e", edge(before, 10 - i, 11 - i));
    ASSERT_TRUE(run(text)) << lastError();
    const MeshGeometry m = shown("mShape");
    EXPECT_EQ(m.numVertices(), 16 + 8);
    EXPECT_EQ(m.numFaces(), 6 + 9);
    for (int k = 0; k < 2; ++k)
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(m.point(16 + 4 * k + i), Vec3(i, 0, k + 1.0)) << k << " " << i;
    for (int f = 6; f < m.numFaces(); ++f) EXPECT_EQ(m.faceNormal(f), Vec3(0, 1, 0));
    expectManifoldAndConsistent(m);
    EXPECT_EQ(m.numUVs(), 0);
}

TEST_F(EditTest, ChainsThatShareAnEndAreReadAsPairs) {
    // Two strips meeting at the origin: one along +X, one along +Z.
    std::vector<Vec3> p{{0, 0, 0}, {1, 0, 0}, {2, 0, 0},  {0, 0, -1}, {1, 0, -1}, {2, 0, -1},
                        {0, 0, 1}, {0, 0, 2}, {-1, 0, 0}, {-1, 0, 1}, {-1, 0, 2}};
    makeMesh("m", p, {4, 4, 4, 4}, {0, 1, 4, 3, 1, 2, 5, 4, 0, 8, 9, 6, 6, 9, 10, 7});
    const MeshGeometry before = shown("mShape");
    std::string text = "polyBridgeEdge -divisions 0 -direction 0" +
                       quoted("m", "e", edge(before, 0, 1)) + quoted("m", "e", edge(before, 0, 6)) +
                       quoted("m", "e", edge(before, 1, 2)) + quoted("m", "e", edge(before, 6, 7));
    ASSERT_TRUE(run(text)) << lastError();
    const MeshGeometry m = shown("mShape");
    ASSERT_EQ(m.numFaces(), 6);
    EXPECT_EQ(m.polygonVertexCount(4), 3) << "where the chains meet the quad has nothing to span";
    EXPECT_EQ(m.polygonVertexCount(5), 4);
    for (int f = 4; f < 6; ++f) EXPECT_EQ(m.faceNormal(f), Vec3(0, 1, 0));
    expectManifoldAndConsistent(m);
}

TEST_F(EditTest, BadBridgesAreRefused) {
    twoStrips(2);
    const MeshGeometry m = shown("mShape");
    const ShapeState before = state("mShape");
    const std::string a0 = quoted("m", "e", edge(m, 0, 1)), a1 = quoted("m", "e", edge(m, 1, 2)),
                      b0 = quoted("m", "e", edge(m, 8, 9)), inner = quoted("m", "e", edge(m, 1, 5));
    struct Case {
        std::string text, error;
    };
    for (const Case& c :
         {Case{"polyBridgeEdge" + a0 + inner, "polyBridgeEdge: mShape: e[" +
                                                  std::to_string(edge(m, 1, 5)) +
                                                  "] is not a border edge"},
          Case{"polyBridgeEdge" + a0 + a1 + b0,
               "polyBridgeEdge: mShape: the chains have 2 and 1 edges: a bridge needs as many on "
               "both sides"},
          Case{"polyBridgeEdge" + a0,
               "polyBridgeEdge: mShape: the edges do not form two chains of border edges"},
          Case{"polyBridgeEdge -direction 1" + a0 + b0,
               "polyBridgeEdge: only -direction 0 (pairing by the shortest bridge) is supported"},
          Case{"polyBridgeEdge -divisions -1" + a0 + b0,
               "polyBridgeEdge: -divisions must be between 0 and 4096"},
          Case{"polyBridgeEdge m.vtx[0]" + b0,
               "polyBridgeEdge: mShape: a bridge is made between edges only"},
          Case{"polyBridgeEdge m", "polyBridgeEdge: mShape: name the border edges to bridge"}}) {
        SCOPED_TRACE(c.text);
        EXPECT_FALSE(run(c.text));
        EXPECT_EQ(lastError(), c.error);
        expectState("mShape", before);
    }
}

// ---------------------------------------------------------------- polyAverageVertex

TEST_F(EditTest, AveragingFlattensABumpAndKeepsTheBorder) {
    for (const char* history : {"on", "off"}) {
        SCOPED_TRACE(history);
        strings(std::string("polyPlane -sx 4 -sy 4 -n p -ch ") + history);
        ASSERT_TRUE(run("move 0 1 0 p.vtx[12]; move 0.1 0 0 p.vtx[2]"));
        const MeshGeometry bumpy = shown("pShape");
        std::string text = "polyAverageVertex - i 1";
        for (int f = 0; f < 16; ++f) text += quoted("|p|pShape", "f", f);
        ASSERT_TRUE(run(text)) << lastError();
        const MeshGeometry m = shown("pShape");
        EXPECT_EQ(m.point(12).y, 0) << "the peak takes its flat neighbours' height";
        EXPECT_EQ(m.point(7).y, 0.25);
        for (int v = 0; v < 25; ++v) EXPECT_LE(m.point(v).y, 0.25);
        // Border vertices stay on their border line; corners stay put.
        for (int v : {0, 4, 20, 24}) EXPECT_EQ(m.point(v), bumpy.point(v)) << v;
        EXPECT_EQ(m.point(2).z, 0.5);
        EXPECT_EQ(m.point(2).y, 0);
        EXPECT_EQ(m.point(2).x, 0) << "slid back between its border neighbours";
        for (int v : {5, 9, 15, 19})
            EXPECT_EQ(m.point(v), bumpy.point(v)) << "evenly spaced border vertices stay";
        EXPECT_EQ(m.numFaces(), 16);
        ASSERT_TRUE(run("delete p"));
    }
}

TEST_F(EditTest, MoreIterationsSmoothFurther) {
    strings("polyPlane -sx 6 -sy 6 -n p");
    ASSERT_TRUE(run("move 0 1 0 p.vtx[24]"));
    ASSERT_TRUE(run("polyAverageVertex -i 1 p.vtx[*]"));
    const double once = shown("pShape").point(24).y;
    ASSERT_TRUE(run("undo; polyAverageVertex -iterations 5 p"));
    double highest = 0;
    const MeshGeometry m = shown("pShape");
    for (int v = 0; v < m.numVertices(); ++v) highest = std::max(highest, m.point(v).y);
    EXPECT_LT(highest, 0.25);
    EXPECT_EQ(once, 0);
    EXPECT_EQ(result("getAttr polyAverageVertex1.iterations"), "5")
        << "the undone node's name is free again";
}

// ---------------------------------------------------------------- history

TEST_F(EditTest, OnAMeshWithHistoryTheEditIsANodeThatSurvivesReevaluation) {
    strings("polyPlane -sx 2 -sy 2 -n p");
    ASSERT_TRUE(run("move 0 0.5 0 p.vtx[4]"));
    const MeshGeometry tweaked = shown("pShape");
    EXPECT_EQ(strings("polyMergeVertex -am 1 p.vtx[0] p.vtx[1]"),
              std::vector<std::string>{"polyMergeVert1"});
    // polyPlane1 -> polyTweak1 (the shape's tweaks) -> polyMergeVert1 -> pShape.
    ehost::MeshShape& s = shape("pShape");
    auto in = s.inputs.find({ehost::meshAttributes().inMesh.get(), -1});
    ASSERT_NE(in, s.inputs.end());
    EXPECT_EQ(in->second.node, node("polyMergeVert1"));
    ehost::Node* merge = node("polyMergeVert1");
    const auto& ip = ehost::polyModifierAttributes().inputPolymesh;
    EXPECT_EQ(merge->inputs.at({ip.get(), -1}).node, node("polyTweak1"));
    EXPECT_EQ(node("polyTweak1")->inputs.begin()->second.node, node("polyPlane1"));
    EXPECT_EQ(s.slot(s.cls->slotOf(ehost::meshAttributes().pnts.get())).elements.size(), 0u);
    EXPECT_EQ(result("getAttr polyMergeVert1.inputComponents"), "vtx[0:1]");
    EXPECT_EQ(result("getAttr polyMergeVert1.alwaysMergeTwoVertices"), "1");

    const MeshGeometry merged = shown("pShape");
    EXPECT_EQ(merged.numVertices(), 8);
    EXPECT_EQ(merged.point(3), tweaked.point(4)) << "the tweak was applied before the merge";
    // New input: the merge and the tweak are redone on it.
    ASSERT_TRUE(run("setAttr polyPlane1.width 2"));
    const MeshGeometry wide = shown("pShape");
    EXPECT_EQ(wide.numVertices(), 8);
    EXPECT_EQ(wide.point(0), Vec3(-0.5, 0, 0.5));
    EXPECT_EQ(wide.point(3), Vec3(0, 0.5, 0));
}

TEST_F(EditTest, EveryEditUndoesAndRedoesBitForBit) {
    for (const char* history : {"on", "off"}) {
        SCOPED_TRACE(history);
        strings(std::string("polyPlane -sx 3 -sy 3 -n p -ch ") + history);
        ASSERT_TRUE(run("move 0 0.25 0 p.vtx[5]"));
        expectUndoRedoExact("pShape", "polyMergeVertex -am 1 p.vtx[0] p.vtx[1]");
        expectUndoRedoExact("pShape", "polyAverageVertex -i 2 p.f[0:3]");
        expectUndoRedoExact("pShape", "polyMergeVertex -d 10 p.vtx[*]");
        ASSERT_TRUE(run("delete p"));
    }
    twoStrips(2);
    const MeshGeometry m = shown("mShape");
    expectUndoRedoExact("mShape", "polyBridgeEdge -dv 3" + quoted("m", "e", edge(m, 0, 1)) +
                                      quoted("m", "e", edge(m, 8, 9)));
}

TEST_F(EditTest, UndoingAHistoryEditRemovesItsNodesAndRestoresTheTweaks) {
    strings("polySphere -sx 6 -sy 4 -n s");
    ASSERT_TRUE(run("move 0 1 0 s.vtx[3]"));
    const ShapeState before = state("sShape");
    ASSERT_TRUE(run("polyAverageVertex s.vtx[2:4]"));
    EXPECT_NE(node("polyAverageVertex1"), nullptr);
    EXPECT_NE(node("polyTweak1"), nullptr);
    ASSERT_TRUE(run("undo"));
    expectState("sShape", before);
    EXPECT_EQ(node("polyAverageVertex1"), nullptr);
    EXPECT_EQ(node("polyTweak1"), nullptr);
    ASSERT_TRUE(run("setAttr polySphere1.radius 2"));
    EXPECT_NEAR(shown("sShape").point(3).y - 2 * (before.shown.point(3).y - 1), 1, 1e-12)
        << "the restored tweak still rides on the history";
}

TEST_F(EditTest, BadEditsChangeNothing) {
    strings("polyPlane -sx 2 -sy 2 -n p");
    ASSERT_TRUE(run("createNode objectSet -n someSet; move 0 1 0 p.vtx[4]"));
    const ShapeState before = state("pShape");
    struct Case {
        const char* text;
        const char* error;
    };
    for (const Case& c :
         {Case{"polyMergeVertex -d 0.1 p.vtx[999]",
               "polyMergeVertex: p.vtx[999]: component index 999 is out of range (9 elements)"},
          Case{"polyMergeVertex -d -1 p.vtx[0:1]",
               "polyMergeVertex: -distance must be a finite number of at least 0"},
          Case{"polyMergeVertex someSet", "polyMergeVertex: someSet is not a polygon mesh"},
          Case{"polyMergeVertex -bogus p.vtx[0]", "polyMergeVertex: Invalid flag: -bogus"},
          Case{"polyAverageVertex -i -2 p.f[0]",
               "polyAverageVertex: -iterations must be between 0 and 10000"},
          Case{"polyAverageVertex -i p.f[0]", ""},
          Case{"polyAverageVertex p.f[4]",
               "polyAverageVertex: p.f[4]: component index 4 is out of range (4 elements)"},
          Case{"select -cl; polyAverageVertex",
               "polyAverageVertex: nothing to edit: name mesh components or select them"}}) {
        SCOPED_TRACE(c.text);
        EXPECT_FALSE(run(c.text));
        if (*c.error) {
            EXPECT_EQ(lastError(), c.error);
        }
        expectState("pShape", before);
    }
}

TEST_F(EditTest, EditsFollowTheSelectionAndEachMeshGetsItsOwnNode) {
    strings("polyPlane -sx 2 -sy 2 -n a");
    strings("polyPlane -sx 2 -sy 2 -n b -ch off");
    strings("polyPlane -sx 2 -sy 2 -n c");
    ASSERT_TRUE(run("select -r a.vtx[0:1] b.vtx[0:1] c.vtx[0:1]"));
    EXPECT_EQ(strings("polyMergeVertex -am 1"),
              (std::vector<std::string>{"polyMergeVert1", "polyMergeVert2"}))
        << "b has no history: it is edited directly";
    for (const char* s : {"aShape", "bShape", "cShape"}) EXPECT_EQ(shown(s).numVertices(), 8) << s;
    ASSERT_TRUE(run("undo"));
    for (const char* s : {"aShape", "bShape", "cShape"}) EXPECT_EQ(shown(s).numVertices(), 9) << s;
}

TEST_F(EditTest, ASelectionHoldingComponentsAnEditTookAwayIsRefused) {
    strings("polyPlane -sx 2 -sy 2 -n p -ch off");
    ASSERT_TRUE(run("select -r p.vtx[8]; polyMergeVertex -am 1 p.vtx[0] p.vtx[1]"));
    const MeshGeometry merged = shown("pShape");
    ASSERT_EQ(merged.numVertices(), 8);
    EXPECT_FALSE(run("move 0 1 0"));
    EXPECT_EQ(lastError(), "move: pShape: vtx[8] does not exist (8 elements)");
    EXPECT_FALSE(run("polyAverageVertex"));
    EXPECT_EQ(lastError(), "polyAverageVertex: pShape: vtx[8] does not exist (8 elements)");
    EXPECT_EQ(shown("pShape"), merged);
}

TEST_F(EditTest, HistoryWithEditsIsSavedAndReadBackExactly) {
    strings("polySphere -sx 8 -sy 6 -n s");
    ASSERT_TRUE(
        run("move 0 0.5 0 s.vtx[9]; polyMergeVertex -am 1 s.vtx[0] s.vtx[1]; polyAverageVertex -i "
            "2 s.f[3:9]"));
    const MeshGeometry edited = shown("sShape");
    namespace fs = std::filesystem;
    const fs::path file =
        fs::temp_directory_path() / ("tessark-modelling-" + std::to_string(::getpid()) + ".tsk");
    std::string error;
    ASSERT_TRUE(ehost::saveScene(file.string(), &error)) << error;
    ehost::session().newScene();
    ASSERT_TRUE(ehost::openScene(file.string(), &error)) << error;
    fs::remove(file);
    EXPECT_EQ(shown("sShape"), edited);
    ASSERT_NE(node("polyAverageVertex1"), nullptr);
    // The history still works after reading: a new radius redoes every edit.
    ASSERT_TRUE(run("setAttr polySphere1.radius 2"));
    EXPECT_EQ(shown("sShape").numVertices(), edited.numVertices());
    EXPECT_NE(shown("sShape").point(20), edited.point(20));
}

// ---------------------------------------------------------------- polyEvaluate and sets

TEST_F(EditTest, PolyEvaluateCountsTheShownMesh) {
    strings("polyCube");
    strings("polySphere");
    EXPECT_EQ(integer("polyEvaluate -v pCube1"), 8);
    EXPECT_EQ(integer("polyEvaluate -edge pCubeShape1"), 12);
    EXPECT_EQ(integer("polyEvaluate -f pSphere1"), 400);
    EXPECT_EQ(integer("polyEvaluate -triangle pSphere1"), 760);
    EXPECT_EQ(integer("polyEvaluate -uv pCube1"), 14);
    EXPECT_EQ(integer("polyEvaluate -v pCube1 pSphere1"), 390) << "counts add up over objects";
    EXPECT_EQ(strings("polyEvaluate -v -f pCube1"),
              (std::vector<std::string>{"vertex=8", "face=6"}));
    ASSERT_TRUE(run("select -r pCube1"));
    EXPECT_EQ(integer("polyEvaluate -face"), 6);
    ASSERT_TRUE(run("polyMergeVertex -am 1 pCube1.vtx[0] pCube1.vtx[1]"));
    EXPECT_EQ(integer("polyEvaluate -v pCube1"), 7);
    EXPECT_FALSE(run("polyEvaluate -v initialShadingGroup"));
    EXPECT_EQ(lastError(), "polyEvaluate: initialShadingGroup is not a polygon mesh");
}

TEST_F(EditTest, SetsMakeSetsAndForceShadingGroupMembership) {
    strings("polyCube -n c");
    EXPECT_EQ(result("sets -n mine c"), "mine");
    EXPECT_EQ(result("sets -em"), "set1");
    ASSERT_TRUE(run("createNode mesh -n kvMeshShape; createNode shadingEngine -n redSG"));
    auto members = [&](const char* set) {
        std::vector<std::string> out;
        for (ehost::Node* n : ehost::setMembers(*node(set))) out.push_back(n->name);
        return out;
    };
    EXPECT_EQ(members("mine"), std::vector<std::string>{"c"});
    EXPECT_TRUE(members("set1").empty());
    const std::string path = dynamic_cast<ehost::DagNode*>(node("kvMeshShape"))->fullPath();
    ASSERT_TRUE(run("sets -e -forceElement redSG " + path));
    ASSERT_TRUE(run("sets -e -forceElement \"initialShadingGroup\" " + path));
    EXPECT_TRUE(members("redSG").empty()) << "a shape is in one shading group at a time";
    auto initial = members("initialShadingGroup");
    EXPECT_NE(std::find(initial.begin(), initial.end(), "kvMeshShape"), initial.end());
    ASSERT_TRUE(run("undo"));
    EXPECT_EQ(members("redSG"), std::vector<std::string>{"kvMeshShape"});
    initial = members("initialShadingGroup");
    EXPECT_EQ(std::find(initial.begin(), initial.end(), "kvMeshShape"), initial.end());
    ASSERT_TRUE(run("redo"));
    EXPECT_TRUE(members("redSG").empty());
    ASSERT_TRUE(run("sets -add mine cShape"));
    EXPECT_EQ(members("mine"), (std::vector<std::string>{"c", "cShape"}));
    ASSERT_TRUE(run("undo; undo; undo; undo; undo; undo; undo"));
    EXPECT_EQ(node("mine"), nullptr) << "back to before the set was made";
    EXPECT_EQ(node("kvMeshShape"), nullptr);
    EXPECT_FALSE(run("sets -e -forceElement noSuchSG c"));
    EXPECT_EQ(lastError(), "sets: No object set matches name: noSuchSG");
    EXPECT_FALSE(run("sets -e c"));
    EXPECT_FALSE(run("sets -n bad c.vtx[0]"));
}

}  // namespace
