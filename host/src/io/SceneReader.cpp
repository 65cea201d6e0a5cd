#include <algorithm>
#include <cmath>
#include <map>
#include <new>
#include <set>
#include <unordered_map>

#include "host/src/core/NumberText.h"
#include "host/src/dag/ComponentListData.h"
#include "host/src/dag/Dag.h"
#include "host/src/dag/Resolve.h"
#include "host/src/dg/DynamicAttributes.h"
#include "host/src/dg/MeshData.h"
#include "host/src/dg/Registry.h"
#include "host/src/dg/Scene.h"
#include "host/src/io/AttributeLines.h"
#include "host/src/io/SceneFile.h"
#include "host/src/io/SceneFormat.h"
#include "host/src/plugin/Plugins.h"

namespace ehost::io {

namespace {

std::string str(std::string_view s) {
    return std::string(s);
}

const char* roleName(NodeRole role) {
    switch (role) {
        case NodeRole::Depend:
            return "dependency";
        case NodeRole::Dag:
            return "DAG";
        case NodeRole::Transform:
            return "transform";
        case NodeRole::Shape:
            return "shape";
        case NodeRole::Locator:
            return "locator";
    }
    return "unknown";
}

}  // namespace

struct StagedScene::Impl {
    struct NodeEntry {
        NodeClass* cls = nullptr;
        //! With dynamic attributes, the entry's own copy of its type (cls),
        //! and those attributes in order.
        std::shared_ptr<NodeClass> ownClass;
        std::vector<AttrPtr> dynamic;
        std::string name, parentName;
        int parent = -1;  // index into nodes; -1 the world
        int line = 0;
        bool reused = false;  // made by every new scene: found, not created
        NodePtr node;         // set while applying
    };
    struct Value {
        int node = -1;
        PlugAddr addr;
        int count = 0;  // numbers in num; 0 for a data value
        double num[4] = {0, 0, 0, 0};
        DataPtr data;
    };
    struct Link {
        int srcNode;
        PlugAddr src;
        int dstNode;
        PlugAddr dst;
    };
    struct Order {
        int parent;  // -1 the world
        std::vector<int> children;
        int line;
    };

    std::vector<NodeEntry> nodes;
    std::unordered_map<std::string, int> byName;
    std::vector<Value> values;
    std::vector<Link> links;
    std::vector<Order> orders;
    struct State {
        int node;
        PlugAddr plug;
        PlugState state;
    };
    std::vector<State> states;
    std::set<std::pair<int, PlugAddr>> destinations;
    int current = -1;  // the node that set and data lines apply to
    bool bodyStarted = false;
    // Bare nodes of a class to ask canConnect about staged plugs without
    // creating anything in the scene (a plug-in's creator never runs).
    std::map<const NodeClass*, std::pair<NodePtr, NodePtr>> probes;

    LineScanner* in = nullptr;

    // ---------------------------------------------------------------- reading

    void read(std::string_view text) {
        LineScanner scanner(text);
        in = &scanner;
        if (!scanner.next())
            throw ParseError(1, "the file is empty: expected \"tessark scene VERSION\"");
        header();
        while (scanner.next()) statement();
        resolveParents();
        checkOrders();
    }

    void header() {
        std::string_view a, b;
        if (!in->tryToken(a) || !in->tryToken(b) || a != "tessark" || b != "scene")
            in->fail("not a scene file: the first line must be \"tessark scene VERSION\"");
        int version = in->number<int>("format version");
        in->expectLineEnd();
        if (version > kSceneFormatVersion)
            in->fail("scene format version " + std::to_string(version) +
                     " is newer than this host reads (" + std::to_string(kSceneFormatVersion) +
                     ")");
        if (version < 1) in->fail("unknown scene format version " + std::to_string(version));
    }

    void statement() {
        std::string_view keyword = in->token("a statement");
        if (keyword == "requires") return requiresLine();
        if (keyword == "node") return nodeLine();
        if (keyword == "edit") return editLine();
        if (keyword == "attr") return attrLine();
        if (keyword == "state") return stateLine();
        if (keyword == "set") return setLine();
        if (keyword == "data") return dataLine();
        if (keyword == "order") return orderLine();
        if (keyword == "connect") return connectLine();
        in->fail("unknown statement \"" + str(keyword) + "\"");
    }

    void requiresLine() {
        if (bodyStarted) in->fail("\"requires\" lines must come before the nodes");
        std::string name = in->quoted("a plug-in name");
        in->quoted("a plug-in version");
        in->expectLineEnd();
        if (isPluginLoaded(name)) return;
        MStatus st = loadPlugin(name);
        if (!st)
            in->fail("the scene needs plug-in \"" + name +
                     "\", which could not be loaded: " + statusText(st));
    }

    void checkName(const std::string& name) {
        std::string why;
        if (!Scene::validName(name, &why)) in->fail(why);
    }

    void nodeLine() {
        bodyStarted = true;
        std::string type = str(in->token("a node type"));
        NodeEntry e;
        e.name = str(in->token("a node name"));
        std::string_view parent;
        if (in->tryToken(parent)) e.parentName = str(parent);
        in->expectLineEnd();
        e.cls = theRegistry().findClass(type);
        if (!e.cls) in->fail("unknown node type \"" + type + "\"");
        checkName(e.name);
        if (madeByNewScene(e.name))
            in->fail("every new scene has a node named " + e.name +
                     ": its values are given after \"edit " + e.name + "\"");
        if (auto it = byName.find(e.name); it != byName.end())
            in->fail("a node named " + e.name + " is already defined at line " +
                     std::to_string(nodes[it->second].line));
        if (!e.parentName.empty()) checkName(e.parentName);
        e.line = in->lineNumber();
        current = add(std::move(e));
    }

    int add(NodeEntry e) {
        int index = static_cast<int>(nodes.size());
        byName.emplace(e.name, index);
        nodes.push_back(std::move(e));
        return index;
    }

    //! A node every new scene has, staged to be found rather than created.
    int reusedNode(const std::string& name) {
        if (auto it = byName.find(name); it != byName.end()) return it->second;
        NodeEntry e;
        e.name = name;
        e.reused = true;
        e.line = in->lineNumber();
        e.cls = theRegistry().findClass(newSceneNodeType(name));
        if (!e.cls) in->fail("this host makes no " + name + " in a new scene");
        return add(std::move(e));
    }

    void editLine() {
        bodyStarted = true;
        std::string name = str(in->token("a node name"));
        in->expectLineEnd();
        if (!madeByNewScene(name))
            in->fail(
                "\"edit\" names a node every new scene has (such as initialShadingGroup), not " +
                name);
        current = reusedNode(name);
    }

    int nodeNamed(std::string_view name) {
        auto it = byName.find(str(name));
        if (it != byName.end()) return it->second;
        if (madeByNewScene(name)) return reusedNode(str(name));
        in->fail("no node named " + str(name) + " is defined before this line");
    }

    // ---------------------------------------------------------------- attributes

    void attrLine() {
        if (current < 0) in->fail("\"attr\" must follow a \"node\" or \"edit\" line");
        NodeEntry& node = nodes[current];
        const int line = in->lineNumber();
        AttrPtr a = readAttributeLines(*in);
        if (!node.ownClass) {
            node.ownClass = std::make_shared<NodeClass>(*node.cls);
            node.ownClass->origin = &node.cls->registered();
            node.cls = node.ownClass.get();
        }
        MStatus st = node.ownClass->addAttribute(a);
        if (!st) throw ParseError(line, node.name + ": " + statusText(st));
        node.dynamic.push_back(std::move(a));
    }

    // ---------------------------------------------------------------- values

    PlugAddr plugOf(const NodeEntry& node, std::string_view text) {
        PlugAddr addr;
        std::string error;
        if (!parsePlugName(*node.cls, str(text), addr, error)) in->fail(node.name + ": " + error);
        return addr;
    }

    //! The plug a set or data line gives a value to.
    std::pair<int, PlugAddr> valuePlug(const char* keyword) {
        if (current < 0)
            in->fail(std::string("\"") + keyword + "\" must follow a \"node\" or \"edit\" line");
        std::string_view text = in->token("a plug name");
        const NodeEntry& node = nodes[current];
        PlugAddr addr = plugOf(node, text);
        const Attribute* root = addr.attr->root();
        std::string full = node.name + "." + str(text);
        if (root->array && addr.index < 0)
            in->fail(full + " is an array: values are given element by element (" + str(text) +
                     "[INDEX])");
        if (addr.attr->kind == AttrKind::Message)
            in->fail(full + " is a message attribute: it holds no value");
        if (!root->storable || !addr.attr->storable) in->fail(full + " is not storable");
        return {current, addr};
    }

    void setLine() {
        auto [node, addr] = valuePlug("set");
        const Attribute& a = *addr.attr;
        Value v;
        v.node = node;
        v.addr = addr;
        std::string full = nodes[node].name + "." + plugName(addr);
        if (a.kind == AttrKind::Typed || a.kind == AttrKind::Matrix)
            in->fail(full + " holds data, not numbers: its value is given by a \"data\" line");
        if (a.kind == AttrKind::Compound)
            in->fail(full + " is a compound: its children's values are given one by one");
        v.count = a.isTuple() ? static_cast<int>(std::min<std::size_t>(4, a.children.size())) : 1;
        for (int k = 0; k < v.count; ++k) {
            v.num[k] = in->number<double>("number");
            MFnNumericData::Type t = a.isTuple() ? a.children[k]->numericType : a.numericType;
            if (a.kind == AttrKind::Generic) continue;
            if (!holdsNumber(t, v.num[k])) in->fail(cannotHoldText(full, t, v.num[k]));
            v.num[k] = storeAsNumeric(t, v.num[k]);
        }
        if (!in->atLineEnd())
            in->fail(full + " takes " + std::to_string(v.count) +
                     (v.count == 1 ? " number" : " numbers") + ", the line has more");
        values.push_back(v);
    }

    void dataLine() {
        auto [node, addr] = valuePlug("data");
        const Attribute& a = *addr.attr;
        std::string full = nodes[node].name + "." + plugName(addr);
        if (a.kind == AttrKind::Numeric || a.kind == AttrKind::Enum)
            in->fail(full + " holds numbers, not data: its value is given by a \"set\" line");
        std::string_view typeName = in->token("a data type");
        MFnData::Type t;
        if (!dataTypeFromName(typeName, t)) in->fail("unknown data type \"" + str(typeName) + "\"");
        bool accepted = a.kind == AttrKind::Matrix ? t == MFnData::kMatrix : a.accepts(t);
        if (!accepted) in->fail(full + " does not take " + str(typeName) + " data");
        Value v;
        v.node = node;
        v.addr = addr;
        v.data = dataValue(t);
        values.push_back(std::move(v));
    }

    DataPtr dataValue(MFnData::Type t) {
        switch (t) {
            case MFnData::kString:
                return stringValue();
            case MFnData::kMatrix:
                return matrixValue();
            case MFnData::kNumeric:
                return numericValue();
            case MFnData::kIntArray:
                return inlineArray<IntArrayData, int>("integer");
            case MFnData::kFloatArray:
                return inlineArray<FloatArrayData, float>("float");
            case MFnData::kDoubleArray:
                return inlineArray<DoubleArrayData, double>("number");
            case MFnData::kPointArray:
                return pointArray();
            case MFnData::kVectorArray:
                return vectorArray();
            case MFnData::kStringArray:
                return stringArray();
            case MFnData::kMesh:
                return meshValue();
            case MFnData::kComponentList:
                return componentList();
            default:
                in->fail("unsupported data type");
        }
    }

    DataPtr stringValue() {
        auto d = std::make_shared<StringData>(MString(in->quoted("a string")));
        in->expectLineEnd();
        return d;
    }

    DataPtr matrixValue() {
        auto d = std::make_shared<MatrixData>();
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                d->value.matrix[r][c] = in->number<double>("matrix element");
        in->expectLineEnd();
        return d;
    }

    DataPtr numericValue() {
        std::string_view name = in->token("a numeric type");
        MFnNumericData::Type t;
        if (!numericTypeFromName(name, t)) in->fail("unknown numeric type \"" + str(name) + "\"");
        auto d = std::make_shared<NumericData>(t);
        for (int k = 0; k < numericComponents(t); ++k) d->v[k] = in->number<double>("number");
        in->expectLineEnd();
        return d;
    }

    template <class DataT, class T>
    DataPtr inlineArray(const char* what) {
        std::size_t n = in->count("element count");
        auto d = std::make_shared<DataT>();
        if (!d->values.setLength(static_cast<unsigned>(n))) throw std::bad_alloc();
        for (std::size_t i = 0; i < n; ++i)
            d->values[static_cast<unsigned>(i)] = in->number<T>(what);
        if (!in->atLineEnd()) in->fail("more elements than the count " + std::to_string(n));
        return d;
    }

    //! Moves to the next of count item lines of a value begun at beginLine.
    void itemLine(std::string_view keyword, std::size_t index, std::size_t count, int beginLine) {
        if (!in->next())
            throw ParseError(in->lineNumber(),
                             "the file ends inside the value begun at line " +
                                 std::to_string(beginLine) + " (" + std::to_string(index) + " of " +
                                 std::to_string(count) + " \"" + str(keyword) + "\" lines)");
        in->expectKeyword(keyword);
    }

    DataPtr pointArray() {
        const int begin = in->lineNumber();
        std::size_t n = in->count("point count", 8);
        in->expectLineEnd();
        auto d = std::make_shared<PointArrayData>();
        if (!d->values.setLength(static_cast<unsigned>(n))) throw std::bad_alloc();
        for (std::size_t i = 0; i < n; ++i) {
            itemLine("p", i, n, begin);
            MPoint& p = d->values[static_cast<unsigned>(i)];
            p.x = in->number<double>("coordinate");
            p.y = in->number<double>("coordinate");
            p.z = in->number<double>("coordinate");
            p.w = in->number<double>("coordinate");
            in->expectLineEnd();
        }
        return d;
    }

    DataPtr vectorArray() {
        const int begin = in->lineNumber();
        std::size_t n = in->count("vector count", 8);
        in->expectLineEnd();
        auto d = std::make_shared<VectorArrayData>();
        if (!d->values.setLength(static_cast<unsigned>(n))) throw std::bad_alloc();
        for (std::size_t i = 0; i < n; ++i) {
            itemLine("v", i, n, begin);
            MVector& v = d->values[static_cast<unsigned>(i)];
            v.x = in->number<double>("coordinate");
            v.y = in->number<double>("coordinate");
            v.z = in->number<double>("coordinate");
            in->expectLineEnd();
        }
        return d;
    }

    DataPtr componentList() {
        const int begin = in->lineNumber();
        std::size_t n = in->count("component count", 5);
        in->expectLineEnd();
        auto d = std::make_shared<ComponentListData>();
        d->components.reserve(n);
        for (std::size_t i = 0; i < n; ++i) {
            itemLine("c", i, n, begin);
            std::string_view kindName = in->token("a component kind");
            MFn::Type kind = componentKind(str(kindName));
            if (kind == MFn::kInvalid) in->fail("unknown component kind \"" + str(kindName) + "\"");
            auto c = std::make_shared<Component>(kind);
            const bool pairs = c->doubleIndexed();
            std::size_t count = in->count("element count", pairs ? 4 : 2);
            c->elements.reserve(count);
            std::set<std::pair<int, int>> seen;
            for (std::size_t k = 0; k < count; ++k) {
                const int e = in->number<int>("component index");
                const int second = pairs ? in->number<int>("component index") : -1;
                if (e < 0 || (pairs && second < 0)) in->fail("a component index is negative");
                if (!seen.insert({e, second}).second)
                    in->fail("component index " + std::to_string(e) + " is listed twice");
                c->elements.push_back(e);
                if (pairs) c->second.push_back(second);
            }
            if (!in->atLineEnd()) in->fail("more indices than the count " + std::to_string(count));
            d->components.push_back(std::move(c));
        }
        return d;
    }

    DataPtr stringArray() {
        const int begin = in->lineNumber();
        std::size_t n = in->count("string count", 5);
        in->expectLineEnd();
        auto d = std::make_shared<StringArrayData>();
        if (!d->values.setLength(static_cast<unsigned>(n))) throw std::bad_alloc();
        for (std::size_t i = 0; i < n; ++i) {
            itemLine("s", i, n, begin);
            d->values[static_cast<unsigned>(i)] = MString(in->quoted("a string"));
            in->expectLineEnd();
        }
        return d;
    }

    // ---------------------------------------------------------------- meshes

    //! The next line of a mesh value, which must start with keyword.
    void meshLine(std::string_view keyword, int begin) {
        if (!in->next())
            throw ParseError(in->lineNumber(), "the file ends inside the mesh begun at line " +
                                                   std::to_string(begin) + " (expected \"" +
                                                   str(keyword) + "\")");
        in->expectKeyword(keyword);
    }

    void meshFailed(const MeshStatus& st, int line) {
        if (!st) throw ParseError(line, "invalid mesh: " + st.error);
    }

    DataPtr meshValue() {
        const int begin = in->lineNumber();
        in->expectLineEnd();
        auto geometry = std::make_shared<MeshGeometry>();
        meshPolygons(*geometry, begin);
        meshLine("uvset", begin);
        uvSet(*geometry, true, begin);
        for (;;) {
            if (!in->next())
                throw ParseError(in->lineNumber(), "the file ends inside the mesh begun at line " +
                                                       std::to_string(begin) +
                                                       " (expected \"end\")");
            std::string_view keyword = in->token("a mesh section");
            if (keyword == "uvset") {
                uvSet(*geometry, false, begin);
                continue;
            }
            in->unread(keyword);
            in->expectKeyword("current");
            break;
        }
        std::string current = in->quoted("a UV set name");
        in->expectLineEnd();
        meshFailed(geometry->setCurrentUVSet(current), in->lineNumber());
        meshLine("hard", begin);
        hardEdges(*geometry);
        meshLine("end", begin);
        in->expectLineEnd();
        return std::make_shared<MeshData>(std::move(geometry));
    }

    void meshPolygons(MeshGeometry& g, int begin) {
        meshLine("points", begin);
        std::size_t numPoints = in->count("point count", 8);
        in->expectLineEnd();
        std::vector<Vec3> points(numPoints);
        for (std::size_t i = 0; i < numPoints; ++i) {
            meshLine("v", begin);
            points[i] = {in->number<double>("coordinate"), in->number<double>("coordinate"),
                         in->number<double>("coordinate")};
            in->expectLineEnd();
        }
        meshLine("faces", begin);
        const int facesLine = in->lineNumber();
        std::size_t numFaces = in->count("face count", 8);
        in->expectLineEnd();
        std::vector<int> counts(numFaces), connects;
        connects.reserve(numFaces * 4);
        for (std::size_t f = 0; f < numFaces; ++f) {
            meshLine("f", begin);
            int corners = 0;
            while (!in->atLineEnd()) {
                int v = in->number<int>("vertex id");
                if (v < 0 || static_cast<std::size_t>(v) >= numPoints)
                    in->fail("vertex id " + std::to_string(v) + " is out of range (the mesh has " +
                             std::to_string(numPoints) + " points)");
                connects.push_back(v);
                ++corners;
            }
            if (corners < 3)
                in->fail("a face needs at least 3 vertices, this one has " +
                         std::to_string(corners));
            counts[f] = corners;
        }
        meshFailed(g.create(points, counts, connects), facesLine);
    }

    void uvSet(MeshGeometry& g, bool first, int begin) {
        const int line = in->lineNumber();
        std::string name = in->quoted("a UV set name");
        std::size_t numUVs = in->count("UV count", 6);
        std::size_t numFaces = in->count("face count", 6);
        in->expectLineEnd();
        if (first && name != MeshGeometry::kDefaultUVSet)
            in->fail(std::string("the first UV set must be the default set \"") +
                     MeshGeometry::kDefaultUVSet + "\"");
        if (!first) meshFailed(g.createUVSet(name), line);
        std::vector<float> u(numUVs), v(numUVs);
        for (std::size_t i = 0; i < numUVs; ++i) {
            meshLine("uv", begin);
            u[i] = in->number<float>("UV value");
            v[i] = in->number<float>("UV value");
            in->expectLineEnd();
        }
        meshFailed(g.setUVs(u, v, name), line);
        std::vector<int> counts(static_cast<std::size_t>(g.numFaces()), 0), ids;
        int previous = -1;
        for (std::size_t i = 0; i < numFaces; ++i) {
            meshLine("fuv", begin);
            int face = in->number<int>("face id");
            if (face <= previous || face >= g.numFaces())
                in->fail("face " + std::to_string(face) + " is out of range or out of order");
            previous = face;
            while (!in->atLineEnd()) {
                int id = in->number<int>("UV id");
                if (id < 0 || static_cast<std::size_t>(id) >= numUVs)
                    in->fail("UV id " + std::to_string(id) + " is out of range (the set has " +
                             std::to_string(numUVs) + " UVs)");
                ids.push_back(id);
                ++counts[face];
            }
            if (counts[face] != g.polygonVertexCount(face))
                in->fail("face " + std::to_string(face) + " has " +
                         std::to_string(g.polygonVertexCount(face)) + " corners but " +
                         std::to_string(counts[face]) + " UV ids");
        }
        meshFailed(g.assignUVs(counts, ids, name), line);
    }

    void hardEdges(MeshGeometry& g) {
        std::size_t n = in->count("hard edge count");
        if (n == 0) return in->expectLineEnd();
        std::vector<int> edges(n);
        for (auto& e : edges) e = in->number<int>("edge id");
        if (!in->atLineEnd()) in->fail("more edge ids than the count " + std::to_string(n));
        meshFailed(g.setEdgeSmoothings(edges, std::vector<int>(n, 0)), in->lineNumber());
    }

    // ---------------------------------------------------------------- DAG

    void orderLine() {
        std::string_view parent = in->token("a parent name");
        Order o{-1, {}, in->lineNumber()};
        if (parent != kWorldName) o.parent = nodeNamed(parent);
        std::string_view child;
        while (in->tryToken(child)) o.children.push_back(nodeNamed(child));
        orders.push_back(std::move(o));
    }

    void resolveParents() {
        // A new scene's own node can be a parent without having values of its own.
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            const std::string parent = nodes[i].parentName;
            if (!parent.empty() && !byName.count(parent) && madeByNewScene(parent))
                reusedNode(parent);
        }
        for (auto& e : nodes) {
            if (e.reused) continue;
            NodeRole role = e.cls->role;
            if (e.parentName.empty()) {
                if (role == NodeRole::Shape || role == NodeRole::Locator)
                    throw ParseError(e.line, "the " + std::string(roleName(role)) + " " + e.name +
                                                 " needs a transform parent");
                continue;
            }
            if (role == NodeRole::Depend)
                throw ParseError(e.line, e.name + " is a dependency node: it cannot have a parent");
            auto it = byName.find(e.parentName);
            if (it == byName.end())
                throw ParseError(
                    e.line, "no node named " + e.parentName + " (the parent of " + e.name + ")");
            const NodeEntry& p = nodes[it->second];
            if (p.cls->role != NodeRole::Transform && p.cls->role != NodeRole::Dag)
                throw ParseError(e.line, p.name + " cannot be a parent: it is a " +
                                             roleName(p.cls->role) + " node");
            e.parent = it->second;
        }
        checkCycles();
    }

    void checkCycles() {
        // 0 unvisited, 1 on the current walk, 2 known to reach the world.
        std::vector<char> state(nodes.size(), 0);
        for (std::size_t start = 0; start < nodes.size(); ++start) {
            std::vector<int> walk;
            int n = static_cast<int>(start);
            while (n >= 0 && state[n] == 0) {
                state[n] = 1;
                walk.push_back(n);
                n = nodes[n].parent;
            }
            if (n >= 0 && state[n] == 1)
                throw ParseError(nodes[n].line, nodes[n].name + " is its own ancestor");
            for (int w : walk) state[w] = 2;
        }
    }

    void checkOrders() {
        for (const Order& o : orders) {
            std::set<int> seen;
            for (int c : o.children) {
                // Where a new scene puts its own nodes is known only once it is made.
                bool wrongParent = !nodes[c].reused && nodes[c].parent != o.parent;
                if (wrongParent || nodes[c].cls->role == NodeRole::Depend)
                    throw ParseError(o.line, nodes[c].name + " is not a child of " +
                                                 (o.parent < 0 ? std::string("the world")
                                                               : nodes[o.parent].name));
                if (!seen.insert(c).second)
                    throw ParseError(o.line, nodes[c].name + " is listed twice");
            }
        }
    }

    void stateLine() {
        if (current < 0) in->fail("\"state\" must follow a \"node\" or \"edit\" line");
        const NodeEntry& node = nodes[current];
        State s{current, plugOf(node, in->token("a plug name")), {}};
        std::string_view word;
        while (in->tryToken(word)) {
            if (word == "locked") {
                s.state.locked = true;
            } else if (word == "keyable" || word == "channelBox") {
                const int v = in->number<int>("0 or 1");
                if (v != 0 && v != 1) in->fail(str(word) + " is 0 or 1");
                (word == "keyable" ? s.state.keyable : s.state.channelBox) = v;
            } else {
                in->fail("unknown plug state \"" + str(word) + "\"");
            }
        }
        if (s.state.plain()) in->fail("a \"state\" line says what the plug is");
        states.push_back(s);
    }

    // ---------------------------------------------------------------- connections

    void connectLine() {
        auto [src, srcPlug] = connectionEnd("a source plug");
        auto [dst, dstPlug] = connectionEnd("a destination plug");
        in->expectLineEnd();
        std::string names = nodes[src].name + "." + plugName(srcPlug) + " -> " + nodes[dst].name +
                            "." + plugName(dstPlug);
        const Attribute* parent = dstPlug.attr->parent;
        if (destinations.count({dst, dstPlug}) ||
            (parent && destinations.count({dst, PlugAddr{parent, dstPlug.index}})))
            in->fail("the destination already has an input: " + names);
        auto& srcProbe = probe(nodes[src]).first;
        auto& dstProbe = src == dst ? srcProbe : probe(nodes[dst]).second;
        srcProbe->name = nodes[src].name;
        dstProbe->name = nodes[dst].name;
        MStatus st = canConnect(PlugRef{srcProbe.get(), srcPlug}, PlugRef{dstProbe.get(), dstPlug});
        if (!st) in->fail(statusText(st));
        destinations.insert({dst, dstPlug});
        links.push_back({src, srcPlug, dst, dstPlug});
    }

    std::pair<int, PlugAddr> connectionEnd(const char* what) {
        std::string_view text = in->token(what);
        auto dot = text.find('.');
        if (dot == std::string_view::npos || dot == 0 || dot + 1 == text.size())
            in->fail("\"" + str(text) + "\" is not NODE.PLUG");
        int node = nodeNamed(text.substr(0, dot));
        return {node, plugOf(nodes[node], text.substr(dot + 1))};
    }

    std::pair<NodePtr, NodePtr>& probe(const NodeEntry& e) {
        auto& p = probes[e.cls];
        if (!p.first) p = {std::make_shared<Node>(e.cls), std::make_shared<Node>(e.cls)};
        return p;
    }

    // ---------------------------------------------------------------- applying

    void apply() {
        startNewScene();
        Scene& scene = theScene();
        for (auto& e : nodes) {
            if (e.reused) {
                e.node = scene.find(e.name) ? scene.find(e.name)->self() : nullptr;
            } else {
                MStatus st;
                e.node = scene.create(e.cls->registered(), e.name, &st);
            }
            // The very attributes the staged values name.
            if (e.node)
                for (const AttrPtr& a : e.dynamic) addDynamicAttribute(*e.node, a);
        }
        for (auto& e : nodes) {
            auto* dag = dynamic_cast<DagNode*>(e.node.get());
            if (!dag || e.reused) continue;
            DagNode* parent =
                e.parent < 0 ? &theWorld() : static_cast<DagNode*>(nodes[e.parent].node.get());
            reparent(*dag, parent);
        }
        for (const Order& o : orders) reorder(o);
        std::set<std::pair<Node*, const Attribute*>> written;
        for (const Value& v : values) {
            Node* n = nodes[v.node].node.get();
            if (!n) continue;
            store(*n, v);
            written.insert({n, v.addr.attr->root()});
        }
        for (const Link& l : links) {
            Node* s = nodes[l.srcNode].node.get();
            Node* d = nodes[l.dstNode].node.get();
            if (s && d) connect(PlugRef{s, l.src}, PlugRef{d, l.dst});
        }
        // Locks last: they keep nothing of the file's own from its plugs.
        for (const State& s : states)
            if (Node* n = nodes[s.node].node.get()) n->plugStates[s.plug] = s.state;
        // Tell each node, and what depends on it, about the values it now holds.
        for (const auto& [n, attr] : written) propagateDirty(*n, PlugAddr{attr, -1});
    }

    void reorder(const Order& o) {
        DagNode& parent = o.parent < 0 ? theWorld() : static_cast<DagNode&>(*nodes[o.parent].node);
        std::vector<NodePtr> sorted;
        for (int c : o.children)
            if (std::find(parent.children.begin(), parent.children.end(), nodes[c].node) !=
                parent.children.end())
                sorted.push_back(nodes[c].node);
        for (const NodePtr& k : parent.children)
            if (std::find(sorted.begin(), sorted.end(), k) == sorted.end()) sorted.push_back(k);
        parent.children = std::move(sorted);
    }

    static void store(Node& n, const Value& v) {
        Cell* c = n.cell(v.addr, true);
        const Attribute& a = *v.addr.attr;
        if (v.count == 0) {
            c->data = v.data;
        } else if (a.isTuple()) {
            std::copy(v.num, v.num + v.count, c->num);
        } else if (a.inTuple()) {
            c->num[a.childIndex] = v.num[0];
        } else {
            c->num[0] = v.num[0];
        }
        c->dirty = false;
    }
};

StagedScene::StagedScene() : impl_(std::make_unique<Impl>()) {}
StagedScene::~StagedScene() = default;
void StagedScene::read(std::string_view text) {
    impl_->read(text);
}
void StagedScene::apply() {
    impl_->apply();
}

}  // namespace ehost::io
