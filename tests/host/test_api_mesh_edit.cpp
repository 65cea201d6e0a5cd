// MFnMesh and MFnMeshData: creation and placement, addPolygon merging and
// numbering, deleteFace, exact point moves (own geometry or tweaks), UV sets,
// edge smoothing and normals, and refusals that leave the scene unchanged.

#include <maya/MFnMeshData.h>
#include <maya/MFnTransform.h>
#include <maya/MItMeshPolygon.h>
#include <maya/MStringArray.h>

#include <cmath>

#include "tests/host/test_api_mesh_helpers.h"

namespace {

using meshtest::ints;
using meshtest::MeshApiTest;
using meshtest::MeshArrays;
using meshtest::vec;

MPointArray quad(double x0, double y0, double x1, double y1) {
    MPointArray q;
    q.append(MPoint(x0, y0, 0));
    q.append(MPoint(x1, y0, 0));
    q.append(MPoint(x1, y1, 0));
    q.append(MPoint(x0, y1, 0));
    return q;
}

std::vector<double> coordinates(const MPointArray& a) {
    std::vector<double> out;
    for (const MPoint& p : a) out.insert(out.end(), {p.x, p.y, p.z});
    return out;
}

std::vector<double> pointsOf(const MFnMesh& fn, MSpace::Space space = MSpace::kObject) {
    MPointArray a;
    EXPECT_TRUE(fn.getPoints(a, space));
    return coordinates(a);
}

// Everything about a mesh that an edit could change, for "unchanged" checks.
struct Snapshot {
    std::vector<double> points;
    std::vector<int> counts, connects, smooth;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(const MFnMesh& fn) {
    Snapshot s;
    s.points = pointsOf(fn);
    MIntArray counts, connects;
    fn.getVertices(counts, connects);
    s.counts = vec(counts);
    s.connects = vec(connects);
    for (int e = 0; e < fn.numEdges(); ++e) s.smooth.push_back(fn.isEdgeSmooth(e));
    return s;
}

// ---------------------------------------------------------------- creation

using MeshCreateTest = MeshApiTest;

TEST_F(MeshCreateTest, WithoutParentMakesATransformAndShapeNamedLikeTheHost) {
    const MeshArrays c = meshtest::cube();
    MFnMesh fn;
    MStatus st;
    MObject top = fn.create(8, 6, c.points, c.counts, c.connects, MObject::kNullObj, &st);
    ASSERT_TRUE(st) << st.errorString();
    EXPECT_TRUE(top.hasFn(MFn::kTransform));
    EXPECT_EQ(MFnDagNode(top).name(), MString("polySurface1"));
    EXPECT_EQ(MFnDagNode(MFnDagNode(top).child(0)).name(), MString("polySurfaceShape1"));
    // The set is attached to the new shape, with world space available.
    EXPECT_EQ(fn.name(), MString("polySurfaceShape1"));
    EXPECT_EQ(fn.numVertices(), 8);
    EXPECT_EQ(fn.numPolygons(), 6);
    EXPECT_EQ(fn.numEdges(), 12);
    EXPECT_EQ(fn.numFaceVertices(), 24);
    EXPECT_EQ(pointsOf(fn), coordinates(c.points));
    EXPECT_EQ(pointsOf(fn, MSpace::kWorld), coordinates(c.points));
    MIntArray counts, connects;
    ASSERT_TRUE(fn.getVertices(counts, connects));
    EXPECT_EQ(vec(counts), vec(c.counts));
    EXPECT_EQ(vec(connects), vec(c.connects));

    MFnMesh second;
    MObject next = second.create(8, 6, c.points, c.counts, c.connects);
    EXPECT_EQ(MFnDagNode(next).name(), MString("polySurface2"));
}

TEST_F(MeshCreateTest, UnderATransformReturnsTheShapeAndFromFloatPointsKeepsThem) {
    MFnTransform t;
    MObject parent = t.create();
    MFloatPointArray points;
    for (const MPoint& p : meshtest::cube().points) points.append(MFloatPoint(p));
    MFnMesh fn;
    MStatus st;
    const MeshArrays c = meshtest::cube();
    MObject shape = fn.create(8, 6, points, c.counts, c.connects, parent, &st);
    ASSERT_TRUE(st) << st.errorString();
    EXPECT_TRUE(shape.hasFn(MFn::kMesh));
    EXPECT_TRUE(MFnDagNode(shape).parent(0) == parent);
    EXPECT_EQ(MFnDagNode(shape).name(), MString("polySurfaceShape1"));
    MFloatPointArray back;
    ASSERT_TRUE(fn.getPoints(back));
    ASSERT_EQ(back.length(), 8u);
    for (unsigned i = 0; i < 8; ++i) EXPECT_TRUE(back[i] == points[i]);
}

TEST_F(MeshCreateTest, IntoMeshDataFillsAndReturnsTheDataObjectInObjectSpaceOnly) {
    MFnMeshData data;
    MObject owner = data.create();
    ASSERT_TRUE(owner.hasFn(MFn::kMeshData));
    const std::size_t nodesBefore = nodeCount();
    const MeshArrays c = meshtest::cube();
    MFnMesh fn;
    MStatus st;
    MObject made = fn.create(8, 6, c.points, c.counts, c.connects, owner, &st);
    ASSERT_TRUE(st) << st.errorString();
    EXPECT_TRUE(made == owner);
    EXPECT_EQ(nodeCount(), nodesBefore);

    MFnMesh reader(owner, &st);
    ASSERT_TRUE(st) << st.errorString();
    EXPECT_EQ(reader.numPolygons(), 6);
    MPointArray points;
    st = reader.getPoints(points, MSpace::kWorld);
    EXPECT_FALSE(st);
    EXPECT_NE(st.errorString().str().find("DAG path"), std::string::npos) << st.errorString();
    EXPECT_EQ(points.length(), 0u);
}

TEST_F(MeshCreateTest, WithUVArraysStoresThemInTheCurrentSetUnassigned) {
    const MeshArrays p = meshtest::plane2x2();
    MFloatArray u, v;
    for (int i = 0; i < 9; ++i) {
        u.append(0.5f * static_cast<float>(i % 3));
        v.append(0.5f * static_cast<float>(i / 3));
    }
    MFnMesh fn;
    MStatus st;
    fn.create(9, 4, p.points, p.counts, p.connects, u, v, MObject::kNullObj, &st);
    ASSERT_TRUE(st) << st.errorString();
    EXPECT_EQ(fn.numUVs(), 9);
    EXPECT_EQ(fn.currentUVSetName(), MString("map1"));
    MFloatArray uBack, vBack;
    ASSERT_TRUE(fn.getUVs(uBack, vBack));
    EXPECT_EQ(std::vector<float>(uBack.begin(), uBack.end()),
              std::vector<float>(u.begin(), u.end()));
    EXPECT_EQ(std::vector<float>(vBack.begin(), vBack.end()),
              std::vector<float>(v.begin(), v.end()));
    MIntArray counts, ids;
    ASSERT_TRUE(fn.getAssignedUVs(counts, ids));
    EXPECT_EQ(vec(counts), std::vector<int>({0, 0, 0, 0}));
    EXPECT_EQ(ids.length(), 0u);
}

TEST_F(MeshCreateTest, BadCountsAndParentsAreRefusedAndCreateNothing) {
    const MeshArrays c = meshtest::cube();
    const std::size_t nodesBefore = nodeCount();
    MFnMesh fn;
    auto refused = [&](MObject made, const MStatus& st, const char* mentions) {
        EXPECT_FALSE(st) << mentions;
        EXPECT_TRUE(made.isNull()) << mentions;
        EXPECT_NE(st.errorString().str().find(mentions), std::string::npos) << st.errorString();
        EXPECT_EQ(nodeCount(), nodesBefore) << mentions;
    };
    MStatus st;
    refused(fn.create(9, 6, c.points, c.counts, c.connects, MObject::kNullObj, &st), st,
            "numVertices");
    refused(fn.create(8, 5, c.points, c.counts, c.connects, MObject::kNullObj, &st), st,
            "numPolygons");
    MIntArray shortConnects = c.connects;
    shortConnects.remove(0);
    refused(fn.create(8, 6, c.points, c.counts, shortConnects, MObject::kNullObj, &st), st, "");
    MIntArray badId = c.connects;
    badId[5] = 8;
    refused(fn.create(8, 6, c.points, c.counts, badId, MObject::kNullObj, &st), st, "");
    MFloatArray u(8, 0.f), v(7, 0.f);
    refused(fn.create(8, 6, c.points, c.counts, c.connects, u, v, MObject::kNullObj, &st), st,
            "vArray");
    // A shape is not a parent for another shape.
    MDagPath existing = makeMesh(c);
    const std::size_t withMesh = nodeCount();
    MObject made = fn.create(8, 6, c.points, c.counts, c.connects, existing.node(), &st);
    EXPECT_FALSE(st);
    EXPECT_TRUE(made.isNull());
    EXPECT_NE(st.errorString().str().find("transform"), std::string::npos) << st.errorString();
    EXPECT_EQ(nodeCount(), withMesh);
}

TEST_F(MeshCreateTest, CopyDuplicatesWhatAShapeShowsIntoMeshData) {
    MDagPath source = makeMeshWithHistory(meshtest::cube());
    MFnMesh src(source);
    ASSERT_TRUE(src.setPoint(0, MPoint(-1, -1, -1)));  // a tweak
    MFnMeshData data;
    MObject owner = data.create();
    MFnMesh fn;
    MStatus st;
    EXPECT_TRUE(fn.copy(source.node(), owner, &st) == owner);
    ASSERT_TRUE(st) << st.errorString();
    EXPECT_EQ(pointsOf(fn), pointsOf(src));
}

// ---------------------------------------------------------------- addPolygon

using AddPolygonTest = MeshApiTest;

TEST_F(AddPolygonTest, NumbersFacesAndNewVerticesInOrderAndMergesSharedCorners) {
    MDagPath path = makeMesh({quad(0, 0, 1, 1), ints({4}), ints({0, 1, 2, 3})});
    MFnMesh fn(path);
    int face = -1;
    MStatus st;
    fn.addPolygon(quad(1, 0, 2, 1), face, true, 1e-3, MObject::kNullObj, &st);
    ASSERT_TRUE(st) << st.errorString();
    EXPECT_EQ(face, 1);
    EXPECT_EQ(fn.numVertices(), 6);
    MIntArray corners;
    ASSERT_TRUE(fn.getPolygonVertices(1, corners));
    // (1,0) and (1,1) are vertices 1 and 2; the two new corners come next in order.
    EXPECT_EQ(vec(corners), std::vector<int>({1, 4, 5, 2}));
    fn.addPolygon(quad(0, 1, 1, 2), face);
    EXPECT_EQ(face, 2);
    ASSERT_TRUE(fn.getPolygonVertices(2, corners));
    EXPECT_EQ(vec(corners), std::vector<int>({3, 2, 6, 7}));
    // Without merging every corner is new.
    fn.addPolygon(quad(0, 0, 1, 1), face, false);
    ASSERT_TRUE(fn.getPolygonVertices(3, corners));
    EXPECT_EQ(vec(corners), std::vector<int>({8, 9, 10, 11}));
    EXPECT_EQ(fn.numEdges(), 4 + 3 + 3 + 4);
}

TEST_F(AddPolygonTest, MergesJustInsideTheToleranceAndNotJustOutside) {
    MDagPath path = makeMesh({quad(0, 0, 1, 1), ints({4}), ints({0, 1, 2, 3})});
    MFnMesh fn(path);
    const double tolerance = 0.01;
    MPointArray inside = quad(1, 0, 2, 1);
    inside[0] = MPoint(1 + 0.0099, 0, 0);  // vertex 1 is 0.0099 away
    inside[3] = MPoint(1, 1, 0.0101);      // vertex 2 is 0.0101 away
    int face = -1;
    ASSERT_TRUE([&] {
        MStatus st;
        fn.addPolygon(inside, face, true, tolerance, MObject::kNullObj, &st);
        return st;
    }());
    MIntArray corners;
    ASSERT_TRUE(fn.getPolygonVertices(face, corners));
    EXPECT_EQ(corners[0], 1);
    EXPECT_EQ(corners[3], 6);  // 4 and 5 are the new right corners, then this one
    EXPECT_EQ(fn.numVertices(), 7);
    // The merged corner keeps the existing vertex where it was.
    MPoint p;
    ASSERT_TRUE(fn.getPoint(1, p));
    EXPECT_EQ(p, MPoint(1, 0, 0));
}

TEST_F(AddPolygonTest, WithoutAMeshMakesOneAndAttachesToIt) {
    MFnMesh fn;
    int face = -1;
    MStatus st;
    MObject top =
        fn.addPolygon(quad(0, 0, 1, 1), face, true, kMFnMeshPointTolerance, MObject::kNullObj, &st);
    ASSERT_TRUE(st) << st.errorString();
    EXPECT_EQ(face, 0);
    EXPECT_EQ(MFnDagNode(top).name(), MString("polySurface1"));
    EXPECT_EQ(fn.numPolygons(), 1);
    fn.addPolygon(quad(1, 0, 2, 1), face);
    EXPECT_EQ(face, 1);
    EXPECT_EQ(fn.numVertices(), 6);
}

TEST_F(AddPolygonTest, OnMeshDataEditsTheDataObject) {
    MFnMeshData data;
    MObject owner = data.create();
    MFnMesh fn;
    int face = -1;
    MStatus st;
    EXPECT_TRUE(fn.addPolygon(quad(0, 0, 1, 1), face, true, 1e-3, owner, &st) == owner);
    ASSERT_TRUE(st) << st.errorString();
    fn.addPolygon(quad(1, 0, 2, 1), face, true, 1e-3);
    EXPECT_EQ(face, 1);
    EXPECT_EQ(MFnMesh(owner).numVertices(), 6);
}

TEST_F(AddPolygonTest, RefusalsLeaveTheMeshAsItWas) {
    MDagPath path = makeMesh({quad(0, 0, 1, 1), ints({4}), ints({0, 1, 2, 3})});
    MFnMesh fn(path);
    const Snapshot before = snapshot(fn);
    int face = 77;
    MStatus st;
    MPointArray two;
    two.append(MPoint(0, 0, 0));
    two.append(MPoint(1, 0, 0));
    EXPECT_TRUE(fn.addPolygon(two, face, true, 1e-3, MObject::kNullObj, &st).isNull());
    EXPECT_FALSE(st);
    // Two corners within the tolerance of each other resolve to one vertex.
    MPointArray pinched = quad(3, 0, 4, 1);
    pinched[1] = MPoint(3.0001, 0, 0);
    fn.addPolygon(pinched, face, true, 1e-3, MObject::kNullObj, &st);
    EXPECT_FALSE(st);
    fn.addPolygon(quad(3, 0, 4, 1), face, true, -1.0, MObject::kNullObj, &st);
    EXPECT_FALSE(st);
    EXPECT_EQ(face, 77);
    EXPECT_EQ(snapshot(fn), before);
}

TEST_F(AddPolygonTest, OnAShapeWithHistoryIsRefused) {
    MDagPath path = makeMeshWithHistory({quad(0, 0, 1, 1), ints({4}), ints({0, 1, 2, 3})});
    MFnMesh fn(path);
    const Snapshot before = snapshot(fn);
    MStatus st;
    fn.addPolygon(quad(1, 0, 2, 1), true, 1e-3, MObject::kNullObj, &st);
    EXPECT_FALSE(st);
    EXPECT_NE(st.errorString().str().find("history"), std::string::npos) << st.errorString();
    EXPECT_EQ(snapshot(fn), before);
}

// ---------------------------------------------------------------- deleteFace

using DeleteFaceTest = MeshApiTest;

TEST_F(DeleteFaceTest, RenumbersLaterFacesAndVerticesOnlyTheFaceUsed) {
    MDagPath path = makeMesh(meshtest::plane2x2());
    MFnMesh fn(path);
    ASSERT_TRUE(fn.deleteFace(0));
    EXPECT_EQ(fn.numPolygons(), 3);
    EXPECT_EQ(fn.numVertices(), 8);  // vertex 0 was only in face 0
    MIntArray counts, connects;
    fn.getVertices(counts, connects);
    // Former faces 1..3, every vertex id above 0 moved down by one.
    EXPECT_EQ(vec(connects), std::vector<int>({0, 1, 4, 3, 2, 3, 6, 5, 3, 4, 7, 6}));
    MPoint p;
    ASSERT_TRUE(fn.getPoint(0, p));
    EXPECT_EQ(p, MPoint(1, 0, 0));
}

TEST_F(DeleteFaceTest, BadIndexFailsAndChangesNothing) {
    MDagPath path = makeMesh(meshtest::plane2x2());
    MFnMesh fn(path);
    const Snapshot before = snapshot(fn);
    for (int bad : {-1, 4, 1000}) {
        MStatus st = fn.deleteFace(bad);
        EXPECT_FALSE(st);
        EXPECT_NE(st.errorString().str().find("face " + std::to_string(bad)), std::string::npos)
            << st.errorString();
    }
    EXPECT_EQ(snapshot(fn), before);
}

// ---------------------------------------------------------------- points and tweaks

using MeshPointsTest = MeshApiTest;

// Values whose offsets from the cube's corners are not representable sums.
MPointArray awkwardPoints(const MPointArray& base) {
    MPointArray out;
    for (unsigned i = 0; i < base.length(); ++i) {
        const double k = 0.1 * (i + 1) + 1e-9 / 3;
        out.append(MPoint(base[i].x + k, base[i].y - k / 7, base[i].z * 3.3));
    }
    return out;
}

TEST_F(MeshPointsTest, WithHistoryTheyBecomeTweaksThatReadBackBitForBit) {
    MDagPath path = makeMeshWithHistory(meshtest::cube());
    MFnMesh fn(path);
    const auto baseBefore = shape(path).base();
    const MPointArray wanted = awkwardPoints(meshtest::cube().points);
    ASSERT_TRUE(fn.setPoints(wanted));
    EXPECT_EQ(pointsOf(fn), coordinates(wanted));
    EXPECT_TRUE(shape(path).hasTweaks());
    EXPECT_TRUE(shape(path).base() == baseBefore);  // the history's geometry is untouched
    // One vertex at a time too. The output is base + tweak in double, so only
    // positions some double offset reaches can be exact: these are (same sign
    // as the corner (-.5, .5, -.5), within a factor of two of it).
    ASSERT_TRUE(fn.setPoint(3, MPoint(-0.3, 1.0 / 3, -0.7)));
    MPoint p;
    ASSERT_TRUE(fn.getPoint(3, p));
    EXPECT_EQ(p, MPoint(-0.3, 1.0 / 3, -0.7));
}

TEST_F(MeshPointsTest, WithoutHistoryTheyChangeTheShapesOwnGeometry) {
    MDagPath path = makeMesh(meshtest::cube());
    MFnMesh fn(path);
    const MPointArray wanted = awkwardPoints(meshtest::cube().points);
    ASSERT_TRUE(fn.setPoints(wanted));
    EXPECT_FALSE(shape(path).hasTweaks());
    MPointArray own;
    for (const ehost::Vec3& v : shape(path).base()->points()) own.append(MPoint(v.x, v.y, v.z));
    EXPECT_EQ(coordinates(own), coordinates(wanted));
    EXPECT_EQ(pointsOf(fn), coordinates(wanted));
}

TEST_F(MeshPointsTest, WorldSpaceWritesReadBackUnchangedUnderATransform) {
    MDagPath path = makeTransformedCube();
    MFnMesh fn(path);
    MPointArray world;
    ASSERT_TRUE(fn.getPoints(world, MSpace::kWorld));
    // Object (-.5, -.5, -.5); a rotation of 90 degrees is not exact in binary.
    EXPECT_NEAR(world[0].x, 8, 1e-12);
    EXPECT_NEAR(world[0].y, -5.5, 1e-12);
    EXPECT_NEAR(world[0].z, 3, 1e-12);
    // Coordinates as large as the translation have object-space points that
    // map onto them exactly, and the write finds them.
    const MPointArray wanted = awkwardPoints(world);
    ASSERT_TRUE(fn.setPoints(wanted, MSpace::kWorld));
    EXPECT_EQ(pointsOf(fn, MSpace::kWorld), coordinates(wanted));
    ASSERT_TRUE(fn.setPoint(5, MPoint(9.1, -3.3, 2.7), MSpace::kWorld));
    MPoint p;
    ASSERT_TRUE(fn.getPoint(5, p, MSpace::kWorld));
    EXPECT_EQ(p, MPoint(9.1, -3.3, 2.7));
}

TEST_F(MeshPointsTest, BadInputFailsClearlyAndChangesNothing) {
    MDagPath path = makeTransformedCube();
    MFnMesh fn(path);
    const Snapshot before = snapshot(fn);
    MPointArray seven = meshtest::cube().points;
    seven.remove(7);
    MStatus st = fn.setPoints(seven);
    EXPECT_FALSE(st);
    EXPECT_NE(st.errorString().str().find("7 positions"), std::string::npos) << st.errorString();
    EXPECT_FALSE(fn.setPoint(8, MPoint(0, 0, 0)));
    EXPECT_FALSE(fn.setPoint(0, MPoint(NAN, 0, 0)));
    MPoint p(5, 5, 5);
    EXPECT_FALSE(fn.getPoint(-1, p));
    EXPECT_EQ(p, MPoint(5, 5, 5));
    EXPECT_FALSE(fn.getPoints(seven, MSpace::kInvalid));
    EXPECT_EQ(snapshot(fn), before);

    // Through the node, only object space exists.
    MFnMesh byNode(path.node());
    st = byNode.setPoint(0, MPoint(1, 1, 1), MSpace::kWorld);
    EXPECT_FALSE(st);
    EXPECT_NE(st.errorString().str().find("DAG path"), std::string::npos) << st.errorString();
    EXPECT_EQ(snapshot(fn), before);
}

TEST_F(MeshPointsTest, UnattachedOrWronglyAttachedSetsFailWithoutCrashing) {
    MFnMesh none;
    MStatus st;
    EXPECT_EQ(none.numVertices(&st), 0);
    EXPECT_FALSE(st);
    MPointArray points;
    EXPECT_FALSE(none.getPoints(points));
    EXPECT_FALSE(none.deleteFace(0));
    EXPECT_FALSE(none.setEdgeSmoothing(0, false));

    MFnMesh fromNull(MObject::kNullObj, &st);
    EXPECT_FALSE(st);
    MFnTransform t;
    MObject transform = t.create();
    MFnMesh fromTransform(transform, &st);
    EXPECT_FALSE(st);
    EXPECT_NE(st.errorString().str().find("kTransform"), std::string::npos) << st.errorString();
    MFnMesh fromEmptyPath(MDagPath(), &st);
    EXPECT_FALSE(st);
    EXPECT_EQ(fromEmptyPath.numPolygons(), 0);

    // A path to the transform of a mesh reaches its shape.
    MDagPath shapePath = makeMesh(meshtest::cube());
    MDagPath transformPath;
    ASSERT_TRUE(MDagPath::getAPathTo(shapePath.transform(), transformPath));
    MFnMesh viaTransform(transformPath, &st);
    ASSERT_TRUE(st) << st.errorString();
    EXPECT_EQ(viaTransform.numPolygons(), 6);
}

// ---------------------------------------------------------------- UV sets

using MeshUVTest = MeshApiTest;

TEST_F(MeshUVTest, AssignedUVsRoundTripAndUnassignedPolygonsCountZero) {
    MDagPath path = makeMesh(meshtest::plane2x2());
    MFnMesh fn(path);
    MFloatArray u, v;
    for (float x : {0.f, 1.f, 1.f, 0.f, 0.5f}) u.append(x);
    for (float y : {0.f, 0.f, 1.f, 1.f, 0.5f}) v.append(y);
    ASSERT_TRUE(fn.setUVs(u, v));
    const MIntArray counts = ints({4, 0, 4, 0}), ids = ints({0, 1, 2, 3, 4, 1, 2, 3});
    ASSERT_TRUE(fn.assignUVs(counts, ids));
    MIntArray countsBack, idsBack;
    ASSERT_TRUE(fn.getAssignedUVs(countsBack, idsBack));
    EXPECT_EQ(vec(countsBack), vec(counts));
    EXPECT_EQ(vec(idsBack), vec(ids));

    int id = -1;
    ASSERT_TRUE(fn.getPolygonUVid(2, 0, id));
    EXPECT_EQ(id, 4);
    float uu = -1, vv = -1;
    ASSERT_TRUE(fn.getPolygonUV(2, 2, uu, vv));
    EXPECT_EQ(uu, 1.f);
    EXPECT_EQ(vv, 1.f);
    MStatus st = fn.getPolygonUVid(1, 0, id);
    EXPECT_FALSE(st);
    EXPECT_NE(st.errorString().str().find("no UVs"), std::string::npos) << st.errorString();
    EXPECT_FALSE(fn.getPolygonUVid(0, 4, id));

    MItMeshPolygon it(path);
    std::vector<bool> has;
    for (; !it.isDone(); it.next()) has.push_back(it.hasUVs());
    EXPECT_EQ(has, std::vector<bool>({true, false, true, false}));
}

TEST_F(MeshUVTest, BadAssignmentsAreRefusedAndLeaveTheOldOne) {
    MDagPath path = makeMesh(meshtest::plane2x2());
    MFnMesh fn(path);
    MFloatArray u(4, 0.f), v(4, 0.f);
    ASSERT_TRUE(fn.setUVs(u, v));
    ASSERT_TRUE(fn.assignUVs(ints({4, 0, 0, 0}), ints({0, 1, 2, 3})));
    EXPECT_FALSE(fn.assignUVs(ints({3, 0, 0, 0}), ints({0, 1, 2})));     // a quad has 4 corners
    EXPECT_FALSE(fn.assignUVs(ints({4, 0, 0, 0}), ints({0, 1, 2, 4})));  // UV 4 does not exist
    EXPECT_FALSE(fn.assignUVs(ints({4, 0, 0}), ints({0, 1, 2, 3})));     // one count per polygon
    const MString unknown("nope");
    EXPECT_FALSE(fn.assignUVs(ints({4, 0, 0, 0}), ints({0, 1, 2, 3}), &unknown));
    MFloatArray shortV(3, 0.f);
    EXPECT_FALSE(fn.setUVs(u, shortV));
    MIntArray counts, ids;
    ASSERT_TRUE(fn.getAssignedUVs(counts, ids));
    EXPECT_EQ(vec(counts), std::vector<int>({4, 0, 0, 0}));
    EXPECT_EQ(vec(ids), std::vector<int>({0, 1, 2, 3}));
    EXPECT_EQ(fn.numUVs(), 4);
}

TEST_F(MeshUVTest, SetsAreCreatedWithFreeNamesAndKeptApart) {
    MDagPath path = makeMesh(meshtest::plane2x2());
    MFnMesh fn(path);
    MString name("map1");
    ASSERT_TRUE(fn.createUVSet(name));
    EXPECT_EQ(name, MString("map2"));
    EXPECT_EQ(fn.createUVSetWithName("detail"), MString("detail"));
    MStringArray names;
    ASSERT_TRUE(fn.getUVSetNames(names));
    ASSERT_EQ(names.length(), 3u);
    EXPECT_EQ(names[0], MString("map1"));
    MString current;
    ASSERT_TRUE(fn.getCurrentUVSetName(current));
    EXPECT_EQ(current, MString("map1"));

    const MString detail("detail");
    MFloatArray u(2, 0.25f), v(2, 0.75f);
    ASSERT_TRUE(fn.setUVs(u, v, &detail));
    EXPECT_EQ(fn.numUVs(detail), 2);
    EXPECT_EQ(fn.numUVs(), 0);
    ASSERT_TRUE(fn.setCurrentUVSetName(detail));
    EXPECT_EQ(fn.numUVs(), 2);
    EXPECT_FALSE(fn.setCurrentUVSetName("missing"));
    EXPECT_EQ(fn.currentUVSetName(), MString("detail"));
    ASSERT_TRUE(fn.clearUVs());
    EXPECT_EQ(fn.numUVs(), 0);
    EXPECT_FALSE(fn.deleteUVSet("map1"));  // the default set stays
    ASSERT_TRUE(fn.deleteUVSet("detail"));
    EXPECT_EQ(fn.currentUVSetName(), MString("map1"));
}

// ---------------------------------------------------------------- smoothing and normals

using MeshNormalsTest = MeshApiTest;

TEST_F(MeshNormalsTest, EdgeSmoothingRoundTripsAndSplitsFaceVertexNormals) {
    MDagPath path = makeMesh(meshtest::cube());
    MFnMesh fn(path);
    for (int e = 0; e < fn.numEdges(); ++e) EXPECT_TRUE(fn.isEdgeSmooth(e));
    MVector n;
    // Smooth: the corner's normal is the vertex's (the cube's diagonal).
    ASSERT_TRUE(fn.getFaceVertexNormal(0, 0, n));
    EXPECT_NEAR(n.x, -1 / std::sqrt(3.0), 1e-12);
    EXPECT_NEAR(n.z, -1 / std::sqrt(3.0), 1e-12);

    MIntArray edges, flags;
    for (int e = 0; e < 12; ++e) {
        edges.append(e);
        flags.append(e % 3 == 0 ? 1 : 0);
    }
    ASSERT_TRUE(fn.setEdgeSmoothings(edges, flags));
    ASSERT_TRUE(fn.cleanupEdgeSmoothing());
    for (int e = 0; e < 12; ++e) EXPECT_EQ(fn.isEdgeSmooth(e), e % 3 == 0) << e;
    ASSERT_TRUE(fn.setEdgeSmoothing(0, false));
    EXPECT_FALSE(fn.isEdgeSmooth(0));
    // All hard: every corner shows its face's normal.
    ASSERT_TRUE(fn.setEdgeSmoothings(edges, MIntArray(12, 0)));
    MFloatVectorArray normals;
    ASSERT_TRUE(fn.getFaceVertexNormals(0, normals));
    for (const MFloatVector& v : normals) EXPECT_EQ(v, MFloatVector(0, 0, -1));
    MIntArray ids;
    ASSERT_TRUE(fn.getFaceNormalIds(1, ids));
    EXPECT_EQ(vec(ids), std::vector<int>({4, 5, 6, 7}));
}

TEST_F(MeshNormalsTest, SmoothingRefusalsNameTheProblemAndChangeNothing) {
    MDagPath path = makeMesh(meshtest::cube());
    MFnMesh fn(path);
    const Snapshot before = snapshot(fn);
    MStatus st = fn.setEdgeSmoothings(ints({0, 1}), ints({0}));
    EXPECT_FALSE(st);
    EXPECT_FALSE(fn.setEdgeSmoothings(ints({0, 12}), ints({0, 0})));
    st = fn.setEdgeSmoothing(12, false);
    EXPECT_NE(st.errorString().str().find("edge 12"), std::string::npos) << st.errorString();
    fn.isEdgeSmooth(-3, &st);
    EXPECT_FALSE(st);
    EXPECT_EQ(snapshot(fn), before);
}

TEST_F(MeshNormalsTest, WorldNormalsFollowTheInverseTransposeOfTheTransform) {
    // A slanted triangle with normal (1, 1, 0) / sqrt 2; scaling x by 2 tilts
    // the world normal towards y: (1/2, 1, 0) normalised.
    MeshArrays tri;
    tri.points.append(MPoint(1, 0, 0));
    tri.points.append(MPoint(0, 1, 0));
    tri.points.append(MPoint(0, 1, 1));
    tri.counts = ints({3});
    tri.connects = ints({0, 1, 2});
    MDagPath path = makeMesh(tri);
    MFnTransform t(path.transform());
    const double scale[3] = {2, 1, 1};
    ASSERT_TRUE(t.setScale(scale));
    MFnMesh fn(path);
    MVector n;
    ASSERT_TRUE(fn.getPolygonNormal(0, n));
    EXPECT_NEAR(n.x, 1 / std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(n.y, 1 / std::sqrt(2.0), 1e-12);
    ASSERT_TRUE(fn.getPolygonNormal(0, n, MSpace::kWorld));
    EXPECT_NEAR(n.x, 0.5 / std::sqrt(1.25), 1e-12);
    EXPECT_NEAR(n.y, 1 / std::sqrt(1.25), 1e-12);
    EXPECT_NEAR(n.z, 0, 1e-12);
}

TEST_F(MeshNormalsTest, VertexNormalsWeighFacesByCornerAngleOnlyWhenAsked) {
    // Vertex 0 has a 90 degree corner in a quad facing +z and a 45 degree
    // corner in a triangle facing +x.
    MeshArrays m;
    for (const auto& p :
         {MPoint(0, 0, 0), MPoint(1, 0, 0), MPoint(1, 1, 0), MPoint(0, 1, 0), MPoint(0, 1, 1)})
        m.points.append(p);
    m.counts = ints({4, 3});
    m.connects = ints({0, 1, 2, 3, 0, 3, 4});
    MDagPath path = makeMesh(m);
    MFnMesh fn(path);
    MVector plain, weighted;
    ASSERT_TRUE(fn.getVertexNormal(0, false, plain));
    ASSERT_TRUE(fn.getVertexNormal(0, true, weighted));
    EXPECT_NEAR(plain.x, 1 / std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(plain.z, 1 / std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(weighted.x, 1 / std::sqrt(5.0), 1e-12);
    EXPECT_NEAR(weighted.y, 0, 1e-12);
    EXPECT_NEAR(weighted.z, 2 / std::sqrt(5.0), 1e-12);
    MStatus st = fn.getFaceVertexNormal(1, 1, plain);
    EXPECT_FALSE(st);
    EXPECT_NE(st.errorString().str().find("not a corner"), std::string::npos) << st.errorString();
}

}  // namespace
