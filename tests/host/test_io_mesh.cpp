// Mesh files: OBJ and OFF import (names, polygons, UVs, refusals that name
// the line and add nothing) and OBJ export read back in world space.

#include <maya/MPoint.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/src/dag/DagOps.h"
#include "host/src/dg/MeshData.h"
#include "host/src/dg/Scene.h"
#include "host/src/io/MeshFiles.h"
#include "host/src/nodes/MeshShape.h"
#include "host/src/nodes/ObjectSet.h"
#include "tests/host/HostFixture.h"

namespace {

namespace fs = std::filesystem;
using namespace ehost;

NodeClass& type(const char* name) {
    return *session().registry().findClass(name);
}

Node* find(const std::string& name) {
    return session().scene().find(name);
}

DagNode* transform(const std::string& name, DagNode* parent = nullptr) {
    MStatus st;
    Created c = createNode(type("transform"), name, parent, &st);
    EXPECT_TRUE(st) << st.errorString();
    return static_cast<DagNode*>(c.node.get());
}

void set(Node& n, const std::string& plugText, std::initializer_list<double> values) {
    PlugAddr a;
    std::string error;
    ASSERT_TRUE(parsePlugName(*n.cls, plugText, a, error)) << error;
    writeNumeric(n, a, values.begin(), static_cast<int>(values.size()));
}

MeshShape* meshUnder(DagNode* parent, const std::string& name, const MeshGeometry& g) {
    MStatus st;
    Created c = createNode(type("mesh"), name, parent, &st);
    EXPECT_TRUE(st) << st.errorString();
    writeData(*c.node, PlugAddr{meshAttributes().cachedInMesh.get(), -1},
              std::make_shared<MeshData>(std::make_shared<MeshGeometry>(g)));
    return static_cast<MeshShape*>(c.node.get());
}

const MeshGeometry& geometryOf(Node& transformNode) {
    auto& t = static_cast<DagNode&>(transformNode);
    EXPECT_EQ(t.children.size(), 1u);
    auto& shape = static_cast<MeshShape&>(*t.children.at(0));
    const Cell* own = shape.cell(PlugAddr{meshAttributes().cachedInMesh.get(), -1}, false);
    return static_cast<const MeshData&>(*own->data).geometry();
}

std::vector<std::string> nodeNames() {
    std::vector<std::string> names;
    for (const NodePtr& n : session().scene().nodes()) names.push_back(n->name);
    return names;
}

class MeshFileTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        dir_ = fs::temp_directory_path() /
               ("tessark-io-mesh-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        fs::remove_all(dir_);
        HostTest::TearDown();
    }

    std::string write(const std::string& name, const std::string& text) {
        std::string p = (dir_ / name).string();
        std::ofstream(p, std::ios::binary) << text;
        return p;
    }

    std::string read(const std::string& name) {
        std::ifstream in(dir_ / name, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    NodePtr import(const std::string& name, const std::string& text) {
        std::string error;
        NodePtr top = importMesh(write(name, text), &error);
        EXPECT_TRUE(top) << error;
        return top;
    }

    fs::path dir_;
};

// ---------------------------------------------------------------- OBJ import

// A square, a pentagon sharing its right edge and a triangle; the square and
// the pentagon are textured, the triangle only partly (so not at all).
const char* kHouseObj =
    "# a comment\n"
    "mtllib house.mtl\n"
    "o house\n"
    "v 0 0 0\n"
    "v 0.30000000000000004 0 0\n"
    "v 0.30000000000000004 1 -0\n"
    "v 0 1 0\n"
    "v 0.6 0.2 1e-300\n"
    "v 0.7 0.5 0\n"
    "v 0.6 0.8 0 1\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvt 0.5 0.33333334 0\n"
    "vn 0 0 1\n"
    "usemtl wall\n"
    "s off\n"
    "f 1/1/1 2/2/1 3/3/1 4/4/1\n"
    "g roof\n"
    "f 2/2 5/5 6/1 7/2 3/3\n"
    "f 4/4 3 7\n";

TEST_F(MeshFileTest, ObjImportKeepsPolygonsExactPointsAndTexturedFaces) {
    NodePtr top = import("my-scan.obj", kHouseObj);
    ASSERT_TRUE(top);
    EXPECT_EQ(top->name, "my_scan");
    auto& t = static_cast<DagNode&>(*top);
    EXPECT_TRUE(t.parent && t.parent->isWorld());
    ASSERT_EQ(t.children.size(), 1u);
    auto& shape = static_cast<MeshShape&>(*t.children[0]);
    EXPECT_EQ(shape.name, "my_scanShape");
    EXPECT_FALSE(shape.hasHistory());
    EXPECT_EQ(setMembers(*find("initialShadingGroup")), std::vector<Node*>{&shape});

    const MeshGeometry& g = geometryOf(*top);
    EXPECT_EQ(g.polygonCounts(), (std::vector<int>{4, 5, 3}));
    EXPECT_EQ(g.polygonConnects(), (std::vector<int>{0, 1, 2, 3, 1, 4, 5, 6, 2, 3, 2, 6}));
    ASSERT_EQ(g.numVertices(), 7);
    EXPECT_EQ(g.point(1).x, 0.1 + 0.2);
    EXPECT_TRUE(std::signbit(g.point(2).z));
    EXPECT_EQ(g.point(4).z, 1e-300);
    EXPECT_EQ(g.numUVs(), 5);
    std::vector<int> uvCounts, uvIds;
    ASSERT_TRUE(g.getAssignedUVs(uvCounts, uvIds));
    EXPECT_EQ(uvCounts, (std::vector<int>{4, 5, 0}));
    EXPECT_EQ(uvIds, (std::vector<int>{0, 1, 2, 3, 1, 4, 0, 1, 2}));
    float u, v;
    ASSERT_TRUE(g.getUV(4, u, v));
    EXPECT_EQ(u, 0.5f);
    EXPECT_EQ(v, 0.33333334f);
    // The shape shows its own geometry.
    EXPECT_TRUE(*shape.output() == g);
}

TEST_F(MeshFileTest, ImportedNamesAreValidNodeNamesNumberedOnAClash) {
    const char* tri = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
    NodePtr first = import("my-scan.obj", tri);
    NodePtr second = import("my-scan.obj", tri);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->name, "my_scan");
    EXPECT_EQ(second->name, "my_scan1");
    EXPECT_EQ(static_cast<DagNode&>(*second).children.at(0)->name, "my_scanShape1");
    NodePtr digits = import("3d model.v2.OBJ", tri);
    ASSERT_TRUE(digits);
    EXPECT_EQ(digits->name, "_3d_model_v2");
    // Shape names put "Shape" before a trailing number, as the host does (pCube1, pCubeShape1).
    EXPECT_EQ(static_cast<DagNode&>(*digits).children.at(0)->name, "_3d_model_vShape2");
    EXPECT_EQ(importedNodeName("/a/b/scan2.off"), "scan2");
    EXPECT_EQ(importedNodeName("/a/b/.obj"), "_obj");
}

TEST_F(MeshFileTest, ObjRelativeAndForwardIndicesResolveAcrossGroups) {
    NodePtr top = import("indices.obj",
                         "f 1 2 3\n"  // refers to vertices defined below
                         "v 0 0 0\nv 1 0 0\nv 0 1 0\n"
                         "g second\n"
                         "v 1 1 0\n"
                         "f -3 -1 -2\n"
                         "f 2//1 4//1 3//1\n");
    ASSERT_TRUE(top);
    const MeshGeometry& g = geometryOf(*top);
    EXPECT_EQ(g.polygonCounts(), (std::vector<int>{3, 3, 3}));
    EXPECT_EQ(g.polygonConnects(), (std::vector<int>{0, 1, 2, 1, 3, 2, 1, 3, 2}));
    EXPECT_EQ(g.numUVs(), 0);
}

TEST_F(MeshFileTest, PolygonsWithHundredsOfCornersStayWhole) {
    std::string text;
    const int n = 300;
    for (int i = 0; i < n; ++i)
        text += "v " + std::to_string(std::cos(i * 2 * M_PI / n)) + " " +
                std::to_string(std::sin(i * 2 * M_PI / n)) + " 0\n";
    text += "f";
    for (int i = 1; i <= n; ++i) text += " " + std::to_string(i);
    text += "\nf 1 2 3\n";
    NodePtr top = import("disc.obj", text);
    ASSERT_TRUE(top);
    EXPECT_EQ(geometryOf(*top).polygonCounts(), (std::vector<int>{300, 3}));
}

// The reader takes the file a block (1 MiB) at a time: lines that straddle
// blocks, lines longer than a block and a last line without its line end
// read as in one piece, and refusals keep the file's own line numbers.
TEST_F(MeshFileTest, ObjLinesAcrossReadBlocksReadWholeWithTheirLineNumbers) {
    std::string text = "# " + std::string(3 << 20, 'x') + "\n";  // longer than a block
    int line = 1;
    for (int i = 0; i < 60000; ++i, ++line)
        text += "v " + std::to_string(i) + ".30000000000000004 " + std::to_string(i % 7) + " -0\n";
    std::string faces;
    for (int i = 1; i + 2 <= 60000; i += 3)
        faces += "f " + std::to_string(i) + " " + std::to_string(i + 1) + " " +
                 std::to_string(i + 2) + "\n";
    NodePtr top = import("blocks.obj", text + faces + "f 1 2 4");  // no final line end
    ASSERT_TRUE(top);
    const MeshGeometry& g = geometryOf(*top);
    ASSERT_EQ(g.numVertices(), 60000);
    EXPECT_EQ(g.numFaces(), 20001);
    EXPECT_EQ(g.point(59999).x, 59999.30000000000000004);
    EXPECT_TRUE(std::signbit(g.point(12345).z));
    EXPECT_EQ(g.faceVertices(20000)[2], 3);

    // A refusal far into the file names its line.
    std::string error;
    const std::string bad = write("late.obj", text + "v 1 2\n" + faces);
    EXPECT_FALSE(importMesh(bad, &error));
    EXPECT_EQ(error, bad + ": line " + std::to_string(line + 1) +
                         ": the line ends where coordinate was expected");
}

// ---------------------------------------------------------------- OFF import

TEST_F(MeshFileTest, OffImportReadsHeaderCommentsAndColours) {
    NodePtr top = import("box.off",
                         "OFF\n"
                         "# four points, two faces\n"
                         "5 2 0\n"
                         "0 0 0\n"
                         "1 0 0   # trailing comment\n"
                         "1 1 0.30000000000000004\n"
                         "0 1 0\n"
                         "2 2 2\n"
                         "4 0 1 2 3 255 0 0\n"
                         "3 1 4 2\n");
    ASSERT_TRUE(top);
    EXPECT_EQ(top->name, "box");
    const MeshGeometry& g = geometryOf(*top);
    EXPECT_EQ(g.polygonCounts(), (std::vector<int>{4, 3}));
    EXPECT_EQ(g.polygonConnects(), (std::vector<int>{0, 1, 2, 3, 1, 4, 2}));
    EXPECT_EQ(g.point(2).z, 0.1 + 0.2);

    NodePtr coloured = import("coloured.off",
                              "COFF 3 1 3\n0 0 0 1 0 0 1\n1 0 0 0 1 0 1\n0 1 0 0 0 1 1\n3 0 1 2\n");
    ASSERT_TRUE(coloured);
    EXPECT_EQ(geometryOf(*coloured).numVertices(), 3);
    NodePtr bare = import("bare.off", "3 1\n0 0 0\n1 0 0\n0 1 0\n3 2 1 0\n");
    ASSERT_TRUE(bare);
    EXPECT_EQ(geometryOf(*bare).polygonConnects(), (std::vector<int>{2, 1, 0}));
}

// ---------------------------------------------------------------- refusals

struct BadFile {
    const char* name;
    const char* text;
    int line;  // 0 when the error has no line
    const char* expected;
};

const BadFile kBadObj[] = {
    {"zero.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 0 1 2\n", 4, "OBJ indices start at 1"},
    {"range.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 4\n", 4, "vertex index 4 is out of range"},
    {"relative.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf -1 -2 -4\n", 4, "reaches before the first one"},
    {"forward.obj", "v 0 0 0\nf 1 2 3\nv 1 0 0\nv 0 1 0\nf 1 2 9\n", 5,
     "vertex index 9 is out of range"},
    {"nan.obj", "v 0 0 0\nv nan 0 0\nv 0 1 0\nf 1 2 3\n", 2, "not a finite number"},
    {"inf.obj", "v 0 0 0\nv 1 0 0\nv 0 -inf 0\nf 1 2 3\n", 3, "not a finite number"},
    {"short.obj", "v 0 0 0\nv 1 0\nv 0 1 0\nf 1 2 3\n", 2, "the line ends where"},
    {"garbage.obj", "v 0 0 0\nv 1 0 0\nv 0 1 zero\nf 1 2 3\n", 3,
     "\"zero\" is not a valid coordinate"},
    {"two.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2\n", 4, "at least 3 corners"},
    {"token.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 x\n", 4, "not a face corner"},
    {"slashes.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1/1/1/1 2 3\n", 4, "not a face corner"},
    {"repeat.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 2\n", 4, "more than once"},
    {"vt.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0.5\nf 1 2 3\n", 4, "the line ends where"},
    {"vtrange.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nf 1/1 2/1 3/2\n", 5,
     "texture coordinate index 2 is out of range"},
    {"extra.obj", "v 0 0 0 1 1 1 1 1\nv 1 0 0\nv 0 1 0\nf 1 2 3\n", 1, "unexpected"},
    {"empty.obj", "v 0 0 0\nv 1 0 0\n", 0, "no polygons"},
};

const BadFile kBadOff[] = {
    {"fewer.off", "OFF\n4 1 0\n0 0 0\n1 0 0\n0 1 0\n", 5, "ends after 3 of the 4 vertices"},
    {"faces.off", "OFF\n3 2 0\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n", 6, "ends after 1 of the 2 faces"},
    {"more.off", "OFF\n3 1 0\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n3 0 1 2\n", 7,
     "more data than the header's counts"},
    {"range.off", "OFF\n3 1 0\n0 0 0\n1 0 0\n0 1 0\n3 0 1 3\n", 6, "vertex id 3 is out of range"},
    {"two.off", "OFF\n3 1 0\n0 0 0\n1 0 0\n0 1 0\n2 0 1\n", 6, "at least 3 corners"},
    {"short.off", "OFF\n3 1 0\n0 0 0\n1 0\n0 1 0\n3 0 1 2\n", 4, "the line ends where"},
    {"truncated.off", "OFF\n3 1 0\n0 0 0\n1 0 0\n0 1 0\n4 0 1 2\n", 6, "the line ends where"},
    {"nan.off", "OFF\n3 1 0\n0 0 0\n1 nan 0\n0 1 0\n3 0 1 2\n", 4, "not a finite number"},
    {"counts.off", "OFF\n3 one 0\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n", 2, "not a valid face count"},
    {"negative.off", "OFF\n-3 1 0\n", 2, "cannot be negative"},
    {"repeat.off", "OFF\n3 1 0\n0 0 0\n1 0 0\n0 1 0\n3 0 1 1\n", 6, "more than once"},
    {"dim.off", "4OFF\n3 1 0\n", 1, "unsupported OFF variant"},
    {"nofaces.off", "OFF\n3 0 0\n0 0 0\n1 0 0\n0 1 0\n", 0, "no polygons"},
};

TEST_F(MeshFileTest, BadMeshFilesAreRefusedWithFileAndLineAndAddNothing) {
    transform("keeper");
    const std::vector<std::string> before = nodeNames();
    std::vector<BadFile> all(std::begin(kBadObj), std::end(kBadObj));
    all.insert(all.end(), std::begin(kBadOff), std::end(kBadOff));
    for (const BadFile& b : all) {
        SCOPED_TRACE(b.name);
        std::string path = write(b.name, b.text), error;
        EXPECT_FALSE(importMesh(path, &error));
        std::string where = path + ": " + (b.line ? "line " + std::to_string(b.line) + ": " : "");
        EXPECT_EQ(error.rfind(where, 0), 0u) << error;
        EXPECT_NE(error.find(b.expected), std::string::npos) << error;
        EXPECT_EQ(nodeNames(), before);
        EXPECT_TRUE(setMembers(*find("initialShadingGroup")).empty());
    }
}

TEST_F(MeshFileTest, MissingAndUnknownFilesAreRefused) {
    const std::vector<std::string> before = nodeNames();
    std::string error;
    std::string missing = (dir_ / "absent.obj").string();
    EXPECT_FALSE(importMesh(missing, &error));
    EXPECT_NE(error.find(missing), std::string::npos) << error;
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;
    std::string stl = write("part.stl", "solid part\nendsolid part\n");
    EXPECT_FALSE(importMesh(stl, &error));
    EXPECT_NE(error.find("unknown mesh file type \".stl\""), std::string::npos) << error;
    EXPECT_EQ(nodeNames(), before);
}

// ---------------------------------------------------------------- OBJ export

MeshGeometry texturedQuads() {
    MeshGeometry g;
    EXPECT_TRUE(g.create({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 0, 0.1}, {2, 1, -0.1}},
                         {4, 4, 3}, {0, 1, 2, 3, 1, 4, 5, 2, 0, 2, 3}));
    EXPECT_TRUE(g.setUVs({0, 0.5f, 0.5f, 0, 1, 1.0f / 3}, {0, 0, 1, 1, 0, 1}));
    EXPECT_TRUE(g.assignUVs({4, 4, 0}, {0, 1, 2, 3, 1, 4, 5, 2}));
    return g;
}

MeshGeometry prism(const char* currentSet) {
    MeshGeometry g;
    EXPECT_TRUE(g.create({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {3, 3, 3, 3},
                         {0, 2, 1, 0, 1, 3, 1, 2, 3, 0, 3, 2}));
    EXPECT_TRUE(g.createUVSet("atlas"));
    EXPECT_TRUE(g.setUVs({0.25f, 0.75f, 0.5f}, {0.1f, 0.1f, 0.9f}, "atlas"));
    EXPECT_TRUE(g.assignUVs({3, 3, 3, 3}, {0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2}, "atlas"));
    if (currentSet) {
        EXPECT_TRUE(g.setCurrentUVSet(currentSet));
    }
    return g;
}

std::vector<Vec3> worldPoints(MeshShape& shape) {
    std::vector<Vec3> out;
    MMatrix m = shape.worldMatrix();
    for (const Vec3& p : shape.output()->points()) {
        MPoint w = MPoint(p.x, p.y, p.z) * m;
        out.push_back({w.x, w.y, w.z});
    }
    return out;
}

TEST_F(MeshFileTest, ExportedObjReadsBackInWorldSpaceWithTheCurrentUVSet) {
    DagNode* rig = transform("rig");
    set(*rig, "rotate", {0.3, -1.1, 2.0});
    set(*rig, "scale", {1.5, 0.1 + 0.2, -2});
    DagNode* wall = transform("wall", rig);
    set(*wall, "translate", {0.1, -7, 1e-3});
    MeshShape* wallShape = meshUnder(wall, "wallShape", texturedQuads());
    set(*wallShape, "pnts[4]", {0, 0.25, 0});
    MeshShape* orig = meshUnder(wall, "wallOrig", prism(nullptr));
    set(*orig, "intermediateObject", {1});  // hidden: not exported
    DagNode* roof = transform("roof");
    set(*roof, "translate", {3, 0, 0});
    MeshShape* roofShape = meshUnder(roof, "roofShape", prism("atlas"));

    std::string error, path = (dir_ / "out.obj").string();
    ASSERT_TRUE(exportMeshObj({wall, roofShape}, path, &error)) << error;
    std::string text = read("out.obj");
    EXPECT_NE(text.find("o wallShape\n"), std::string::npos);
    EXPECT_NE(text.find("o roofShape\n"), std::string::npos);
    EXPECT_EQ(text.find("wallOrig"), std::string::npos);

    // What the file should read back as: both meshes in world space, one
    // after the other, with each mesh's current UV set as the default set.
    std::vector<Vec3> points = worldPoints(*wallShape);
    for (const Vec3& p : worldPoints(*roofShape)) points.push_back(p);
    MeshGeometry expected;
    ASSERT_TRUE(expected.create(points, {4, 4, 3, 3, 3, 3, 3}, {0, 1, 2, 3, 1, 4, 5, 2, 0, 2, 3, 6,
                                                                8, 7, 6, 7, 9, 7, 8, 9, 6, 9, 8}));
    ASSERT_TRUE(expected.setUVs({0, 0.5f, 0.5f, 0, 1, 1.0f / 3, 0.25f, 0.75f, 0.5f},
                                {0, 0, 1, 1, 0, 1, 0.1f, 0.1f, 0.9f}));
    ASSERT_TRUE(expected.assignUVs({4, 4, 0, 3, 3, 3, 3},
                                   {0, 1, 2, 3, 1, 4, 5, 2, 6, 7, 8, 6, 7, 8, 6, 7, 8, 6, 7, 8}));

    NodePtr back = importMesh(path, &error);
    ASSERT_TRUE(back) << error;
    EXPECT_TRUE(geometryOf(*back) == expected);
    EXPECT_EQ(geometryOf(*back).point(4).y, points[4].y) << "bit for bit through the text";
}

TEST_F(MeshFileTest, ExportRefusalsLeaveThePreviousFile) {
    DagNode* empty = transform("empty");
    DagNode* t = transform("t");
    meshUnder(t, "tShape", texturedQuads());
    std::string error, path = write("out.obj", "previous\n");
    EXPECT_FALSE(exportMeshObj({t, empty}, path, &error));
    EXPECT_NE(error.find("empty has no mesh to export"), std::string::npos) << error;
    EXPECT_FALSE(exportMeshObj({find("initialShadingGroup")}, path, &error));
    EXPECT_NE(error.find("neither a mesh nor a transform"), std::string::npos) << error;
    EXPECT_FALSE(exportMeshObj({}, path, &error));
    EXPECT_NE(error.find("nothing to export"), std::string::npos) << error;
    EXPECT_EQ(read("out.obj"), "previous\n");
    EXPECT_FALSE(exportMeshObj({t}, (dir_ / "missing" / "out.obj").string(), &error));
    EXPECT_NE(error.find("does not exist"), std::string::npos) << error;
    // And a successful export replaces it.
    ASSERT_TRUE(exportMeshObj({t}, path, &error)) << error;
    EXPECT_EQ(read("out.obj").rfind("o tShape\n", 0), 0u);
}

}  // namespace
