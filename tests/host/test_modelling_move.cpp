// move and pointPosition: exact world-space positions, history, undo.

#include <cmath>

#include "host/src/core/NumberText.h"
#include "tests/host/test_modelling_fixture.h"

namespace {

using ehost::MeshGeometry;
using ehost::Vec3;

class MoveTest : public ModellingTest {
protected:
    Vec3 world(const std::string& point) {
        auto p = numbers("pointPosition -w " + point);
        return p.size() == 3 ? Vec3(p[0], p[1], p[2]) : Vec3();
    }
    Vec3 local(const std::string& point) {
        auto p = numbers("pointPosition -l " + point);
        return p.size() == 3 ? Vec3(p[0], p[1], p[2]) : Vec3();
    }
    //! The product's text: one "move -absolute" item per vertex.
    static std::string absoluteMoves(const std::string& path,
                                     const std::vector<std::pair<int, Vec3>>& moves) {
        std::string text;
        for (const auto& [v, p] : moves)
            text += "move -absolute " + ehost::shortestText(p.x) + " " + ehost::shortestText(p.y) +
                    " " + ehost::shortestText(p.z) + " " + path + ".vtx[" + std::to_string(v) +
                    "]; ";
        return text;
    }
    size_t tweakCount(const std::string& shapeName) {
        ehost::MeshShape& s = shape(shapeName);
        return s.slot(s.cls->slotOf(ehost::meshAttributes().pnts.get())).elements.size();
    }
};

TEST_F(MoveTest, AbsoluteMovesPutVerticesExactlyAtWorldPositions) {
    strings("polyPlane -sx 2 -sy 2 -ch off -n m");
    const Vec3 untouched = local("m.vtx[8]");
    ASSERT_TRUE(run("move -absolute 0.3 0.7 -0.1 \"|m|mShape.vtx[4]\""));
    EXPECT_EQ(world("|m|mShape.vtx[4]"), Vec3(0.3, 0.7, -0.1));
    ASSERT_TRUE(run("move -a 1e-300 -123456.789 0.1 m.vtx[0]"));
    EXPECT_EQ(world("m.vtx[0]"), Vec3(1e-300, -123456.789, 0.1));
    EXPECT_EQ(local("m.vtx[8]"), untouched) << "other vertices stay";
}

TEST_F(MoveTest, WithHistoryAbsoluteMovesAreExactToTheTweaksResolution) {
    strings("polyPlane -sx 2 -sy 2 -n m");
    // A tweak is added to the input point, so the sum lands on the grid of
    // doubles as fine as the larger of the two.
    ASSERT_TRUE(run("move -a 0.25 -123456.789 0.375 m.vtx[0]"));
    EXPECT_EQ(world("m.vtx[0]"), Vec3(0.25, -123456.789, 0.375))
        << "reachable targets are hit exactly";
    ASSERT_TRUE(run("move -a 0.1 0.2 0.1 m.vtx[2]"));
    const Vec3 p = world("m.vtx[2]");
    EXPECT_NEAR(p.x, 0.1, 1e-16);
    EXPECT_EQ(p.y, 0.2) << "the input point is 0: the tweak is the target";
    EXPECT_NEAR(p.z, 0.1, 1e-16);
}

TEST_F(MoveTest, UnderAMovedObjectPositionsLandOnTheNearestReachablePoint) {
    strings("polyPlane -sx 2 -sy 2 -ch off -n m");
    ASSERT_TRUE(run("setAttr m.translate 2.5 -1.25 10; setAttr m.scale 2 0.5 4"));
    // Where object space can reach the target exactly, it does.
    ASSERT_TRUE(run("move -a 1.5 2.25 3.125 m.vtx[1]"));
    EXPECT_EQ(world("m.vtx[1]"), Vec3(1.5, 2.25, 3.125));
    EXPECT_EQ(local("m.vtx[1]"), Vec3(-0.5, 7, -1.71875));
    // Object-space doubles near the translation are coarser than those near
    // these targets: the nearest reachable point is within their spacing.
    ASSERT_TRUE(run("move -absolute 0.3 0.7 -0.1 \"|m|mShape.vtx[4]\""));
    const Vec3 p = world("m.vtx[4]");
    EXPECT_NEAR(p.x, 0.3, 1e-15);
    EXPECT_NEAR(p.y, 0.7, 1e-15);
    EXPECT_NEAR(p.z, -0.1, 4e-15);
    // Rotation mixes the coordinates: the refined inverse lands within rounding.
    ASSERT_TRUE(run("setAttr m.rotate 30 45 60"));
    ASSERT_TRUE(run("move -a 1 2 3 m.vtx[0]"));
    const Vec3 r = world("m.vtx[0]");
    EXPECT_NEAR(r.x, 1, 1e-14);
    EXPECT_NEAR(r.y, 2, 1e-14);
    EXPECT_NEAR(r.z, 3, 1e-14);
}

TEST_F(MoveTest, MovesOnAMeshWithHistoryAreTweaksThatSurviveReevaluation) {
    strings("polySphere -n s");
    ASSERT_TRUE(run("setAttr s.translate 1 2 3"));
    const Vec3 before = local("s.vtx[5]");
    ASSERT_TRUE(run("move -absolute 1.5 2.25 3.125 \"|s|sShape.vtx[5]\""));
    EXPECT_EQ(world("s.vtx[5]"), Vec3(1.5, 2.25, 3.125));
    EXPECT_EQ(tweakCount("sShape"), 1u);
    ASSERT_TRUE(shape("sShape").hasHistory());
    const Vec3 tweak = local("s.vtx[5]") - before;
    // The tweak stays relative to what the history makes, as in the host.
    ASSERT_TRUE(run("setAttr polySphere1.radius 2"));
    const Vec3 after = local("s.vtx[5]");
    EXPECT_NEAR(after.x, 2 * before.x + tweak.x, 1e-12);
    EXPECT_NEAR(after.y, 2 * before.y + tweak.y, 1e-12);
    EXPECT_NEAR(after.z, 2 * before.z + tweak.z, 1e-12);
    EXPECT_EQ(shown("sShape").numVertices(), 382);
}

TEST_F(MoveTest, RelativeIsTheDefaultAndObjectSpaceIgnoresTheTransform) {
    strings("polyCube -n c");
    ASSERT_TRUE(run("setAttr c.scale 2 2 2"));
    const Vec3 start = world("c.vtx[0]");
    ASSERT_TRUE(run("move 0 1 0 c.vtx[0]"));
    EXPECT_EQ(world("c.vtx[0]"), start + Vec3(0, 1, 0));
    ASSERT_TRUE(run("move -r -os 0 1 0 c.vtx[0]"));
    EXPECT_EQ(world("c.vtx[0]"), start + Vec3(0, 3, 0)) << "one object unit is two world units";
    ASSERT_TRUE(run("move -a -os 0 0 0 c.vtx[1]"));
    EXPECT_EQ(world("c.vtx[1]"), Vec3(0, 0, 0));
    ASSERT_TRUE(run("move -a -os 1 1 1 c.vtx[2]"));
    EXPECT_EQ(world("c.vtx[2]"), Vec3(2, 2, 2));
}

TEST_F(MoveTest, ComponentsThroughEdgesFacesRangesAndTheSelection) {
    strings("polyPlane -sx 2 -sy 2 -ch off -n p");
    const MeshGeometry before = shown("pShape");
    ASSERT_TRUE(run("move 0 1 0 p.f[0]"));
    MeshGeometry m = shown("pShape");
    for (int v : {0, 1, 3, 4}) EXPECT_EQ(m.point(v), before.point(v) + Vec3(0, 1, 0)) << v;
    EXPECT_EQ(m.point(2), before.point(2));
    ASSERT_TRUE(run("move -a 0 5 0 p.e[0] p.vtx[0:1]")) << "repeated vertices move once";
    m = shown("pShape");
    EXPECT_EQ(m.point(0).y, 5);
    EXPECT_EQ(m.point(1).y, 5);
    ASSERT_TRUE(run("select -r p.vtx[8]; move 0 0 1"));
    EXPECT_EQ(shown("pShape").point(8), before.point(8) + Vec3(0, 0, 1));
}

TEST_F(MoveTest, TransformsMoveTheirTranslationInTheirParentsSpace) {
    ASSERT_TRUE(
        run("createNode transform -n parent; setAttr parent.translate 10 0 0; setAttr parent.scale "
            "2 2 2"));
    strings("polyCube -n c");
    ASSERT_TRUE(run("createNode transform -n child -p parent"));
    ASSERT_TRUE(run("move -a 1 2 3 c"));
    EXPECT_EQ(result("getAttr c.translate"), "1 2 3");
    ASSERT_TRUE(run("move 1 0 0 cShape")) << "a shape moves its transform";
    EXPECT_EQ(result("getAttr c.translate"), "2 2 3");
    ASSERT_TRUE(run("move -a 12 4 0 child"));
    EXPECT_EQ(result("getAttr child.translate"), "1 2 0");
    EXPECT_EQ(numbers("pointPosition -w child"), (std::vector<double>{12, 4, 0}));
    ASSERT_TRUE(run("move -ws 2 0 0 child"));
    EXPECT_EQ(result("getAttr child.translate"), "2 2 0");
    ASSERT_TRUE(run("move -os 2 0 0 child"));
    EXPECT_EQ(result("getAttr child.translate"), "4 2 0");
    ASSERT_TRUE(run("undo; undo; undo"));
    EXPECT_EQ(result("getAttr child.translate"), "0 0 0");
}

TEST_F(MoveTest, UndoAndRedoRestoreTheMeshBitForBit) {
    struct Case {
        const char* setUp;
        const char* shape;
    };
    for (const Case& c : {Case{"polySphere -sx 8 -sy 6 -n s", "sShape"},
                          Case{"polySphere -sx 8 -sy 6 -ch off -n s", "sShape"}}) {
        SCOPED_TRACE(c.setUp);
        strings(c.setUp);
        ASSERT_TRUE(run("setAttr s.rotate 10 20 30; move -r 0.1 0 0 s.vtx[3]"));
        const MeshGeometry original = shown(c.shape);
        const size_t tweaks = tweakCount(c.shape);
        ASSERT_TRUE(run("move -a 0.123456789 -7.5 1e-3 s.vtx[3] s.vtx[7] s.vtx[12:14]"));
        const MeshGeometry moved = shown(c.shape);
        EXPECT_FALSE(moved == original);
        ASSERT_TRUE(run("undo"));
        EXPECT_EQ(shown(c.shape), original);
        EXPECT_EQ(tweakCount(c.shape), tweaks) << "no tweak is left behind";
        ASSERT_TRUE(run("redo"));
        EXPECT_EQ(shown(c.shape), moved);
        ASSERT_TRUE(run("undo; undo"));
        EXPECT_EQ(tweakCount(c.shape), 0u);
        ASSERT_TRUE(run("delete s"));
    }
}

TEST_F(MoveTest, OwnGeometryWithTweaksIsBakedAndUndoneWhole) {
    strings("polyPlane -sx 2 -sy 2 -n p");
    ASSERT_TRUE(run("move 0 1 0 p.vtx[4]; delete -ch pShape"));
    ASSERT_TRUE(run("setAttr pShape.pnts[2].pntx 0.5"));
    ASSERT_FALSE(shape("pShape").hasHistory());
    const MeshGeometry original = shown("pShape");
    ASSERT_TRUE(run("move -a 0 0 0 p.vtx[0]"));
    const MeshGeometry moved = shown("pShape");
    EXPECT_EQ(moved.point(0), Vec3(0, 0, 0));
    EXPECT_EQ(moved.point(2), original.point(2)) << "the tweak is kept in the baked geometry";
    ASSERT_TRUE(run("undo"));
    EXPECT_EQ(shown("pShape"), original);
    EXPECT_EQ(result("getAttr pShape.pnts[2].pntx"), "0.5");
    ASSERT_TRUE(run("redo"));
    EXPECT_EQ(shown("pShape"), moved);
}

TEST_F(MoveTest, TheProductsMoveTextsRunAsOneScript) {
    strings("polyPlane -sx 10 -sy 10 -n m");
    std::vector<std::pair<int, Vec3>> moves;
    for (int v = 0; v < 121; v += 3)
        moves.push_back({v, Vec3(v * 0.1, std::sin(v), 1.0 / (v + 1))});
    ASSERT_TRUE(run(absoluteMoves("|m|mShape", moves))) << lastError();
    for (const auto& [v, p] : moves) {
        const Vec3 q = world("m.vtx[" + std::to_string(v) + "]");
        EXPECT_NEAR(q.x, p.x, 4e-16) << v;
        EXPECT_NEAR(q.y, p.y, 4e-16) << v;
        EXPECT_NEAR(q.z, p.z, 4e-16) << v;
    }
    // "move -a" items with a blank inside the brackets and quoted names.
    ASSERT_TRUE(run("move -a 1 2 3 \"|m|mShape.vtx[ 7]\" ;move -a 4 5 6 \"|m|mShape.vtx[ 8]\" ;"));
    EXPECT_EQ(world("m.vtx[7]"), Vec3(1, 2, 3));
    EXPECT_EQ(world("m.vtx[8]"), Vec3(4, 5, 6));
    EXPECT_EQ(ehost::session().commands().undoQueue.undoable(), moves.size() + 3)
        << "the primitive and every move";
}

TEST_F(MoveTest, BadMovesAreRefusedAndMoveNothing) {
    strings("polyCube -n c");
    ASSERT_TRUE(run("createNode objectSet -n someSet"));
    const MeshGeometry before = shown("cShape");
    const size_t queued = ehost::session().commands().undoQueue.undoable();
    struct Case {
        const char* text;
        const char* error;
    };
    for (const Case& c :
         {Case{"move -a 1 2 3 c.vtx[999]",
               "move: c.vtx[999]: component index 999 is out of range (8 elements)"},
          Case{"move -a 1 2 3 c.vtx[0] c.vtx[8]",
               "move: c.vtx[8]: component index 8 is out of range (8 elements)"},
          Case{"move -a 1 2 3 nothing.vtx[0]", "move: No object matches name: nothing.vtx[0]"},
          Case{"move -a 1 2 3 c.vtx[x]", "move: c.vtx[x]: bad component index \"x\""},
          Case{"move -a 1 2 3 someSet.vtx[0]",
               "move: someSet is not a mesh: it has no vtx components"},
          Case{"move -a 1 2 3 someSet",
               "move: someSet cannot be moved: it is not a transform, a shape or a mesh component"},
          Case{"move -a -r 1 2 3 c.vtx[0]",
               "move: -absolute and -relative cannot be used together"},
          Case{"move -a 1 2 c.vtx[0]", "move: argument \"c.vtx[0]\" should be a number"},
          Case{"move -a 1 2", "move: needs x, y and z values"},
          Case{"move -q 1 2 3 c", "move: Invalid flag: -q"},
          Case{"select -cl; move 1 2 3", "move: Not enough objects or values."}}) {
        SCOPED_TRACE(c.text);
        EXPECT_FALSE(run(c.text));
        EXPECT_EQ(lastError(), c.error);
        EXPECT_EQ(shown("cShape"), before);
        EXPECT_EQ(result("getAttr c.translate"), "0 0 0");
    }
    EXPECT_EQ(ehost::session().commands().undoQueue.undoable(), queued + 1)
        << "only the select was recorded";
}

TEST_F(MoveTest, PointPositionReadsOnePoint) {
    strings("polyCube -n c");
    ASSERT_TRUE(run("setAttr c.translate 0 10 0"));
    EXPECT_EQ(numbers("pointPosition c.vtx[0]"), (std::vector<double>{-0.5, 9.5, 0.5}))
        << "world by default";
    EXPECT_EQ(numbers("pointPosition -local c.vtx[0]"), (std::vector<double>{-0.5, -0.5, 0.5}));
    EXPECT_FALSE(run("pointPosition c.vtx[0:1]"));
    EXPECT_EQ(lastError(), "pointPosition: cShape: name exactly one vertex");
    EXPECT_FALSE(run("pointPosition c.f[0]"));
    EXPECT_FALSE(run("pointPosition"));
    EXPECT_FALSE(run("pointPosition -w -l c.vtx[0]"));
}

}  // namespace
