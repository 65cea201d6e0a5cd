// MFnDoubleIndexedComponent (mesh face-vertices, "vtxFace[vertex][face]") and
// MFnComponentListData, as the host documents them.

#include <maya/MDagPath.h>
#include <maya/MFnComponentListData.h>
#include <maya/MFnDoubleIndexedComponent.h>
#include <maya/MFnMesh.h>
#include <maya/MFnSingleIndexedComponent.h>
#include <maya/MGlobal.h>
#include <maya/MItMeshFaceVertex.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/src/command/Commands.h"
#include "tests/host/HostFixture.h"

namespace {

using Names = std::vector<std::string>;

class ComponentTest : public HostTest {
protected:
    static MStatus run(const std::string& text, MCommandResult* result = nullptr) {
        return ehost::runCommands(text, {false, true}, result);
    }
    static Names selected() {
        MCommandResult r;
        EXPECT_TRUE(run("ls -sl -fl", &r));
        MStringArray a;
        r.getResult(a);
        Names out;
        for (unsigned i = 0; i < a.length(); ++i) out.push_back(a[i].asChar());
        return out;
    }
    static MDagPath path(const char* name) {
        MSelectionList l;
        EXPECT_TRUE(l.add(name));
        MDagPath p;
        l.getDagPath(0, p);
        return p;
    }
    static MObject vtxFace(std::initializer_list<std::pair<int, int>> pairs) {
        MFnDoubleIndexedComponent fn;
        MObject c = fn.create(MFn::kMeshVtxFaceComponent);
        for (auto [v, f] : pairs) fn.addElement(v, f);
        return c;
    }
};

TEST_F(ComponentTest, DoubleIndexedComponentsKeepPairsInOrderWithoutRepeats) {
    MFnDoubleIndexedComponent fn;
    MStatus st;
    MObject c = fn.create(MFn::kMeshVtxFaceComponent, &st);
    ASSERT_TRUE(st);
    EXPECT_TRUE(c.hasFn(MFn::kDoubleIndexedComponent));
    EXPECT_TRUE(c.hasFn(MFn::kComponent));
    EXPECT_FALSE(c.hasFn(MFn::kSingleIndexedComponent));
    EXPECT_TRUE(fn.isEmpty());
    ASSERT_TRUE(fn.addElement(3, 1));
    ASSERT_TRUE(fn.addElement(0, 0));
    ASSERT_TRUE(fn.addElement(3, 1));
    ASSERT_TRUE(fn.addElement(3, 2));
    EXPECT_EQ(fn.elementCount(), 3) << "(3, 1) is there once";
    EXPECT_EQ(fn.componentType(), MFn::kMeshVtxFaceComponent);
    int u = -1, v = -1;
    ASSERT_TRUE(fn.getElement(1, u, v));
    EXPECT_EQ(u, 0);
    EXPECT_EQ(v, 0);
    EXPECT_FALSE(fn.getElement(3, u, v));
    MIntArray us, vs;
    ASSERT_TRUE(fn.getElements(us, vs));
    ASSERT_EQ(us.length(), 3u);
    EXPECT_EQ(us[2], 3);
    EXPECT_EQ(vs[2], 2);

    EXPECT_FALSE(fn.addElement(-1, 0));
    MIntArray two, three;
    two.append(1);
    two.append(2);
    three.append(0);
    EXPECT_FALSE(fn.addElements(two, three)) << "the arrays pair up";
    EXPECT_EQ(fn.elementCount(), 3) << "a refused call adds nothing";
    three.append(4);
    ASSERT_TRUE(fn.addElements(two, three));
    EXPECT_EQ(fn.elementCount(), 5);

    EXPECT_TRUE(fn.isEqual(vtxFace({{3, 2}, {0, 0}, {2, 4}, {3, 1}, {1, 0}})))
        << "the same pairs in another order";
    EXPECT_FALSE(fn.isEqual(vtxFace({{3, 2}, {0, 0}, {2, 4}, {3, 1}, {0, 1}})));

    EXPECT_TRUE(MFnDoubleIndexedComponent().create(MFn::kMeshVertComponent, &st).isNull());
    EXPECT_FALSE(st);
    MFnSingleIndexedComponent single;
    EXPECT_FALSE(single.setObject(c)) << "a face-vertex component is no single-indexed one";
}

TEST_F(ComponentTest, CompleteComponentsHoldEveryIndexBelowTheirBounds) {
    MFnDoubleIndexedComponent fn;
    fn.create(MFn::kMeshVtxFaceComponent);
    EXPECT_FALSE(fn.isComplete());
    ASSERT_TRUE(fn.setCompleteData(2, 3));
    EXPECT_EQ(fn.elementCount(), 6);
    EXPECT_TRUE(fn.isComplete());
    int maxU = 0, maxV = 0;
    ASSERT_TRUE(fn.getCompleteData(maxU, maxV));
    EXPECT_EQ(maxU, 2);
    EXPECT_EQ(maxV, 3);
    int u = -1, v = -1;
    fn.getElement(5, u, v);
    EXPECT_EQ(u, 1);
    EXPECT_EQ(v, 2);
    fn.addElement(7, 7);
    EXPECT_FALSE(fn.isComplete()) << "more than the complete set";

    EXPECT_FALSE(fn.setCompleteData(100000, 100000)) << "ten billion pairs are refused";
    EXPECT_EQ(fn.elementCount(), 7) << "and the component is as it was";
    EXPECT_FALSE(fn.setCompleteData(-1, 2));

    MFnSingleIndexedComponent single;
    single.create(MFn::kMeshVertComponent);
    ASSERT_TRUE(single.setCompleteData(4));
    EXPECT_TRUE(single.isComplete());
    int n = 0;
    ASSERT_TRUE(single.getCompleteData(n));
    EXPECT_EQ(n, 4);
}

TEST_F(ComponentTest, FaceVerticesAreSelectedNamedAndIterated) {
    ASSERT_TRUE(run("polyCube -n box"));
    MIntArray face0;
    ASSERT_TRUE(MFnMesh(path("boxShape")).getPolygonVertices(0, face0));
    ASSERT_EQ(face0.length(), 4u);
    std::vector<int> sorted(face0.begin(), face0.end());
    std::sort(sorted.begin(), sorted.end());

    ASSERT_TRUE(run("select -r \"box.vtxFace[*][0]\""));
    Names expected;
    for (int v : sorted) expected.push_back("boxShape.vtxFace[" + std::to_string(v) + "][0]");
    EXPECT_EQ(selected(), expected) << "the corners of face 0, by vertex";

    MSelectionList active;
    ASSERT_TRUE(run("select -r \"boxShape.vtxFace[" + std::to_string(face0[1]) + "][0:5]\""));
    MGlobal::getActiveSelectionList(active);
    MDagPath p;
    MObject comp;
    ASSERT_TRUE(active.getDagPath(0, p, comp));
    MFnDoubleIndexedComponent fn(comp);
    EXPECT_EQ(fn.elementCount(), 3) << "a cube's vertex is a corner of three faces";

    EXPECT_FALSE(run("select -r \"box.vtxFace[0]\"")) << "two indices are needed";
    EXPECT_FALSE(run("select -r \"box.vtxFace[0][9]\"")) << "a cube has six faces";

    // A pair whose vertex is not on the face names no face-vertex.
    int notOnFace0 = -1;
    for (int v = 0; v < 8 && notOnFace0 < 0; ++v)
        if (!std::binary_search(sorted.begin(), sorted.end(), v)) notOnFace0 = v;
    MSelectionList list;
    EXPECT_FALSE(list.add(path("boxShape"), vtxFace({{notOnFace0, 0}})));
    ASSERT_TRUE(list.add(path("boxShape"), vtxFace({{face0[2], 0}})));
    EXPECT_TRUE(list.hasItem(path("boxShape"), vtxFace({{face0[2], 0}})));
    EXPECT_FALSE(list.hasItem(path("boxShape"), vtxFace({{face0[2], 1}})));

    // The face-vertex iterator hands out its corner as such a component.
    MItMeshFaceVertex it(path("boxShape"));
    it.next();
    MFnDoubleIndexedComponent corner(it.currentItem());
    int u = -1, v = -1;
    ASSERT_TRUE(corner.getElement(0, u, v));
    EXPECT_EQ(u, it.vertId());
    EXPECT_EQ(v, it.faceId());
}

TEST_F(ComponentTest, ComponentListsHoldCopiesInOrder) {
    MFnComponentListData list;
    MStatus st;
    MObject data = list.create(&st);
    ASSERT_TRUE(st);
    EXPECT_TRUE(data.hasFn(MFn::kComponentListData));
    EXPECT_EQ(list.length(), 0u);

    MFnSingleIndexedComponent vertices;
    MObject v = vertices.create(MFn::kMeshVertComponent);
    vertices.addElement(1);
    vertices.addElement(2);
    vertices.addElement(3);
    MFnSingleIndexedComponent edges;
    MObject e = edges.create(MFn::kMeshEdgeComponent);
    edges.addElement(0);
    ASSERT_TRUE(list.add(v));
    ASSERT_TRUE(list.add(e));
    vertices.addElement(9);
    EXPECT_EQ(list.length(), 2u);
    EXPECT_EQ(MFnSingleIndexedComponent(list[0]).elementCount(), 3)
        << "the list keeps the component as it was added";
    EXPECT_EQ(list[1].apiType(), MFn::kMeshEdgeComponent);
    EXPECT_TRUE(list[2].isNull());

    MFnSingleIndexedComponent probe;
    MObject two = probe.create(MFn::kMeshVertComponent);
    probe.addElement(2);
    EXPECT_TRUE(list.has(two));
    probe.addElement(9);
    EXPECT_FALSE(list.has(two)) << "vertex 9 was added after the copy";
    MFnSingleIndexedComponent edgeTwo;
    MObject asEdge = edgeTwo.create(MFn::kMeshEdgeComponent);
    edgeTwo.addElement(2);
    EXPECT_FALSE(list.has(asEdge)) << "edge 2 is not vertex 2";

    MObject notComponent = MFnComponentListData().create();
    EXPECT_FALSE(list.add(notComponent));
    EXPECT_FALSE(list.remove(7u));
    MFnSingleIndexedComponent same;
    MObject reordered = same.create(MFn::kMeshVertComponent);
    for (int i : {3, 1, 2}) same.addElement(i);
    ASSERT_TRUE(list.remove(reordered)) << "the listed component with the same elements";
    EXPECT_EQ(list.length(), 1u);
    EXPECT_FALSE(list.remove(reordered));
    ASSERT_TRUE(list.remove(0u));
    EXPECT_EQ(list.length(), 0u);
    list.add(v);
    ASSERT_TRUE(list.clear());
    EXPECT_EQ(list.length(), 0u);
}

}  // namespace
