// MItDependencyGraph, as the host documents it: walks along connections from a
// root node or plug, in both directions, depth or breadth first, at node or
// plug level, filtered, pruned and reset.

#include <maya/MFnDependencyNode.h>
#include <maya/MItDependencyGraph.h>
#include <maya/MObjectArray.h>
#include <maya/MPlugArray.h>
#include <maya/MSelectionList.h>

#include <string>
#include <vector>

#include "host/src/command/Commands.h"
#include "tests/host/HostFixture.h"

namespace {

using Names = std::vector<std::string>;

class GraphIteratorTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        // a.tx -> b.tx -> c.tx
        // a.ty -> d.ty        b.ty -> e.ty <- d.tz
        ASSERT_TRUE(
            run("createNode transform -n a; createNode transform -n b; createNode transform -n c; "
                "createNode transform -n d; createNode transform -n e; "
                "connectAttr a.tx b.tx; connectAttr b.tx c.tx; connectAttr a.ty d.ty; "
                "connectAttr b.ty e.ty; connectAttr d.tz e.tz"));
    }
    static MStatus run(const std::string& text) { return ehost::runCommands(text, {false, true}); }
    static MObject node(const char* name) {
        MSelectionList l;
        EXPECT_TRUE(l.add(name)) << name;
        MObject o;
        l.getDependNode(0, o);
        return o;
    }
    static MPlug plug(const char* name) {
        MSelectionList l;
        EXPECT_TRUE(l.add(name)) << name;
        MPlug p;
        l.getPlug(0, p);
        return p;
    }
    static std::string nameOf(const MObject& o) { return MFnDependencyNode(o).name().asChar(); }
    static Names nodes(MItDependencyGraph& it) {
        Names out;
        for (; !it.isDone(); it.next()) out.push_back(nameOf(it.thisNode()));
        return out;
    }
    static Names plugs(MItDependencyGraph& it) {
        Names out;
        for (; !it.isDone(); it.next()) out.push_back(it.thisPlug().name().asChar());
        return out;
    }
};

TEST_F(GraphIteratorTest, NodeLevelWalksVisitTheRootFirstThenDepthOrBreadthFirst) {
    MObject a = node("a");
    MStatus st;
    MItDependencyGraph depth(a, MFn::kInvalid, MItDependencyGraph::kDownstream,
                             MItDependencyGraph::kDepthFirst, MItDependencyGraph::kNodeLevel,
                             MItDependencyGraph::kConnectedTo, &st);
    ASSERT_TRUE(st);
    EXPECT_TRUE(depth.atNodeLevel());
    EXPECT_TRUE(depth.isDirectionDownStream());
    EXPECT_EQ(nodes(depth), (Names{"a", "b", "c", "e", "d"}))
        << "e, reached again from d, is reported once";

    MItDependencyGraph breadth(a, MFn::kInvalid, MItDependencyGraph::kDownstream,
                               MItDependencyGraph::kBreadthFirst, MItDependencyGraph::kNodeLevel,
                               MItDependencyGraph::kConnectedTo);
    EXPECT_FALSE(breadth.isTraversalDepthFirst());
    EXPECT_EQ(nodes(breadth), (Names{"a", "b", "d", "c", "e"}));

    MObject e = node("e");
    MItDependencyGraph up(e, MFn::kInvalid, MItDependencyGraph::kUpstream,
                          MItDependencyGraph::kDepthFirst, MItDependencyGraph::kNodeLevel,
                          MItDependencyGraph::kConnectedTo);
    EXPECT_EQ(nodes(up), (Names{"e", "b", "a", "d"}));
}

TEST_F(GraphIteratorTest, DependsOnGoesOnOnlyFromTheEnteredPlugAndWhatItAffects) {
    MObject a = node("a");
    MItDependencyGraph it(a);  // downstream, depth first, node level, kDependsOn
    EXPECT_EQ(it.currentRelationship(), MItDependencyGraph::kDependsOn);
    EXPECT_EQ(nodes(it), (Names{"a", "b", "c", "d"}))
        << "b entered by translateX does not pass its translateY on to e";

    ASSERT_TRUE(run("polyCube -n box"));
    MPlug width = plug("polyCube1.width");
    MItDependencyGraph fromWidth(width);  // plug level by default for a root plug
    EXPECT_FALSE(fromWidth.atNodeLevel());
    EXPECT_EQ(plugs(fromWidth), (Names{"polyCube1.width", "boxShape.inMesh"}))
        << "the width affects the output, which feeds the shape";
}

TEST_F(GraphIteratorTest, PlugLevelReportsEnteredPlugsWithTheirPathAndWhereTheyCameFrom) {
    MPlug tx = plug("a.tx");
    MItDependencyGraph it(tx);
    ASSERT_FALSE(it.isDone());
    EXPECT_EQ(it.rootPlug().name(), MString("a.translateX"));
    EXPECT_TRUE(it.previousPlug().isNull()) << "the root came along no connection";
    Names seen, previous;
    MPlugArray path;
    for (; !it.isDone(); it.next()) {
        seen.push_back(it.thisPlug().name().asChar());
        MPlug prev = it.previousPlug();
        previous.push_back(prev.isNull() ? "-" : prev.name().asChar());
        it.getPlugPath(path);
    }
    EXPECT_EQ(seen, (Names{"a.translateX", "b.translateX", "c.translateX"}));
    EXPECT_EQ(previous, (Names{"-", "a.translateX", "b.translateX"}));
    ASSERT_EQ(path.length(), 3u) << "the path of the last item, root first";
    EXPECT_EQ(path[0].name(), MString("a.translateX"));
    EXPECT_EQ(path[2].name(), MString("c.translateX"));

    MObjectArray visited;
    ASSERT_TRUE(it.getNodesVisited(visited));
    ASSERT_EQ(visited.length(), 3u);
    EXPECT_EQ(nameOf(visited[1]), "b");
    MPlugArray plugsVisited;
    ASSERT_TRUE(it.getPlugsVisited(plugsVisited));
    EXPECT_EQ(plugsVisited.length(), 3u);
    EXPECT_FALSE(it.getPlugPath(path)) << "no path once the walk is over";
    EXPECT_FALSE(it.next());

    // A root plug walked at node level reports nodes.
    MItDependencyGraph byNode(tx, MFn::kInvalid, MItDependencyGraph::kDownstream,
                              MItDependencyGraph::kDepthFirst, MItDependencyGraph::kNodeLevel);
    MObjectArray nodePath;
    byNode.next();
    byNode.next();
    ASSERT_TRUE(byNode.getNodePath(nodePath));
    ASSERT_EQ(nodePath.length(), 3u);
    EXPECT_EQ(nameOf(nodePath[0]), "a");
    EXPECT_EQ(nameOf(nodePath[2]), "c");
}

TEST_F(GraphIteratorTest, FiltersReportOneKindAndPruningStopsTheWalkThere) {
    ASSERT_TRUE(run("polyCube -n box"));
    MObject shape = node("boxShape");
    MItDependencyGraph maker(shape, MFn::kPolyCube, MItDependencyGraph::kUpstream);
    ASSERT_FALSE(maker.isDone()) << "the root is skipped when it is not of the kind";
    EXPECT_EQ(nameOf(maker.thisNode()), "polyCube1");
    EXPECT_EQ(maker.currentFilter(), MFn::kPolyCube);
    maker.next();
    EXPECT_TRUE(maker.isDone());

    ASSERT_TRUE(run("createNode mesh -n m; connectAttr b.ty m.visibility"));
    MObject a = node("a");
    MItDependencyGraph meshes(a, MFn::kMesh, MItDependencyGraph::kDownstream,
                              MItDependencyGraph::kDepthFirst, MItDependencyGraph::kNodeLevel,
                              MItDependencyGraph::kConnectedTo);
    EXPECT_EQ(nodes(meshes), (Names{"m"})) << "the walk goes through the transforms";
    meshes.enablePruningOnFilter();
    EXPECT_TRUE(meshes.isPruningOnFilter());
    ASSERT_TRUE(meshes.reset());
    EXPECT_TRUE(meshes.isDone()) << "pruned at the root, which is no mesh";
    ASSERT_TRUE(meshes.resetFilter());
    EXPECT_EQ(meshes.currentFilter(), MFn::kInvalid);
    EXPECT_EQ(nodes(meshes), (Names{"a", "b", "c", "e", "m", "d"}));
    ASSERT_TRUE(meshes.setCurrentFilter(MFn::kTransform));
    EXPECT_EQ(nodes(meshes), (Names{"a", "b", "c", "e", "d"}))
        << "pruned at the mesh, whatever lies beyond";
}

TEST_F(GraphIteratorTest, PruneResetTogglesAndCycles) {
    MObject a = node("a");
    MItDependencyGraph it(a, MFn::kInvalid, MItDependencyGraph::kDownstream,
                          MItDependencyGraph::kDepthFirst, MItDependencyGraph::kNodeLevel,
                          MItDependencyGraph::kConnectedTo);
    Names seen;
    for (; !it.isDone(); it.next()) {
        seen.push_back(nameOf(it.thisNode()));
        if (seen.back() == "b") {
            ASSERT_TRUE(it.prune());
        }
    }
    EXPECT_EQ(seen, (Names{"a", "b", "d", "e"})) << "c lies only beyond b";
    EXPECT_FALSE(it.prune()) << "nothing to prune once the walk is over";

    ASSERT_TRUE(it.reset());
    EXPECT_EQ(nodes(it), (Names{"a", "b", "c", "e", "d"}));
    it.toggleTraversal();
    EXPECT_EQ(nodes(it), (Names{"a", "b", "d", "c", "e"}));
    MObject b = node("b");
    ASSERT_TRUE(it.resetTo(b, MFn::kInvalid, MItDependencyGraph::kDownstream,
                           MItDependencyGraph::kDepthFirst, MItDependencyGraph::kNodeLevel,
                           MItDependencyGraph::kConnectedTo));
    it.toggleDirection();
    EXPECT_EQ(it.currentDirection(), MItDependencyGraph::kUpstream);
    EXPECT_EQ(nodes(it), (Names{"b", "a"}));

    // A cycle ends the walk where it began.
    ASSERT_TRUE(run("connectAttr c.tz a.tz"));
    ASSERT_TRUE(it.resetTo(a, MFn::kInvalid, MItDependencyGraph::kDownstream,
                           MItDependencyGraph::kDepthFirst, MItDependencyGraph::kNodeLevel,
                           MItDependencyGraph::kConnectedTo));
    EXPECT_EQ(nodes(it), (Names{"a", "b", "c", "e", "d"}));
}

TEST_F(GraphIteratorTest, ARootMustBeANodeInTheScene) {
    MStatus st;
    MObject none;
    MItDependencyGraph nothing(none, MFn::kInvalid, MItDependencyGraph::kDownstream,
                               MItDependencyGraph::kDepthFirst, MItDependencyGraph::kNodeLevel,
                               &st);
    EXPECT_FALSE(st);
    EXPECT_TRUE(nothing.isDone());
    EXPECT_FALSE(nothing.next());
    EXPECT_TRUE(nothing.thisNode(&st).isNull());
    EXPECT_FALSE(st);
    EXPECT_FALSE(nothing.reset());

    MPlug nullPlug;
    MItDependencyGraph noPlug(nullPlug, MFn::kInvalid, MItDependencyGraph::kDownstream,
                              MItDependencyGraph::kDepthFirst, MItDependencyGraph::kPlugLevel, &st);
    EXPECT_FALSE(st);

    MObject c = node("c");
    ASSERT_TRUE(run("delete c"));
    MItDependencyGraph gone(c, MFn::kInvalid, MItDependencyGraph::kDownstream,
                            MItDependencyGraph::kDepthFirst, MItDependencyGraph::kNodeLevel, &st);
    EXPECT_FALSE(st) << "a deleted node starts no walk";
    MObject a = node("a");
    MItDependencyGraph walk(a, MFn::kInvalid, MItDependencyGraph::kDownstream,
                            MItDependencyGraph::kDepthFirst, MItDependencyGraph::kNodeLevel,
                            MItDependencyGraph::kConnectedTo);
    EXPECT_EQ(nodes(walk), (Names{"a", "b", "e", "d"})) << "nor is it reached";
}

}  // namespace
