// The mesh iterators and MItGeometry on known meshes: adjacency on the 2x2
// plane (numbering in test_api_mesh_helpers.h) and the cube, boundaries,
// component-restricted order, setIndex, positions in both spaces, exact
// writes, and refusals that leave the iterator and the mesh as they were.

#include <maya/MFnSingleIndexedComponent.h>
#include <maya/MItGeometry.h>
#include <maya/MItMeshEdge.h>
#include <maya/MItMeshFaceVertex.h>
#include <maya/MItMeshPolygon.h>
#include <maya/MItMeshVertex.h>

#include "tests/host/test_api_mesh_helpers.h"

namespace {

using meshtest::ints;
using meshtest::MeshApiTest;
using meshtest::vec;

MObject component(MFn::Type kind, std::initializer_list<int> elements) {
    MFnSingleIndexedComponent fn;
    MObject c = fn.create(kind);
    for (int e : elements) fn.addElement(e);
    return c;
}

template <class Iterator>
std::vector<int> visitOrder(Iterator& it) {
    std::vector<int> order;
    for (it.reset(); !it.isDone(); it.next()) order.push_back(it.index());
    return order;
}

class MeshIteratorTest : public MeshApiTest {
protected:
    void SetUp() override {
        MeshApiTest::SetUp();
        plane = makeMesh(meshtest::plane2x2());
    }
    MDagPath plane;
};

// ---------------------------------------------------------------- vertices

TEST_F(MeshIteratorTest, VertexAdjacencyAndBoundaryOnThePlane) {
    MItMeshVertex it(plane);
    EXPECT_EQ(it.count(), 9);
    int previous = -1;
    ASSERT_TRUE(it.setIndex(4, previous));
    EXPECT_EQ(previous, 0);
    MIntArray list;
    ASSERT_TRUE(it.getConnectedEdges(list));
    EXPECT_EQ(vec(list), std::vector<int>({1, 2, 6, 7}));
    ASSERT_TRUE(it.getConnectedFaces(list));
    EXPECT_EQ(vec(list), std::vector<int>({0, 1, 2, 3}));
    ASSERT_TRUE(it.getConnectedVertices(list));
    EXPECT_EQ(vec(list), std::vector<int>({1, 3, 5, 7}));
    int n = 0;
    ASSERT_TRUE(it.numConnectedEdges(n));
    EXPECT_EQ(n, 4);
    EXPECT_FALSE(it.onBoundary());
    EXPECT_TRUE(it.connectedToEdge(6));
    EXPECT_FALSE(it.connectedToEdge(0));
    int opposite = -1;
    ASSERT_TRUE(it.getOppositeVertex(opposite, 7));
    EXPECT_EQ(opposite, 7);
    EXPECT_FALSE(it.getOppositeVertex(opposite, 0));

    ASSERT_TRUE(it.setIndex(0, previous));
    EXPECT_EQ(previous, 4);
    EXPECT_TRUE(it.onBoundary());
    ASSERT_TRUE(it.getConnectedVertices(list));
    EXPECT_EQ(vec(list), std::vector<int>({1, 3}));
    ASSERT_TRUE(it.getConnectedFaces(list));
    EXPECT_EQ(vec(list), std::vector<int>({0}));
}

TEST_F(MeshIteratorTest, VerticesOfAClosedCubeAreNotOnABoundary) {
    MDagPath cube = makeMesh(meshtest::cube());
    MItMeshVertex it(cube);
    int visited = 0;
    for (; !it.isDone(); it.next(), ++visited) {
        EXPECT_FALSE(it.onBoundary()) << it.index();
        int faces = 0;
        it.numConnectedFaces(faces);
        EXPECT_EQ(faces, 3);
    }
    EXPECT_EQ(visited, 8);
}

TEST_F(MeshIteratorTest, VertexPositionsInWorldSpaceAndExactWrites) {
    placeTransform(plane);
    MItMeshVertex it(plane);
    int previous = -1;
    it.setIndex(5, previous);  // object (2, 1, 0): scaled (4, 3, 0), x -> -z
    const MPoint world = it.position(MSpace::kWorld);
    EXPECT_NEAR(world.x, 10, 1e-12);
    EXPECT_NEAR(world.y, -1, 1e-12);
    EXPECT_NEAR(world.z, -2, 1e-12);
    EXPECT_EQ(it.position(), MPoint(2, 1, 0));

    ASSERT_TRUE(it.setPosition(MPoint(9.7, -1.1, -2.3), MSpace::kWorld));
    EXPECT_EQ(it.position(MSpace::kWorld), MPoint(9.7, -1.1, -2.3));
    ASSERT_TRUE(it.translateBy(MVector(0.1, 0, 0)));
    MVector normal;
    ASSERT_TRUE(it.getNormal(normal, MSpace::kWorld));
    EXPECT_NEAR(normal.length(), 1, 1e-12);

    // Later vertices see the move at once.
    MItMeshVertex other(plane);
    other.setIndex(5, previous);
    EXPECT_EQ(other.position(MSpace::kWorld), it.position(MSpace::kWorld));
}

TEST_F(MeshIteratorTest, VertexIteratorFromTheNodeHasNoWorldSpace) {
    MItMeshVertex it(plane.node());
    MStatus st;
    it.position(MSpace::kWorld, &st);
    EXPECT_FALSE(st);
    EXPECT_NE(st.errorString().str().find("DAG path"), std::string::npos) << st.errorString();
    EXPECT_FALSE(it.setPosition(MPoint(1, 1, 1), MSpace::kWorld));
    EXPECT_EQ(it.position(), MPoint(0, 0, 0));
}

// ---------------------------------------------------------------- edges

TEST_F(MeshIteratorTest, EdgeEndsFacesAndConnectedEdgesInKernelOrder) {
    MItMeshEdge it(plane);
    EXPECT_EQ(it.count(), 12);
    int previous = -1;
    ASSERT_TRUE(it.setIndex(1, previous));
    EXPECT_EQ(it.index(0), 1);
    EXPECT_EQ(it.index(1), 4);
    EXPECT_EQ(it.point(1), MPoint(1, 1, 0));
    EXPECT_EQ(it.center(), MPoint(1, 0.5, 0));
    MIntArray list;
    EXPECT_EQ(it.getConnectedFaces(list), 2);
    EXPECT_EQ(vec(list), std::vector<int>({0, 1}));
    EXPECT_EQ(it.getConnectedEdges(list), 5);
    EXPECT_EQ(vec(list), std::vector<int>({0, 4, 2, 6, 7}));  // around vertex 1, then vertex 4
    EXPECT_FALSE(it.onBoundary());
    EXPECT_TRUE(it.connectedToEdge(7));
    EXPECT_FALSE(it.connectedToEdge(1));

    ASSERT_TRUE(it.setIndex(0, previous));
    EXPECT_TRUE(it.onBoundary());
    EXPECT_EQ(it.getConnectedFaces(list), 1);
    MStatus st;
    it.point(2, MSpace::kObject, &st);
    EXPECT_FALSE(st);
    EXPECT_EQ(it.index(2, &st), -1);
    EXPECT_FALSE(st);
}

TEST_F(MeshIteratorTest, EdgeLengthsAndSmoothingThroughTheIterator) {
    placeTransform(plane);
    MItMeshEdge it(plane);
    double length = 0;
    ASSERT_TRUE(it.getLength(length));
    EXPECT_EQ(length, 1);
    ASSERT_TRUE(it.getLength(length, MSpace::kWorld));  // edge 0 runs along object x, scaled by 2
    EXPECT_NEAR(length, 2, 1e-12);
    EXPECT_TRUE(it.isSmooth());
    ASSERT_TRUE(it.setSmoothing(false));
    EXPECT_FALSE(it.isSmooth());
    EXPECT_FALSE(MFnMesh(plane).isEdgeSmooth(0));
    it.next();
    EXPECT_TRUE(it.isSmooth());
}

// ---------------------------------------------------------------- polygons

TEST_F(MeshIteratorTest, PolygonAdjacencyOnThePlane) {
    MItMeshPolygon it(plane);
    EXPECT_EQ(it.count(), 4);
    MIntArray list;
    ASSERT_TRUE(it.getVertices(list));
    EXPECT_EQ(vec(list), std::vector<int>({0, 1, 4, 3}));
    ASSERT_TRUE(it.getEdges(list));
    EXPECT_EQ(vec(list), std::vector<int>({0, 1, 2, 3}));
    ASSERT_TRUE(it.getConnectedFaces(list));
    EXPECT_EQ(vec(list), std::vector<int>({1, 2}));  // face 3 only shares a corner
    ASSERT_TRUE(it.getConnectedEdges(list));
    EXPECT_EQ(vec(list), std::vector<int>({4, 6, 7, 9}));
    ASSERT_TRUE(it.getConnectedVertices(list));
    EXPECT_EQ(vec(list), std::vector<int>({2, 5, 6, 7}));
    EXPECT_TRUE(it.onBoundary());
    EXPECT_TRUE(it.isConnectedToFace(2));
    EXPECT_FALSE(it.isConnectedToFace(3));
    EXPECT_EQ(it.vertexIndex(2), 4);
    EXPECT_EQ(it.polygonVertexCount(), 4u);
    EXPECT_EQ(it.center(), MPoint(0.5, 0.5, 0));
    MVector n;
    ASSERT_TRUE(it.getNormal(n));
    EXPECT_EQ(n, MVector(0, 0, 1));
    int triangles = 0;
    ASSERT_TRUE(it.numTriangles(triangles));
    EXPECT_EQ(triangles, 2);
    MPointArray points;
    ASSERT_TRUE(it.getTriangle(1, points, list));
    EXPECT_EQ(vec(list), std::vector<int>({0, 4, 3}));

    MDagPath cube = makeMesh(meshtest::cube());
    MItMeshPolygon closed(cube);
    for (; !closed.isDone(); closed.next()) {
        EXPECT_FALSE(closed.onBoundary()) << closed.index();
        int faces = 0;
        closed.numConnectedFaces(faces);
        EXPECT_EQ(faces, 4);
    }
}

TEST_F(MeshIteratorTest, PolygonPointsNormalsAndAreaInWorldSpace) {
    placeTransform(plane);
    MItMeshPolygon it(plane);
    MPointArray points;
    ASSERT_TRUE(it.getPoints(points, MSpace::kWorld));
    ASSERT_EQ(points.length(), 4u);
    // Corner 2 is object (1, 1, 0): scaled (2, 3, 0), then x -> -z.
    EXPECT_NEAR(points[2].x, 10, 1e-12);
    EXPECT_NEAR(points[2].y, -1, 1e-12);
    EXPECT_NEAR(points[2].z, 0, 1e-12);
    MVector n;
    ASSERT_TRUE(it.getNormal(n, MSpace::kWorld));  // object +z turns to world +x
    EXPECT_NEAR(n.x, 1, 1e-12);
    double area = 0;
    ASSERT_TRUE(it.getArea(area, MSpace::kWorld));
    EXPECT_NEAR(area, 6, 1e-12);
    ASSERT_TRUE(it.getArea(area));
    EXPECT_EQ(area, 1);
    ASSERT_TRUE(it.setPoint(MPoint(1, 1, 0.25), 2));
    EXPECT_EQ(it.point(2), MPoint(1, 1, 0.25));
    MStatus st;
    it.point(4, MSpace::kObject, &st);
    EXPECT_FALSE(st);
}

TEST_F(MeshIteratorTest, PolygonNormalsFollowHardEdges) {
    MDagPath cube = makeMesh(meshtest::cube());
    MItMeshPolygon it(cube);
    MVectorArray normals;
    ASSERT_TRUE(it.getNormals(normals));
    EXPECT_NEAR(normals[0].x, -1 / std::sqrt(3.0), 1e-12);  // smooth: the corner's diagonal
    MItMeshEdge edges(cube);
    for (; !edges.isDone(); edges.next()) ASSERT_TRUE(edges.setSmoothing(false));
    ASSERT_TRUE(it.getNormals(normals));
    for (const MVector& v : normals) EXPECT_EQ(v, MVector(0, 0, -1));
    EXPECT_EQ(it.normalIndex(3), 3);
    it.next();
    EXPECT_EQ(it.normalIndex(0), 4);
}

// ---------------------------------------------------------------- components and setIndex

TEST_F(MeshIteratorTest, AComponentLimitsTheIterationToItsElementsInItsOrder) {
    MObject faces = component(MFn::kMeshPolygonComponent, {3, 0, 2});
    MItMeshPolygon polygons(plane, faces);
    EXPECT_EQ(polygons.count(), 3);
    EXPECT_EQ(visitOrder(polygons), std::vector<int>({3, 0, 2}));

    MObject vertices = component(MFn::kMeshVertComponent, {8, 4, 0});
    MItMeshVertex vertexIt(plane, vertices);
    EXPECT_EQ(visitOrder(vertexIt), std::vector<int>({8, 4, 0}));

    MObject edges = component(MFn::kMeshEdgeComponent, {11, 1});
    MItMeshEdge edgeIt(plane, edges);
    EXPECT_EQ(visitOrder(edgeIt), std::vector<int>({11, 1}));

    MItGeometry points(plane, vertices);
    EXPECT_EQ(visitOrder(points), std::vector<int>({8, 4, 0}));

    // setIndex onto a listed element continues the iteration from there.
    int previous = -1;
    polygons.reset();
    ASSERT_TRUE(polygons.setIndex(0, previous));
    EXPECT_EQ(previous, 3);
    polygons.next();
    EXPECT_EQ(polygons.index(), 2);
}

TEST_F(MeshIteratorTest, WrongComponentsAreRefused) {
    MStatus st;
    MObject edges = component(MFn::kMeshEdgeComponent, {0});
    MItMeshVertex vertexIt(plane, edges, &st);
    EXPECT_FALSE(st);
    EXPECT_NE(st.errorString().str().find("kMeshVertComponent"), std::string::npos)
        << st.errorString();
    EXPECT_TRUE(vertexIt.isDone());
    EXPECT_EQ(vertexIt.count(), 0);
    MObject tooHigh = component(MFn::kMeshPolygonComponent, {1, 4});
    MItMeshPolygon polygonIt(plane, tooHigh, &st);
    EXPECT_FALSE(st);
    EXPECT_NE(st.errorString().str().find("face 4"), std::string::npos) << st.errorString();
    EXPECT_TRUE(polygonIt.isDone());
    MIntArray list;
    EXPECT_FALSE(polygonIt.getVertices(list));
}

TEST_F(MeshIteratorTest, OutOfRangeSetIndexFailsAndLeavesTheIteratorWhereItWas) {
    MItMeshVertex vertexIt(plane);
    MItMeshEdge edgeIt(plane);
    MItMeshPolygon polygonIt(plane);
    int previous = 99;
    vertexIt.next();
    EXPECT_FALSE(vertexIt.setIndex(9, previous));
    EXPECT_FALSE(vertexIt.setIndex(-1, previous));
    EXPECT_FALSE(edgeIt.setIndex(12, previous));
    EXPECT_FALSE(polygonIt.setIndex(4, previous));
    EXPECT_EQ(previous, 99);
    EXPECT_EQ(vertexIt.index(), 1);
    EXPECT_EQ(edgeIt.index(), 0);
    EXPECT_EQ(polygonIt.index(), 0);
    MStatus st = polygonIt.setIndex(7, previous);
    EXPECT_NE(st.errorString().str().find("face 7"), std::string::npos) << st.errorString();
}

TEST_F(MeshIteratorTest, PastTheEndAndAfterTheMeshShrinksCallsFailCleanly) {
    MItMeshPolygon it(plane);
    int previous = -1;
    ASSERT_TRUE(it.setIndex(3, previous));
    ASSERT_TRUE(MFnMesh(plane).deleteFace(3));
    MStatus st;
    EXPECT_EQ(it.index(&st), -1);
    EXPECT_FALSE(st);
    EXPECT_EQ(it.count(), 3);
    it.next();
    EXPECT_TRUE(it.isDone());
    EXPECT_EQ(it.center(MSpace::kObject, &st), MPoint());
    EXPECT_FALSE(st);
    it.reset();
    EXPECT_EQ(it.index(), 0);
}

// ---------------------------------------------------------------- face-vertices

TEST_F(MeshIteratorTest, FaceVerticesWalkEachPolygonsCornersInOrder) {
    MItMeshFaceVertex it(plane);
    std::vector<int> faces, corners, vertices, normals;
    for (; !it.isDone(); it.next()) {
        faces.push_back(it.faceId());
        corners.push_back(it.faceVertId());
        vertices.push_back(it.vertId());
        normals.push_back(it.normalId());
    }
    ASSERT_EQ(vertices.size(), 16u);
    EXPECT_EQ(vertices, vec(meshtest::plane2x2().connects));
    EXPECT_EQ(std::vector<int>(faces.begin(), faces.begin() + 5),
              std::vector<int>({0, 0, 0, 0, 1}));
    EXPECT_EQ(std::vector<int>(corners.begin(), corners.begin() + 5),
              std::vector<int>({0, 1, 2, 3, 0}));
    EXPECT_EQ(normals[7], 7);
    int prevFace = -1, prevCorner = -1;
    ASSERT_TRUE(it.setIndex(2, 1, prevFace, prevCorner));
    EXPECT_EQ(it.vertId(), 4);
    EXPECT_EQ(it.position(), MPoint(1, 1, 0));
    EXPECT_FALSE(it.setIndex(2, 4, prevFace, prevCorner));
    EXPECT_FALSE(it.hasUVs());
    float2 uv;
    EXPECT_FALSE(it.getUV(uv));
}

// ---------------------------------------------------------------- MItGeometry

TEST_F(MeshIteratorTest, AllPositionsReadBackExactlyWhatSetAllPositionsWrote) {
    MItGeometry it(plane);
    EXPECT_EQ(it.count(), 9);
    MPointArray written;
    for (int i = 0; i < 9; ++i) written.append(MPoint(i * 0.1, 1.0 / (i + 3), -i * 1e-7));
    ASSERT_TRUE(it.setAllPositions(written));
    MPointArray read;
    ASSERT_TRUE(it.allPositions(read));
    ASSERT_EQ(read.length(), 9u);
    for (unsigned i = 0; i < 9; ++i) EXPECT_EQ(read[i], written[i]) << i;
    EXPECT_FALSE(shape(plane).hasTweaks());  // no history: the shape's own points

    // In world space, under a rotation, a non-uniform scale and a translation
    // much larger than these coordinates, not every world position has an
    // object-space point that maps onto it exactly: to rounding.
    placeTransform(plane);
    for (MPoint& p : written) p = MPoint(p.x * 3 + 7.7, p.y - 0.1, p.z + 1.0 / 3);
    ASSERT_TRUE(it.setAllPositions(written, MSpace::kWorld));
    ASSERT_TRUE(it.allPositions(read, MSpace::kWorld));
    for (unsigned i = 0; i < 9; ++i) EXPECT_TRUE(read[i].isEquivalent(written[i], 1e-14)) << i;
}

TEST_F(MeshIteratorTest, OnAMeshWithHistoryAllPositionsBecomeTweaks) {
    MDagPath withHistory = makeMeshWithHistory(meshtest::plane2x2());
    MItGeometry it(withHistory);
    // Offsets that double tweaks reach exactly from the grid's coordinates.
    MPointArray moved;
    ASSERT_TRUE(it.allPositions(moved));
    for (MPoint& p : moved) p += MVector(0.375, 1.0 / 1024, -0.25);
    ASSERT_TRUE(it.setAllPositions(moved));
    EXPECT_TRUE(shape(withHistory).hasTweaks());
    MPointArray read;
    ASSERT_TRUE(it.allPositions(read));
    for (unsigned i = 0; i < moved.length(); ++i) EXPECT_EQ(read[i], moved[i]) << i;

    // World space under a transform: to rounding.
    placeTransform(withHistory);
    MPointArray world;
    ASSERT_TRUE(it.allPositions(world, MSpace::kWorld));
    for (MPoint& p : world) p += MVector(0.3, 1.0 / 7, -0.01);
    ASSERT_TRUE(it.setAllPositions(world, MSpace::kWorld));
    ASSERT_TRUE(it.allPositions(read, MSpace::kWorld));
    for (unsigned i = 0; i < world.length(); ++i)
        EXPECT_TRUE(read[i].isEquivalent(world[i], 1e-12)) << i;

    // One point at a time, through the iterator.
    it.reset();
    it.next();
    ASSERT_TRUE(it.setPosition(MPoint(1.125, 0.25, 0.5)));
    EXPECT_EQ(it.position(), MPoint(1.125, 0.25, 0.5));
    EXPECT_EQ(it.index(), 1);
}

TEST_F(MeshIteratorTest, GeometryIteratorOverAComponentWritesOnlyItsPoints) {
    MObject vertices = component(MFn::kMeshVertComponent, {8, 0});
    MItGeometry it(plane, vertices);
    EXPECT_EQ(it.count(), 2);
    MPointArray points;
    ASSERT_TRUE(it.allPositions(points));
    ASSERT_EQ(points.length(), 2u);
    EXPECT_EQ(points[0], MPoint(2, 2, 0));
    MPointArray moved;
    moved.append(MPoint(3, 3, 0));
    moved.append(MPoint(-1, -1, 0));
    ASSERT_TRUE(it.setAllPositions(moved));
    MFnMesh fn(plane);
    MPoint p;
    fn.getPoint(8, p);
    EXPECT_EQ(p, MPoint(3, 3, 0));
    fn.getPoint(0, p);
    EXPECT_EQ(p, MPoint(-1, -1, 0));
    fn.getPoint(4, p);
    EXPECT_EQ(p, MPoint(1, 1, 0));
}

TEST_F(MeshIteratorTest, GeometryIteratorRefusalsChangeNothing) {
    MItGeometry it(plane);
    MPointArray before;
    ASSERT_TRUE(it.allPositions(before));
    MPointArray eight = before;
    eight.remove(8);
    MStatus st = it.setAllPositions(eight);
    EXPECT_FALSE(st);
    EXPECT_NE(st.errorString().str().find("8 positions"), std::string::npos) << st.errorString();
    MPointArray bad = before;
    bad[3] = MPoint(NAN, 0, 0);
    EXPECT_FALSE(it.setAllPositions(bad));
    MItGeometry byNode(plane.node());
    EXPECT_FALSE(byNode.setAllPositions(before, MSpace::kWorld));
    MPointArray after;
    ASSERT_TRUE(it.allPositions(after));
    for (unsigned i = 0; i < 9; ++i) EXPECT_EQ(after[i], before[i]);

    MItGeometry onNothing(MObject::kNullObj, &st);
    EXPECT_FALSE(st);
    EXPECT_TRUE(onNothing.isDone());
    EXPECT_FALSE(onNothing.allPositions(after));
}

TEST_F(MeshIteratorTest, IteratorsOnATransformPathReachItsMesh) {
    MDagPath transformPath;
    ASSERT_TRUE(MDagPath::getAPathTo(plane.transform(), transformPath));
    MStatus st;
    MItMeshPolygon polygons(transformPath, MObject::kNullObj, &st);
    ASSERT_TRUE(st) << st.errorString();
    EXPECT_EQ(polygons.count(), 4);
    MItGeometry points(transformPath, &st);
    ASSERT_TRUE(st) << st.errorString();
    EXPECT_EQ(points.count(), 9);
}

}  // namespace
