// Scene files: exact round trips, saves that fail without harm, and files
// refused with the line at fault while the open scene stays as it was.

#include <maya/MFnGenericAttribute.h>
#include <maya/MFnMatrixAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MPxNode.h>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

#include "host/src/dag/ComponentListData.h"
#include "host/src/dag/DagOps.h"
#include "host/src/dg/MeshData.h"
#include "host/src/dg/Scene.h"
#include "host/src/io/SceneFile.h"
#include "host/src/nodes/MeshShape.h"
#include "host/src/nodes/ObjectSet.h"
#include "host/src/plugin/PluginNodes.h"
#include "host/src/plugin/Plugins.h"
#include "tests/host/HostFixture.h"

namespace {

namespace fs = std::filesystem;
using namespace ehost;

// ---------------------------------------------------------------- a plug-in style node

//! Holds one attribute of every kind a scene file stores.
class Probe : public MPxNode {
public:
    static void* creator() { return new Probe; }
    static MStatus initialize() {
        MFnNumericAttribute n;
        MFnTypedAttribute t;
        MFnGenericAttribute g;
        MFnMatrixAttribute m;
        MObject attrs[] = {
            n.create("weight", "w", MFnNumericData::kDouble, 0.5),
            n.create("count", "cnt", MFnNumericData::kInt, 0),
            n.create("tint", "tn", MFnNumericData::k3Float, 0),
            t.create("label", "lb", MFnData::kString),
            t.create("points", "pts", MFnData::kPointArray),
            t.create("ids", "ids", MFnData::kIntArray),
            t.create("weights", "wts", MFnData::kDoubleArray),
            t.create("fweights", "fwt", MFnData::kFloatArray),
            t.create("dirs", "drs", MFnData::kVectorArray),
            t.create("names", "nms", MFnData::kStringArray),
            t.create("shape", "shp", MFnData::kMesh),
            m.create("xform", "xf"),
            g.create("input", "in"),
            n.create("scratch", "scr", MFnNumericData::kDouble, 0),
            n.create("samples", "smp", MFnNumericData::kDouble, 0),
            t.create("parts", "prt", MFnData::kComponentList),
        };
        MFnGenericAttribute(attrs[12]).addAccept(MFnData::kMesh);
        MFnGenericAttribute(attrs[12]).addAccept(MFnData::kNumeric);
        MFnNumericAttribute(attrs[13]).setStorable(false);
        MFnNumericAttribute(attrs[14]).setArray(true);
        for (const MObject& a : attrs) addAttribute(a);
        return MStatus::kSuccess;
    }
};

// ---------------------------------------------------------------- scene building

NodeClass& type(const char* name) {
    return *session().registry().findClass(name);
}

Node& node(const std::string& name) {
    Node* n = session().scene().find(name);
    if (!n) throw std::runtime_error("no node " + name);
    return *n;
}

DagNode* transform(const std::string& name, DagNode* parent = nullptr) {
    MStatus st;
    Created c = createNode(type("transform"), name, parent, &st);
    EXPECT_TRUE(st) << st.errorString();
    return static_cast<DagNode*>(c.node.get());
}

PlugAddr plug(Node& n, const std::string& name) {
    PlugAddr a;
    std::string error;
    EXPECT_TRUE(parsePlugName(*n.cls, name, a, error)) << error;
    return a;
}

void set(Node& n, const std::string& name, std::initializer_list<double> values) {
    writeNumeric(n, plug(n, name), values.begin(), static_cast<int>(values.size()));
}

void setData(Node& n, const std::string& name, DataPtr data) {
    writeData(n, plug(n, name), std::move(data));
}

void link(const std::string& from, const std::string& to) {
    auto split = [](const std::string& s) {
        auto dot = s.find('.');
        Node& n = node(s.substr(0, dot));
        return PlugRef{&n, plug(n, s.substr(dot + 1))};
    };
    MStatus st = connect(split(from), split(to));
    ASSERT_TRUE(st) << st.errorString();
}

//! A mesh shape under a new transform, holding geometry as its own.
MeshShape* mesh(const std::string& name, const MeshGeometry& g, DagNode* parent = nullptr) {
    DagNode* t = parent ? parent : transform(name);
    MStatus st;
    Created c = createNode(type("mesh"), name + "Shape", t, &st);
    EXPECT_TRUE(st) << st.errorString();
    auto* shape = static_cast<MeshShape*>(c.node.get());
    setData(*shape, "cachedInMesh", std::make_shared<MeshData>(std::make_shared<MeshGeometry>(g)));
    return shape;
}

//! A 3 x 2 grid of quads with a second UV set and two hard edges.
MeshGeometry gridMesh() {
    std::vector<Vec3> points;
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 4; ++i) points.push_back({i * 0.1, j * 0.3, (i + j) * 1e-3});
    std::vector<int> counts, connects;
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 3; ++i) {
            counts.push_back(4);
            int a = j * 4 + i;
            connects.insert(connects.end(), {a, a + 1, a + 5, a + 4});
        }
    MeshGeometry g;
    EXPECT_TRUE(g.create(points, counts, connects));
    std::vector<float> u, v;
    for (const Vec3& p : points) {
        u.push_back(static_cast<float>(p.x) / 3.0f);
        v.push_back(static_cast<float>(p.y) / 7.0f);
    }
    EXPECT_TRUE(g.setUVs(u, v));
    std::vector<int> uvCounts = {4, 4, 0, 4, 4, 4}, uvIds;
    for (int f = 0; f < 6; ++f)
        if (uvCounts[f])
            for (int id : g.faceVertices(f)) uvIds.push_back(id);
    EXPECT_TRUE(g.assignUVs(uvCounts, uvIds));
    EXPECT_TRUE(g.createUVSet("unwrap \"B\""));
    EXPECT_TRUE(g.setUVs({0.25f, 0.5f, 0.75f, 1.0f}, {0, 0.5f, 1, -0.0f}, "unwrap \"B\""));
    EXPECT_TRUE(g.assignUVs({0, 4, 0, 0, 0, 0}, {0, 1, 2, 3}, "unwrap \"B\""));
    EXPECT_TRUE(g.setCurrentUVSet("unwrap \"B\""));
    EXPECT_TRUE(g.setEdgeSmoothing(g.findEdge(1, 5), false));
    EXPECT_TRUE(g.setEdgeSmoothing(g.findEdge(6, 10), false));
    return g;
}

// ---------------------------------------------------------------- a deep image of the scene

struct ValueImage {
    std::string plug;
    std::vector<double> numbers;
    DataPtr data;
};

struct NodeImage {
    std::string type, name, parent;
    std::vector<std::string> children;
    std::vector<ValueImage> values;
};

//! Everything a round trip must keep: nodes in order with names, DAG
//! parents and child order, every storable value (defaults included) and
//! every connection.
struct SceneImage {
    std::vector<NodeImage> nodes;
    std::vector<std::string> worldChildren, connections;
};

bool connectedHere(const Node& n, const PlugAddr& a) {
    return n.inputs.count(a) > 0;
}

void captureValue(const Node& n, const PlugAddr& addr, const Cell& c,
                  std::vector<ValueImage>& out) {
    const Attribute& a = *addr.attr;
    if (connectedHere(n, addr)) return;
    if (a.isCompound()) {
        bool childConnected = false;
        for (auto& k : a.children)
            childConnected |= connectedHere(n, PlugAddr{k.get(), addr.index});
        if (childConnected) {
            for (std::size_t k = 0; k < a.children.size(); ++k)
                if (!connectedHere(n, PlugAddr{a.children[k].get(), addr.index}))
                    out.push_back(
                        {plugName(PlugAddr{a.children[k].get(), addr.index}), {c.num[k]}, nullptr});
            return;
        }
        out.push_back(
            {plugName(addr), std::vector<double>(c.num, c.num + a.children.size()), nullptr});
        return;
    }
    bool numeric =
        a.kind == AttrKind::Numeric || a.kind == AttrKind::Enum || a.kind == AttrKind::Generic;
    out.push_back(
        {plugName(addr), numeric ? std::vector<double>{c.num[0]} : std::vector<double>{}, c.data});
}

std::vector<ValueImage> captureValues(Node& n) {
    std::vector<ValueImage> out;
    auto* shape = dynamic_cast<MeshShape*>(&n);
    for (int s = 0; s < n.slotCount(); ++s) {
        const Attribute& a = *n.cls->attrs[n.cls->roots[s]];
        if (!a.storable || a.kind == AttrKind::Message) continue;
        if (shape && shape->hasHistory() && &a == meshAttributes().cachedInMesh.get()) continue;
        if (!a.array) {
            captureValue(n, PlugAddr{&a, -1}, n.slot(s).cell, out);
            continue;
        }
        for (auto& [i, c] : n.slot(s).elements) captureValue(n, PlugAddr{&a, i}, c, out);
    }
    return out;
}

std::vector<std::string> childNames(const DagNode& d) {
    std::vector<std::string> names;
    for (auto& c : d.children) names.push_back(c->name);
    return names;
}

SceneImage capture() {
    SceneImage image;
    image.worldChildren = childNames(ehost::theWorld());
    for (const NodePtr& n : session().scene().nodes()) {
        NodeImage ni{n->cls->typeName, n->name, "", {}, captureValues(*n)};
        if (auto* d = dynamic_cast<DagNode*>(n.get())) {
            ni.parent = d->parent ? d->parent->name : "";
            ni.children = childNames(*d);
        }
        image.nodes.push_back(std::move(ni));
        for (auto& [addr, src] : n->inputs)
            image.connections.push_back(src.node->name + "." + plugName(src.addr) + " -> " +
                                        n->name + "." + plugName(addr));
    }
    std::sort(image.connections.begin(), image.connections.end());
    return image;
}

void expectSameScene(const SceneImage& a, const SceneImage& b) {
    EXPECT_EQ(a.worldChildren, b.worldChildren);
    EXPECT_EQ(a.connections, b.connections);
    ASSERT_EQ(a.nodes.size(), b.nodes.size());
    for (std::size_t i = 0; i < a.nodes.size(); ++i) {
        const NodeImage &x = a.nodes[i], &y = b.nodes[i];
        SCOPED_TRACE(x.name);
        EXPECT_EQ(x.type, y.type);
        EXPECT_EQ(x.name, y.name);
        EXPECT_EQ(x.parent, y.parent);
        EXPECT_EQ(x.children, y.children);
        ASSERT_EQ(x.values.size(), y.values.size());
        for (std::size_t k = 0; k < x.values.size(); ++k) {
            const ValueImage &p = x.values[k], &q = y.values[k];
            EXPECT_EQ(p.plug, q.plug);
            ASSERT_EQ(p.numbers.size(), q.numbers.size()) << p.plug;
            // memcmp must not be given the null data of empty vectors.
            if (!p.numbers.empty()) {
                EXPECT_EQ(std::memcmp(p.numbers.data(), q.numbers.data(),
                                      p.numbers.size() * sizeof(double)),
                          0)
                    << p.plug << " differs bit for bit";
            }
            ASSERT_EQ(!p.data, !q.data) << p.plug;
            if (p.data) {
                EXPECT_TRUE(p.data->sameAs(*q.data)) << p.plug;
            }
        }
    }
}

std::string readText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeText(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

// ---------------------------------------------------------------- fixture

class SceneFileTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        if (!session().registry().findClass("ioProbe")) {
            ASSERT_TRUE(registerPluginNodeType("ioProbe", MTypeId(0x7f0a10), Probe::creator,
                                               Probe::initialize, MPxNode::kDependNode, "",
                                               "ioTests"));
        }
        dir_ = fs::temp_directory_path() /
               ("tessark-io-scene-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        setSceneFileName("");
    }
    void TearDown() override {
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
        setSceneFileName("");
        HostTest::TearDown();
    }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    //! Saves, captures, opens the file again and compares with what was saved.
    SceneImage roundTrip(const std::string& name = "scene.tsk") {
        SceneImage before = capture();
        std::string error;
        EXPECT_TRUE(saveScene(path(name), &error)) << error;
        session().newScene();
        EXPECT_TRUE(openScene(path(name), &error)) << error;
        SceneImage after = capture();
        expectSameScene(before, after);
        return after;
    }

    std::vector<std::string> tempFiles() const {
        std::vector<std::string> out;
        for (auto& e : fs::directory_iterator(dir_))
            if (e.path().filename().string().find(".tmp-") != std::string::npos)
                out.push_back(e.path().string());
        return out;
    }

    fs::path dir_;
};

// ---------------------------------------------------------------- round trips

TEST_F(SceneFileTest, RoundTripKeepsTransformHierarchyAndSiblingOrder) {
    DagNode* root = transform("root");
    DagNode* arm = transform("arm", root);
    DagNode* hand = transform("hand", arm);
    transform("leg", root);
    DagNode* loose = transform("loose");
    // Parent an older node under a newer one, then put it first: neither
    // matches creation order.
    DagNode* late = transform("late");
    reparent(*loose, late);
    reparent(*hand, root, 0);
    set(*arm, "translate", {1, 2, 3});
    set(*arm, "rotate", {0.5, -0.25, 3.141592653589793});
    set(*hand, "scale", {2, 2, 0.5});
    set(*hand, "rotateOrder", {4});
    set(*root, "visibility", {0});

    roundTrip();
    EXPECT_EQ(static_cast<DagNode&>(node("loose")).fullPath(), "|late|loose");
    EXPECT_EQ(childNames(static_cast<DagNode&>(node("root"))),
              (std::vector<std::string>{"hand", "arm", "leg"}));
    EXPECT_EQ(node("hand")
                  .slot(node("hand").cls->slotOf(plug(node("hand"), "rotateOrder").attr))
                  .cell.num[0],
              4);
}

TEST_F(SceneFileTest, RoundTripKeepsMeshGeometryUVSetsHardEdgesAndTweaks) {
    MeshGeometry g = gridMesh();
    MeshShape* shape = mesh("grid", g);
    set(*shape, "pnts[5]", {0.1, 0.2, 0.3});
    set(*shape, "pnts[11]", {0, 0, 0});  // an existing element at its default still exists
    addSetMember(node("initialShadingGroup"), *shape);
    auto shown = shape->output();

    roundTrip();
    auto& loaded = static_cast<MeshShape&>(node("gridShape"));
    const auto& own = static_cast<const MeshData&>(
        *loaded.slot(loaded.cls->slotOf(meshAttributes().cachedInMesh.get())).cell.data);
    EXPECT_TRUE(own.geometry() == g);
    EXPECT_EQ(own.geometry().currentUVSetName(), "unwrap \"B\"");
    EXPECT_EQ(own.geometry().numHardEdges(), 2);
    EXPECT_EQ(loaded.elementIndices(meshAttributes().pnts.get()), (std::vector<int>{5, 11}));
    EXPECT_TRUE(*loaded.output() == *shown);
    EXPECT_EQ(setMembers(node("initialShadingGroup")), std::vector<Node*>{&loaded});
}

TEST_F(SceneFileTest, RoundTripRebuildsAMeshWithPolyTweakHistory) {
    DagNode* t = transform("ball");
    MeshShape* orig = mesh("ballOrig", gridMesh(), t);
    set(*orig, "intermediateObject", {1});
    MStatus st;
    Node* tweak = createNode(type("polyTweak"), "polyTweak1", nullptr, &st).node.get();
    Created made = createNode(type("mesh"), "ballShape", t, &st);
    auto* shape = static_cast<MeshShape*>(made.node.get());
    link("ballOrigShape.outMesh", "polyTweak1.inputPolymesh");
    link("polyTweak1.output", "ballShape.inMesh");
    set(*tweak, "tweak[3]", {0.5, -0.0, 1e-300});
    set(*shape, "pnts[0]", {0, 1, 0});
    auto shown = shape->output();  // also fills the shape's cachedInMesh, which is not saved

    std::string error;
    ASSERT_TRUE(saveScene(path("history.tsk"), &error)) << error;
    std::string text = readText(path("history.tsk"));
    EXPECT_EQ(text.find("data cachedInMesh mesh"), text.rfind("data cachedInMesh mesh"))
        << "only the shape without history stores its geometry";
    roundTrip("history.tsk");
    auto& loaded = static_cast<MeshShape&>(node("ballShape"));
    EXPECT_TRUE(loaded.hasHistory());
    EXPECT_TRUE(*loaded.output() == *shown);
}

TEST_F(SceneFileTest, RoundTripKeepsPluginNodeDataAndGenericConnections) {
    MStatus st;
    Node& p = *createNode(type("ioProbe"), "probe", nullptr, &st).node;
    mesh("source", gridMesh());
    MPointArray points;
    points.append(1, 2, 3);
    points.append(MPoint(-0.0, 1e-300, 0.1 + 0.2, 0.5));
    setData(p, "points", std::make_shared<PointArrayData>(points));
    MIntArray ids;
    for (int v : {3, -7, 2147483647, -2147483647 - 1}) ids.append(v);
    setData(p, "ids", std::make_shared<IntArrayData>(ids));
    MDoubleArray weights;
    for (double v : {0.1 + 0.2, -0.0, 5e-324, std::numeric_limits<double>::infinity()})
        weights.append(v);
    setData(p, "weights", std::make_shared<DoubleArrayData>(weights));
    MFloatArray fweights;
    for (float v : {0.1f, 3.4028235e38f, -1e-45f}) fweights.append(v);
    setData(p, "fweights", std::make_shared<FloatArrayData>(fweights));
    MVectorArray dirs;
    dirs.append(MVector(0, 0, -1));
    setData(p, "dirs", std::make_shared<VectorArrayData>(dirs));
    MStringArray names;
    for (const char* s :
         {"plain", "with \"quotes\" and \\", "tab\there\nnewline", "", "caf\xc3\xa9"})
        names.append(s);
    setData(p, "names", std::make_shared<StringArrayData>(names));
    setData(p, "label", std::make_shared<StringData>(MString("rail # one")));
    MMatrix m;
    m.matrix[0][1] = 0.1 + 0.2;
    m.matrix[3][2] = -1e-300;
    setData(p, "xform", std::make_shared<MatrixData>(m));
    setData(p, "shape", std::make_shared<MeshData>(std::make_shared<MeshGeometry>(gridMesh())));
    set(p, "tint", {0.1f, 0.2f, 1.0f / 3.0f});
    set(p, "count", {-12});
    set(p, "samples[0]", {1.5});
    set(p, "samples[7]", {0});
    set(p, "scratch", {42});
    link("sourceShape.outMesh", "probe.input");

    std::string error;
    ASSERT_TRUE(saveScene(path("probe.tsk"), &error)) << error;
    std::string text = readText(path("probe.tsk"));
    EXPECT_EQ(text.find("scratch"), std::string::npos) << "non-storable values are not saved";
    EXPECT_EQ(text.find("set input"), std::string::npos);
    EXPECT_EQ(text.find("data input"), std::string::npos)
        << "a connected destination takes its value from the source";
    SceneImage before = capture();
    session().newScene();
    ASSERT_TRUE(openScene(path("probe.tsk"), &error)) << error;
    expectSameScene(before, capture());

    Node& q = node("probe");
    EXPECT_EQ(q.cell(plug(q, "scratch"), false)->num[0], 0);
    const Cell& received = evaluate(q, plug(q, "input"));
    ASSERT_TRUE(received.data);
    EXPECT_TRUE(static_cast<const MeshData&>(*received.data).geometry() == gridMesh());
}

TEST_F(SceneFileTest, RoundTripKeepsComponentLists) {
    MStatus st;
    Node& p = *createNode(type("ioProbe"), "probe", nullptr, &st).node;
    auto list = std::make_shared<ComponentListData>();
    auto vertices = std::make_shared<Component>(MFn::kMeshVertComponent);
    vertices->elements = {7, 2, 3};
    auto corners = std::make_shared<Component>(MFn::kMeshVtxFaceComponent);
    corners->elements = {4, 0};
    corners->second = {1, 2};
    list->components = {vertices, std::make_shared<Component>(MFn::kMeshEdgeComponent), corners};
    setData(p, "parts", list);
    roundTrip();
    std::string text = readText(path("scene.tsk"));
    EXPECT_NE(text.find("data parts componentList 3\nc vtx 3 7 2 3\nc e 0\nc vtxFace 2 4 1 0 2\n"),
              std::string::npos)
        << text;

    const std::string good = "c vtx 3 7 2 3";
    const size_t at = text.find(good);
    ASSERT_NE(at, std::string::npos);
    const std::string line =
        "line " + std::to_string(std::count(text.begin(), text.begin() + at, '\n') + 1);
    for (const char* bad :
         {"c vtx 2 1 1", "c vtx 1 -1", "c corner 1 1", "c vtx 2 1", "c vtx 1 1 2"}) {
        SCOPED_TRACE(bad);
        std::string broken = text;
        broken.replace(at, good.size(), bad);
        writeText(path("bad.tsk"), broken);
        std::string error;
        EXPECT_FALSE(openScene(path("bad.tsk"), &error));
        EXPECT_NE(error.find(line), std::string::npos) << error;
    }
}

TEST_F(SceneFileTest, RoundTripKeepsDoublesBitForBit) {
    DagNode* t = transform("t");
    set(*t, "translate", {0.1 + 0.2, 1e-300, -0.0});
    set(*t, "scale", {5e-324, std::numeric_limits<double>::max(), -1.0 / 3.0});
    set(*t, "rotate",
        {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
         2.5e-16});
    MStatus st;
    Node& p = *createNode(type("ioProbe"), "probe", nullptr, &st).node;
    set(p, "weight", {std::numeric_limits<double>::quiet_NaN()});
    // A translate child connected: its siblings are saved on their own.
    DagNode* u = transform("u");
    set(*u, "translate", {0.7, 1e-17, -0.0});
    link("t.translateX", "u.translateY");

    roundTrip();
    Node& loaded = node("t");
    const double* tr = loaded.cell(plug(loaded, "translate"), false)->num;
    EXPECT_EQ(tr[0], 0.1 + 0.2);
    EXPECT_NE(tr[0], 0.3);
    EXPECT_TRUE(std::signbit(tr[2]));
    EXPECT_TRUE(std::isnan(node("probe").cell(plug(node("probe"), "weight"), false)->num[0]));
}

TEST_F(SceneFileTest, NodesEveryNewSceneHasAreReusedWithTheirValuesChildrenAndMembers) {
    MeshShape* a = mesh("a", gridMesh());
    MeshShape* b = mesh("b", gridMesh());
    Node& shading = node("initialShadingGroup");
    addSetMember(shading, *a);
    addSetMember(shading, *b);
    set(shading, "caching", {1});
    auto* camera = dynamic_cast<DagNode*>(session().scene().find("persp"));
    if (camera) {
        // The default camera moved, with a node of the file under it, first among its children.
        set(*camera, "translate", {10, 0.1 + 0.2, -3});
        reparent(*transform("marker"), camera, 0);
    }
    const std::size_t count = session().scene().nodes().size();

    std::string error;
    ASSERT_TRUE(saveScene(path("defaults.tsk"), &error)) << error;
    std::string text = readText(path("defaults.tsk"));
    EXPECT_EQ(text.find("node shadingEngine"), std::string::npos);
    EXPECT_NE(text.find("edit initialShadingGroup\nset caching 1\n"), std::string::npos) << text;
    roundTrip("defaults.tsk");
    EXPECT_EQ(session().scene().nodes().size(), count);
    int shadingGroups = 0;
    for (const NodePtr& n : session().scene().nodes())
        shadingGroups += n->cls->typeName == "shadingEngine";
    EXPECT_EQ(shadingGroups, 1);
    EXPECT_EQ(setMembers(node("initialShadingGroup")).size(), 2u);
    if (camera) {
        EXPECT_EQ(static_cast<DagNode&>(node("marker")).fullPath(), "|persp|marker");
    }
}

TEST_F(SceneFileTest, SavingAnOpenedSceneWritesTheSameFile) {
    DagNode* t = transform("t");
    set(*t, "translate", {0.1, 0.2, 0.3});
    MeshShape* s = mesh("m", gridMesh(), t);
    set(*s, "pnts[2]", {1, 0, 0});
    addSetMember(node("initialShadingGroup"), *s);
    std::string error;
    ASSERT_TRUE(saveScene(path("first.tsk"), &error)) << error;
    ASSERT_TRUE(openScene(path("first.tsk"), &error)) << error;
    ASSERT_TRUE(saveScene(path("second.tsk"), &error)) << error;
    EXPECT_EQ(readText(path("first.tsk")), readText(path("second.tsk")));
}

TEST_F(SceneFileTest, TheSceneIsNamedAfterTheFileItWasOpenedFrom) {
    transform("t");
    std::string error;
    EXPECT_FALSE(saveCurrentScene(&error));
    EXPECT_NE(error.find("no file name"), std::string::npos) << error;
    setSceneFileName(path("named.tsk"));
    ASSERT_TRUE(saveCurrentScene(&error)) << error;
    setSceneFileName("");
    ASSERT_TRUE(openScene(path("named.tsk"), &error)) << error;
    EXPECT_EQ(sceneFileName(), path("named.tsk"));
    // A plain save of an explicit path does not rename the scene.
    ASSERT_TRUE(saveScene(path("copy.tsk"), &error)) << error;
    EXPECT_EQ(sceneFileName(), path("named.tsk"));
}

TEST_F(SceneFileTest, TheFormatReadsAsDocumented) {
    writeText(path("hand.tsk"),
              "tessark scene 1\n"
              "# a comment\n"
              "node transform box\n"
              "set translate 1 2 3\r\n"
              "node mesh boxShape box\n"
              "data cachedInMesh mesh\n"
              "points 4\n"
              "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
              "faces 1\n"
              "f 0 1 2 3\n"
              "uvset \"map1\" 0 0\n"
              "current \"map1\"\n"
              "hard 1 2\n"
              "end\n"
              "\n"
              "connect boxShape.instObjGroups[0] initialShadingGroup.dagSetMembers[0]\n");
    std::string error;
    ASSERT_TRUE(openScene(path("hand.tsk"), &error)) << error;
    auto& shape = static_cast<MeshShape&>(node("boxShape"));
    EXPECT_EQ(shape.parent, &node("box"));
    EXPECT_EQ(shape.output()->numFaces(), 1);
    EXPECT_FALSE(shape.output()->isEdgeSmooth(2));
    EXPECT_EQ(node("box").cell(plug(node("box"), "translate"), false)->num[2], 3);
    EXPECT_EQ(setMembers(node("initialShadingGroup")), std::vector<Node*>{&shape});
}

#ifdef TESSARK_TEST_PLUGIN_DIR
TEST_F(SceneFileTest, RequiredPlugInsAreNamedAndLoadedOnOpen) {
    setPluginPath({TESSARK_TEST_PLUGIN_DIR});
    ASSERT_TRUE(loadPlugin("hostTestPlugin"));
    MStatus st;
    Node& scaler = *createNode(type("hostTestScale"), "scaler", nullptr, &st).node;
    set(scaler, "factor", {3});
    std::string error;
    ASSERT_TRUE(saveScene(path("plugin.tsk"), &error)) << error;
    EXPECT_EQ(
        readText(path("plugin.tsk")).find("tessark scene 1\nrequires \"hostTestPlugin\" \"1.2\"\n"),
        0u);
    SceneImage before = capture();
    session().newScene();
    ASSERT_TRUE(unloadPlugin("hostTestPlugin"));

    EXPECT_TRUE(openScene(path("plugin.tsk"), &error)) << error;
    EXPECT_TRUE(isPluginLoaded("hostTestPlugin"));
    expectSameScene(before, capture());
    session().newScene();
    unloadPlugin("hostTestPlugin");
    setPluginPath({});
}
#endif

TEST_F(SceneFileTest, ANodeTakingTheNameOfANewScenesNodeIsRefusedOnSave) {
    removeNodes({&node("initialShadingGroup")});
    transform("initialShadingGroup");
    std::string error;
    EXPECT_FALSE(saveScene(path("clash.tsk"), &error));
    EXPECT_NE(
        error.find("initialShadingGroup is the name of the shadingEngine every new scene has"),
        std::string::npos)
        << error;
    EXPECT_FALSE(fs::exists(path("clash.tsk")));
    EXPECT_TRUE(tempFiles().empty());
}

TEST_F(SceneFileTest, ANewScenesOwnNodeCanBeAParentWithoutValues) {
    if (!session().scene().find("persp")) GTEST_SKIP() << "new scenes have no default camera";
    writeText(path("under.tsk"), "tessark scene 1\nnode transform marker persp\n");
    std::string error;
    ASSERT_TRUE(openScene(path("under.tsk"), &error)) << error;
    EXPECT_EQ(static_cast<DagNode&>(node("marker")).fullPath(), "|persp|marker");
}

// ---------------------------------------------------------------- failing saves

TEST_F(SceneFileTest, SaveIntoAMissingDirectoryFailsAndWritesNothing) {
    transform("t");
    std::string error;
    MStatus st = saveScene(path("missing/scene.tsk"), &error);
    EXPECT_FALSE(st);
    EXPECT_NE(error.find("does not exist"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(path("missing")));
}

TEST_F(SceneFileTest, SaveUnderARegularFileFailsAndLeavesItAlone) {
    writeText(path("plain"), "not a directory");
    transform("t");
    std::string error;
    EXPECT_FALSE(saveScene(path("plain/scene.tsk"), &error));
    EXPECT_NE(error.find("not a directory"), std::string::npos) << error;
    EXPECT_EQ(readText(path("plain")), "not a directory");
}

TEST_F(SceneFileTest, SaveOntoADirectoryFails) {
    fs::create_directory(path("taken.tsk"));
    std::string error;
    EXPECT_FALSE(saveScene(path("taken.tsk"), &error));
    EXPECT_NE(error.find("is a directory"), std::string::npos) << error;
    EXPECT_TRUE(tempFiles().empty());
}

TEST_F(SceneFileTest, SaveIntoAReadOnlyDirectoryKeepsThePreviousFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
    transform("t");
    std::string error;
    ASSERT_TRUE(saveScene(path("scene.tsk"), &error)) << error;
    std::string previous = readText(path("scene.tsk"));
    transform("u");
    fs::permissions(dir_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_FALSE(saveScene(path("scene.tsk"), &error));
    EXPECT_NE(error.find("permission"), std::string::npos) << error;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
    EXPECT_EQ(readText(path("scene.tsk")), previous);
}

TEST_F(SceneFileTest, SaveFailingHalfWayKeepsThePreviousFileAndLeavesNoTemporary) {
    transform("small");
    std::string error;
    ASSERT_TRUE(saveScene(path("scene.tsk"), &error)) << error;
    std::string previous = readText(path("scene.tsk"));
    ASSERT_TRUE(previous.size() < 4096);
    // Big enough to need several writes, so that the file limit cuts it off mid-way.
    std::vector<Vec3> points(60000);
    for (std::size_t i = 0; i < points.size(); ++i) points[i] = {i * 0.1, 1.0 / (i + 1), -0.5 * i};
    MeshGeometry big;
    ASSERT_TRUE(big.create(points, {3}, {0, 1, 2}));
    mesh("big", big);

    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 1 << 20;
    ::setrlimit(RLIMIT_FSIZE, &small);
    MStatus st = saveScene(path("scene.tsk"), &error);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(st);
    EXPECT_NE(error.find("previous file is unchanged"), std::string::npos) << error;
    EXPECT_EQ(readText(path("scene.tsk")), previous);
    EXPECT_TRUE(tempFiles().empty());
    // Without the limit the same save goes through and replaces the file.
    ASSERT_TRUE(saveScene(path("scene.tsk"), &error)) << error;
    EXPECT_GT(readText(path("scene.tsk")).size(), 1u << 20);
    EXPECT_TRUE(tempFiles().empty());
}

// ---------------------------------------------------------------- refused files

struct Refusal {
    const char* what;
    int line;                 // the line to replace (1-based), 0 to replace nothing
    const char* replacement;  // the new line, or nullptr to cut the file after line - 1
    int expectedLine;
    const char* expectedText;
};

// A valid file; each refusal changes one line of it.
const std::vector<std::string> kValidLines = {
    "tessark scene 1",                                                         // 1
    "node transform box",                                                      // 2
    "set translate 1 2 3",                                                     // 3
    "node mesh boxShape box",                                                  // 4
    "data cachedInMesh mesh",                                                  // 5
    "points 4",                                                                // 6
    "v 0 0 0",                                                                 // 7
    "v 1 0 0",                                                                 // 8
    "v 1 1 0",                                                                 // 9
    "v 0 1 0",                                                                 // 10
    "faces 1",                                                                 // 11
    "f 0 1 2 3",                                                               // 12
    "uvset \"map1\" 0 0",                                                      // 13
    "current \"map1\"",                                                        // 14
    "hard 0",                                                                  // 15
    "end",                                                                     // 16
    "connect boxShape.instObjGroups[0] initialShadingGroup.dagSetMembers[0]",  // 17
    "connect box.message initialShadingGroup.dnSetMembers[0]",                 // 18
};

const Refusal kRefusals[] = {
    {"not a scene file", 1, "hello world", 1, "not a scene file"},
    {"newer format", 1, "tessark scene 2", 1, "newer than this host reads"},
    {"unknown statement", 3, "sett translate 1 2 3", 3, "unknown statement \"sett\""},
    {"unknown node type", 2, "node florp box", 2, "unknown node type \"florp\""},
    {"invalid node name", 2, "node transform 3box", 2, "starts with a digit"},
    {"duplicate name", 4, "node mesh box box", 4, "already defined at line 2"},
    {"new-scene node defined again", 2, "node shadingEngine initialShadingGroup", 2,
     "every new scene has"},
    {"missing plug-in", 2, "requires \"noSuchPlugin\" \"1.0\"", 2, "noSuchPlugin"},
    {"bad number", 3, "set translate 1 x 3", 3, "\"x\" is not a valid number"},
    {"truncated line", 3, "set translate 1 2", 3, "the line ends where"},
    {"extra number", 3, "set translate 1 2 3 4", 3, "the line has more"},
    {"unknown attribute", 3, "set translat 1 2 3", 3, "no attribute \"translat\""},
    {"value out of the type", 3, "set visibility 0.5", 3, "cannot hold"},
    {"numbers for data", 17, "set cachedInMesh 1", 17, "holds data, not numbers"},
    {"data for numbers", 3, "data translate string \"a\"", 3, "holds numbers"},
    {"message has no value", 3, "set instObjGroups[0] 1", 3, "message attribute"},
    {"whole array", 17, "set pnts 1 2 3", 17, "is an array"},
    {"wrong data type", 5, "data cachedInMesh string \"x\"", 5, "does not take string data"},
    {"unknown data type", 5, "data cachedInMesh blob", 5, "unknown data type \"blob\""},
    {"vertex out of range", 12, "f 0 1 9", 12, "out of range"},
    {"too few corners", 12, "f 0 1", 12, "at least 3"},
    {"mesh that fails to build", 12, "f 0 1 2 1", 11, "invalid mesh"},
    {"bad coordinate", 8, "v 1 0 zero", 8, "\"zero\" is not a valid coordinate"},
    {"section out of place", 7, "faces 1", 7, "expected \"v\""},
    {"unknown current UV set", 14, "current \"nope\"", 14, "invalid mesh"},
    {"hard edge out of range", 15, "hard 1 7", 15, "invalid mesh"},
    {"file ends inside a mesh", 10, nullptr, 9, "the file ends inside the mesh begun at line 5"},
    {"shape without parent", 4, "node mesh boxShape", 4, "needs a transform parent"},
    {"unknown parent", 4, "node mesh boxShape nowhere", 4, "no node named nowhere"},
    {"unknown node in a connection", 17,
     "connect ghost.message initialShadingGroup.dnSetMembers[0]", 17, "no node named ghost"},
    {"mismatched connection", 17, "connect box.translate boxShape.inMesh", 17,
     "types do not match"},
    {"connection without an element", 17,
     "connect boxShape.instObjGroups initialShadingGroup.dagSetMembers[0]", 17,
     "element by element"},
    {"second input", 18, "connect box.message initialShadingGroup.dagSetMembers[0]", 18,
     "already has an input"},
    {"malformed plug", 18, "connect box initialShadingGroup.dnSetMembers[0]", 18,
     "is not NODE.PLUG"},
};

std::string variant(const Refusal& r) {
    std::string text;
    for (int i = 1; i <= static_cast<int>(kValidLines.size()); ++i) {
        if (i == r.line && !r.replacement) break;
        text += i == r.line ? r.replacement : kValidLines[i - 1];
        text += '\n';
    }
    return text;
}

TEST_F(SceneFileTest, TheUnchangedRefusalBaseOpens) {
    Refusal none{"none", 0, "", 0, ""};
    writeText(path("valid.tsk"), variant(none));
    std::string error;
    EXPECT_TRUE(openScene(path("valid.tsk"), &error)) << error;
    EXPECT_EQ(setMembers(node("initialShadingGroup")).size(), 2u);
}

TEST_F(SceneFileTest, MalformedFilesAreRefusedWithTheirLineAndTheSceneStaysAsItWas) {
    DagNode* keeper = transform("keeper");
    set(*keeper, "translate", {4, 5, 6});
    setSceneFileName("/somewhere/current.tsk");
    SceneImage before = capture();
    for (const Refusal& r : kRefusals) {
        SCOPED_TRACE(r.what);
        writeText(path("bad.tsk"), variant(r));
        std::string error;
        EXPECT_FALSE(openScene(path("bad.tsk"), &error));
        std::string where = path("bad.tsk") + ": line " + std::to_string(r.expectedLine) + ": ";
        EXPECT_EQ(error.rfind(where, 0), 0u) << error;
        EXPECT_NE(error.find(r.expectedText), std::string::npos) << error;
        expectSameScene(before, capture());
        EXPECT_EQ(sceneFileName(), "/somewhere/current.tsk");
    }
}

TEST_F(SceneFileTest, StructuralRefusalsNameTheLine) {
    transform("keeper");
    SceneImage before = capture();
    struct Case {
        std::string text, expected;
    } cases[] = {
        {"", "line 1: the file is empty"},
        {"tessark scene 1\nset translate 1 2 3\n", "line 2: \"set\" must follow"},
        {"tessark scene 1\nnode transform a b\nnode transform b a\n", "is its own ancestor"},
        {"tessark scene 1\nnode transform a\nnode objectSet s a\n",
         "line 3: s is a dependency node"},
        {"tessark scene 1\nnode transform a\nnode transform b\norder | b c\n",
         "line 4: no node named c"},
        {"tessark scene 1\nnode transform a\nnode transform b a\norder | b a\n",
         "line 4: b is not a child of the world"},
        {"tessark scene 1\nnode transform a\nrequires \"x\" \"1\"\n",
         "line 3: \"requires\" lines must come before"},
        {"tessark scene 1\nnode ioProbe p\ndata names stringArray 2\ns \"a\"\n",
         "the file ends inside the value begun at line 3"},
        {"tessark scene 1\nnode ioProbe p\ndata label string \"open\n",
         "line 3: a string has no closing quote"},
        {"tessark scene 1\nnode ioProbe p\ndata ids Int32Array 2 1\n",
         "line 3: the line ends where"},
        {"tessark scene 1\nnode ioProbe p\ndata ids Int32Array 99999999999 1\n",
         "more than the rest of the file holds"},
        {"tessark scene 1\nnode ioProbe p\nset count 1.5\n", "line 3: p.count cannot hold 1.5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        writeText(path("bad.tsk"), c.text);
        std::string error;
        EXPECT_FALSE(openScene(path("bad.tsk"), &error));
        EXPECT_NE(error.find(c.expected), std::string::npos) << error;
        expectSameScene(before, capture());
    }
}

TEST_F(SceneFileTest, OpeningAMissingFileNamesIt) {
    std::string error;
    EXPECT_FALSE(openScene(path("absent.tsk"), &error));
    EXPECT_NE(error.find(path("absent.tsk")), std::string::npos) << error;
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;
}

}  // namespace
