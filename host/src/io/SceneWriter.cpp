#include <algorithm>
#include <bit>
#include <cstdint>
#include <set>

#include "host/src/dag/ComponentListData.h"
#include "host/src/dag/Dag.h"
#include "host/src/dag/Resolve.h"
#include "host/src/dg/DynamicAttributes.h"
#include "host/src/dg/MeshData.h"
#include "host/src/dg/Scene.h"
#include "host/src/io/AttributeLines.h"
#include "host/src/io/SceneFile.h"
#include "host/src/io/SceneFormat.h"
#include "host/src/nodes/MeshShape.h"
#include "host/src/plugin/Plugins.h"

namespace ehost::io {

const char* newSceneNodeType(std::string_view name) {
    if (name == "initialShadingGroup") return "shadingEngine";
    if (name == "persp") return "transform";
    if (name == "perspShape") return "camera";
    return "";
}

bool madeByNewScene(std::string_view name) {
    return *newSceneNodeType(name) != 0;
}

bool madeByNewScene(const Node& node) {
    return node.cls->typeName == newSceneNodeType(node.name);
}

bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

namespace {

constexpr MFnData::Type kFileDataTypes[] = {
    MFnData::kString,      MFnData::kMatrix,      MFnData::kNumeric,      MFnData::kIntArray,
    MFnData::kFloatArray,  MFnData::kDoubleArray, MFnData::kPointArray,   MFnData::kVectorArray,
    MFnData::kStringArray, MFnData::kMesh,        MFnData::kComponentList};

}  // namespace

bool dataTypeFromName(std::string_view name, MFnData::Type& out) {
    for (MFnData::Type t : kFileDataTypes)
        if (name == dataTypeName(t)) {
            out = t;
            return true;
        }
    return false;
}

bool numericTypeFromName(std::string_view name, MFnNumericData::Type& out) {
    for (int t = MFnNumericData::kBoolean; t <= MFnNumericData::k4Double; ++t)
        if (name == numericTypeName(static_cast<MFnNumericData::Type>(t))) {
            out = static_cast<MFnNumericData::Type>(t);
            return true;
        }
    return false;
}

namespace {

class SceneWriter {
public:
    explicit SceneWriter(TextWriter& out) : out_(out) {}

    void write() {
        const auto& nodes = theScene().nodes();
        out_.word("tessark").word("scene").number(kSceneFormatVersion).endLine();
        requirements(nodes);
        for (const NodePtr& n : nodes) {
            if (madeByNewScene(*n)) {
                if (hasValues(*n) || !dynamicAttributes(*n).empty() || !n->plugStates.empty()) {
                    out_.word("edit").word(n->name).endLine();
                    attributes(*n);
                    values(*n);
                    plugStates(*n);
                }
                continue;
            }
            nodeLine(*n);
            attributes(*n);
            values(*n);
            plugStates(*n);
        }
        siblingOrders(nodes);
        for (const NodePtr& n : nodes) connections(*n);
    }

private:
    // ---- header and nodes

    void requirements(const std::vector<NodePtr>& nodes) {
        std::set<std::string> used;
        for (const NodePtr& n : nodes)
            if (std::string p = pluginOfNodeType(n->cls->typeName); !p.empty()) used.insert(p);
        if (used.empty()) return;
        // Types registered outside a loaded module (tests do that) have no
        // module to require; opening the file then needs the type registered.
        for (const PluginInfo& p : loadedPlugins())
            if (used.count(p.name))
                out_.word("requires").quoted(p.name).quoted(p.version).endLine();
    }

    void nodeLine(Node& n) {
        // The file could not be opened: the name belongs to the new scene's own node.
        if (madeByNewScene(n.name))
            throw SaveError(n.name + " is the name of the " + newSceneNodeType(n.name) +
                            " every new scene has, but here it is a " + n.cls->typeName +
                            ": rename it before saving");
        out_.word("node").word(n.cls->typeName).word(n.name);
        if (auto* d = dynamic_cast<DagNode*>(&n); d && d->parent && !d->parent->isWorld())
            out_.word(d->parent->name);
        out_.endLine();
    }

    //! Locked plugs, and plugs keyable or in the channel box unlike their attribute.
    void plugStates(const Node& n) {
        for (const auto& [addr, s] : n.plugStates) {
            if (s.plain()) continue;
            out_.word("state").word(plugName(addr));
            if (s.locked) out_.word("locked");
            if (s.keyable >= 0) out_.word("keyable").number(s.keyable);
            if (s.channelBox >= 0) out_.word("channelBox").number(s.channelBox);
            out_.endLine();
        }
    }

    //! The node's dynamic attributes, before any value.
    void attributes(const Node& n) {
        for (const AttrPtr& a : dynamicAttributes(n)) writeAttributeLines(out_, *a);
    }

    //! "order" lines for parents whose children are not in creation order
    //! (a node was parented under a newer sibling's parent, or moved).
    void siblingOrders(const std::vector<NodePtr>& nodes) {
        siblingOrder(theWorld());
        for (const NodePtr& n : nodes)
            if (auto* d = dynamic_cast<DagNode*>(n.get())) siblingOrder(*d);
    }

    void siblingOrder(DagNode& parent) {
        const auto& kids = parent.children;
        bool created =
            std::is_sorted(kids.begin(), kids.end(),
                           [](const NodePtr& a, const NodePtr& b) { return a->order < b->order; });
        if (created) return;
        out_.word("order").word(parent.isWorld() ? kWorldName : std::string_view(parent.name));
        for (const NodePtr& k : kids) out_.word(k->name);
        out_.endLine();
    }

    void connections(Node& n) {
        for (const auto& [from, to] : n.outputs) {
            if (!to.node || !to.node->alive) continue;
            out_.word("connect");
            plugWord(n, from);
            plugWord(*to.node, to.addr);
            out_.endLine();
        }
    }

    void plugWord(const Node& n, const PlugAddr& addr) {
        plugText_ = n.name;
        plugText_ += '.';
        plugText_ += plugName(addr);
        out_.word(plugText_);
    }

    // ---- values

    bool hasValues(Node& n) {
        // A dry run into a writer without a file keeps one definition of
        // what counts as a value.
        TextWriter scratch;
        SceneWriter probe(scratch);
        probe.values(n);
        return probe.wroteValues_;
    }

    static bool storesValue(const Attribute& a) {
        return a.storable && a.kind != AttrKind::Message;
    }

    bool skipped(Node& n, const Attribute& a) {
        // A mesh with history keeps its evaluated input here; re-evaluation rebuilds it.
        if (&a != meshAttributes().cachedInMesh.get()) return false;
        auto* shape = dynamic_cast<MeshShape*>(&n);
        return shape && shape->hasHistory();
    }

    void values(Node& n) {
        for (int s = 0; s < n.slotCount(); ++s) {
            const Attribute& a = *n.cls->attrs[n.cls->roots[s]];
            if (!storesValue(a) || skipped(n, a)) continue;
            const Slot& slot = n.slot(s);
            if (!a.array) {
                value(n, PlugAddr{&a, -1}, slot.cell, false);
                continue;
            }
            for (const auto& [index, cell] : slot.elements)
                value(n, PlugAddr{&a, index}, cell, true);
        }
    }

    static bool connected(const Node& n, const PlugAddr& addr) { return n.inputs.count(addr) > 0; }

    //! One plug's value; always = write even when it equals the default (array
    //! elements, whose existence is part of the value).
    void value(Node& n, const PlugAddr& addr, const Cell& cell, bool always) {
        if (connected(n, addr)) return;
        const Attribute& a = *addr.attr;
        switch (a.kind) {
            case AttrKind::Numeric:
            case AttrKind::Enum:
                numbers(n, addr, cell, always);
                break;
            case AttrKind::Generic:
                if (always || !sameBits(cell.num[0], a.defaults[0])) {
                    setLine(addr);
                    out_.number(cell.num[0]).endLine();
                }
                if (cell.data) data(n, addr, *cell.data);
                break;
            case AttrKind::Typed:
            case AttrKind::Matrix:
                if (cell.data) data(n, addr, *cell.data);
                break;
            case AttrKind::Message:
                break;
            case AttrKind::Compound:
                // Each child's value from its own cell.
                for (size_t k = 0; k < a.children.size() && k < cell.kids.size(); ++k)
                    if (a.children[k]->storable)
                        value(n, PlugAddr{a.children[k].get(), addr.index}, cell.kids[k], always);
                break;
        }
    }

    void numbers(const Node& n, const PlugAddr& addr, const Cell& cell, bool always) {
        const Attribute& a = *addr.attr;
        if (!a.isCompound()) {
            if (always || !sameBits(cell.num[0], a.defaults[0])) {
                setLine(addr);
                out_.number(cell.num[0]).endLine();
            }
            return;
        }
        const int count = std::min<int>(4, static_cast<int>(a.children.size()));
        bool anyChildConnected = false, differs = always;
        for (int k = 0; k < count; ++k) {
            anyChildConnected |= connected(n, PlugAddr{a.children[k].get(), addr.index});
            differs |= !sameBits(cell.num[k], a.children[k]->defaults[0]);
        }
        if (!anyChildConnected) {
            if (!differs) return;
            setLine(addr);
            for (int k = 0; k < count; ++k) out_.number(cell.num[k]);
            out_.endLine();
            return;
        }
        // The connected children get their values from the connection.
        for (int k = 0; k < count; ++k) {
            PlugAddr child{a.children[k].get(), addr.index};
            if (connected(n, child) || !(always || !sameBits(cell.num[k], child.attr->defaults[0])))
                continue;
            setLine(child);
            out_.number(cell.num[k]).endLine();
        }
    }

    void setLine(const PlugAddr& addr) {
        wroteValues_ = true;
        out_.word("set").word(plugName(addr));
    }

    void data(const Node& n, const PlugAddr& addr, const Data& d) {
        wroteValues_ = true;
        MFnData::Type t = d.dataType();
        MFnData::Type known;
        if (!dataTypeFromName(dataTypeName(t), known))
            throw SaveError("the " + std::string(dataTypeName(t)) + " value of " + n.name + "." +
                            plugName(addr) + " cannot be written to a scene file");
        out_.word("data").word(plugName(addr)).word(dataTypeName(t));
        switch (t) {
            case MFnData::kString:
                out_.quoted(static_cast<const StringData&>(d).value.str()).endLine();
                break;
            case MFnData::kMatrix:
                matrix(static_cast<const MatrixData&>(d).value);
                break;
            case MFnData::kNumeric:
                numeric(static_cast<const NumericData&>(d));
                break;
            case MFnData::kIntArray:
                inlineArray(static_cast<const IntArrayData&>(d).values);
                break;
            case MFnData::kFloatArray:
                inlineArray(static_cast<const FloatArrayData&>(d).values);
                break;
            case MFnData::kDoubleArray:
                inlineArray(static_cast<const DoubleArrayData&>(d).values);
                break;
            case MFnData::kPointArray:
                points(static_cast<const PointArrayData&>(d).values);
                break;
            case MFnData::kVectorArray:
                vectors(static_cast<const VectorArrayData&>(d).values);
                break;
            case MFnData::kStringArray:
                strings(static_cast<const StringArrayData&>(d).values);
                break;
            case MFnData::kMesh:
                mesh(static_cast<const MeshData&>(d).geometry());
                break;
            case MFnData::kComponentList:
                componentList(static_cast<const ComponentListData&>(d));
                break;
            default:
                break;
        }
    }

    void matrix(const MMatrix& m) {
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) out_.number(m.matrix[r][c]);
        out_.endLine();
    }

    void numeric(const NumericData& d) {
        out_.word(numericTypeName(d.numericType));
        for (int k = 0; k < numericComponents(d.numericType); ++k) out_.number(d.v[k]);
        out_.endLine();
    }

    template <class Array>
    void inlineArray(const Array& values) {
        out_.number(static_cast<long long>(values.length()));
        for (const auto& v : values) out_.number(v);
        out_.endLine();
    }

    void points(const MPointArray& values) {
        out_.number(static_cast<long long>(values.length())).endLine();
        for (const MPoint& p : values)
            out_.word("p").number(p.x).number(p.y).number(p.z).number(p.w).endLine();
    }

    void vectors(const MVectorArray& values) {
        out_.number(static_cast<long long>(values.length())).endLine();
        for (const MVector& v : values)
            out_.word("v").number(v.x).number(v.y).number(v.z).endLine();
    }

    void componentList(const ComponentListData& list) {
        out_.number(static_cast<long long>(list.components.size())).endLine();
        for (const auto& c : list.components) {
            out_.word("c")
                .word(componentKindName(c->kind))
                .number(static_cast<long long>(c->elements.size()));
            for (size_t i = 0; i < c->elements.size(); ++i) {
                out_.number(c->elements[i]);
                if (c->doubleIndexed()) out_.number(c->second[i]);
            }
            out_.endLine();
        }
    }

    void strings(const MStringArray& values) {
        out_.number(static_cast<long long>(values.length())).endLine();
        for (unsigned i = 0; i < values.length(); ++i)
            out_.word("s").quoted(values[i].str()).endLine();
    }

    void mesh(const MeshGeometry& g) {
        out_.endLine();
        out_.word("points").number(g.numVertices()).endLine();
        for (const Vec3& p : g.points())
            out_.word("v").number(p.x).number(p.y).number(p.z).endLine();
        out_.word("faces").number(g.numFaces()).endLine();
        for (int f = 0; f < g.numFaces(); ++f) {
            out_.word("f");
            for (int v : g.faceVertices(f)) out_.number(v);
            out_.endLine();
        }
        for (const std::string& set : g.uvSetNames()) uvSet(g, set);
        out_.word("current").quoted(g.currentUVSetName()).endLine();
        out_.word("hard").number(g.numHardEdges());
        if (g.numHardEdges() > 0) {
            std::vector<int> smooth = g.edgeSmoothings();
            for (int e = 0; e < static_cast<int>(smooth.size()); ++e)
                if (!smooth[e]) out_.number(e);
        }
        out_.endLine();
        out_.word("end").endLine();
    }

    void uvSet(const MeshGeometry& g, const std::string& set) {
        std::vector<float> u, v;
        std::vector<int> counts, ids;
        g.getUVs(u, v, set);
        g.getAssignedUVs(counts, ids, set);
        long long assigned =
            std::count_if(counts.begin(), counts.end(), [](int c) { return c > 0; });
        out_.word("uvset")
            .quoted(set)
            .number(static_cast<long long>(u.size()))
            .number(assigned)
            .endLine();
        for (std::size_t i = 0; i < u.size(); ++i)
            out_.word("uv").number(u[i]).number(v[i]).endLine();
        std::size_t next = 0;
        for (int f = 0; f < static_cast<int>(counts.size()); ++f) {
            if (counts[f] == 0) continue;
            out_.word("fuv").number(f);
            for (int k = 0; k < counts[f]; ++k) out_.number(ids[next++]);
            out_.endLine();
        }
    }

    TextWriter& out_;
    std::string plugText_;
    bool wroteValues_ = false;
};

}  // namespace

void writeScene(TextWriter& out) {
    SceneWriter(out).write();
}

}  // namespace ehost::io
