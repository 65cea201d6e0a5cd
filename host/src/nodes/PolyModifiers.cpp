// polyMergeVert, polyBridgeEdge and polyAverageVertex: history nodes that
// redo a modelling edit on whatever mesh flows into them.

#include <algorithm>
#include <functional>

#include "host/src/core/MessageLog.h"
#include "host/src/dg/AttrBuild.h"
#include "host/src/dg/MeshData.h"
#include "host/src/dg/Registry.h"
#include "host/src/mesh/ops/MeshOps.h"
#include "host/src/nodes/PolyNodes.h"

namespace ehost {

namespace {

std::shared_ptr<const MeshGeometry> meshIn(const Cell& c) {
    if (auto* m = dynamic_cast<const MeshData*>(c.data.get())) return m->shared();
    static const auto empty = std::make_shared<const MeshGeometry>();
    return empty;
}

std::vector<std::string> strings(const Cell& c) {
    std::vector<std::string> out;
    if (auto* s = dynamic_cast<const StringArrayData*>(c.data.get()))
        for (unsigned i = 0; i < s->values.length(); ++i) out.push_back(s->values[i].str());
    return out;
}

double number(Node& node, const AttrPtr& attr) {
    return evaluate(node, {attr.get(), -1}).num[0];
}
//! A count attribute kept within what an edit can sensibly do.
int count(Node& node, const AttrPtr& attr, int most) {
    const double value = number(node, attr);
    if (!(value >= 0)) return 0;
    return static_cast<int>(std::min<double>(value, most));
}

class PolyModifierNode : public Node {
public:
    using Edit =
        std::function<MeshStatus(Node&, const MeshGeometry&, const ComponentList&, MeshGeometry&)>;
    PolyModifierNode(NodeClass* cls, Edit edit) : Node(cls), edit_(std::move(edit)) {}

    MStatus compute(const PlugAddr& plug, MDataBlock&) override {
        const auto& a = polyModifierAttributes();
        if (plug.attr != a.output.get()) return MStatus::kUnknownParameter;
        auto in = meshIn(evaluate(*this, {a.inputPolymesh.get(), -1}));
        cell(plug, true)->data = std::make_shared<MeshData>(edited(in));
        return MStatus::kSuccess;
    }

private:
    //! The edited input; the input itself when the node has no effect or the
    //! edit no longer fits the mesh that now flows in (as the host does).
    std::shared_ptr<const MeshGeometry> edited(const std::shared_ptr<const MeshGeometry>& in) {
        constexpr int kHasNoEffect = 1;
        if (static_cast<int>(number(*this, baseAttributes().state)) == kHasNoEffect) return in;
        ComponentList components;
        std::string why;
        const Cell& list = evaluate(*this, {polyModifierAttributes().inputComponents.get(), -1});
        if (!ComponentList::fromStrings(strings(list), *in, components, why)) {
            warnOnce(why);
            return in;
        }
        auto out = std::make_shared<MeshGeometry>();
        if (!edit_(*this, *in, components, *out)) return in;
        return out;
    }

    //! A list that does not fit the mesh is told once, not on every evaluation.
    void warnOnce(const std::string& why) {
        if (why == warned_) return;
        warned_ = why;
        theMessages().warning(name + ": " + why + "; the edit is left out");
    }

    Edit edit_;
    std::string warned_;
};

void addModifier(Registry& registry, const char* type, unsigned id, MFn::Type kind,
                 const std::vector<AttrPtr>& parameters, PolyModifierNode::Edit edit) {
    auto cls = std::make_unique<NodeClass>();
    cls->typeName = type;
    cls->typeId = MTypeId(id);
    cls->kind = kind;
    cls->make = [edit](NodeClass* c) { return std::make_shared<PolyModifierNode>(c, edit); };
    addInheritedAttributes(*cls);
    const auto& m = polyModifierAttributes();
    std::vector<AttrPtr> inputs{m.inputPolymesh, m.inputComponents};
    inputs.insert(inputs.end(), parameters.begin(), parameters.end());
    for (const auto& a : inputs) cls->addAttribute(a);
    cls->addAttribute(m.output);
    for (const auto& a : inputs) cls->addAffects(a.get(), m.output.get());
    registry.addClass(std::move(cls));
}

}  // namespace

const PolyModifierAttributes& polyModifierAttributes() {
    static const PolyModifierAttributes s = [] {
        PolyModifierAttributes a;
        a.inputPolymesh = typedAttr("inputPolymesh", "ip", MFnData::kMesh);
        a.inputPolymesh->hidden = true;
        a.output = typedAttr("output", "out", MFnData::kMesh);
        a.output->storable = false;
        a.output->writable = false;
        a.inputComponents = typedAttr("inputComponents", "ics", MFnData::kStringArray);
        return a;
    }();
    return s;
}

const PolyMergeVertAttributes& polyMergeVertAttributes() {
    static const PolyMergeVertAttributes s = [] {
        PolyMergeVertAttributes a;
        a.distance = numericAttr("distance", "d", MFnNumericData::kDouble, 0);
        a.alwaysMergeTwoVertices =
            numericAttr("alwaysMergeTwoVertices", "am", MFnNumericData::kBoolean, 0);
        return a;
    }();
    return s;
}

const PolyBridgeEdgeAttributes& polyBridgeEdgeAttributes() {
    static const PolyBridgeEdgeAttributes s = [] {
        PolyBridgeEdgeAttributes a;
        a.divisions = numericAttr("divisions", "dv", MFnNumericData::kInt, 0);
        a.direction = numericAttr("direction", "dir", MFnNumericData::kInt, 0);
        return a;
    }();
    return s;
}

const PolyAverageVertexAttributes& polyAverageVertexAttributes() {
    static const PolyAverageVertexAttributes s = [] {
        PolyAverageVertexAttributes a;
        a.iterations = numericAttr("iterations", "i", MFnNumericData::kInt, 1);
        return a;
    }();
    return s;
}

void registerPolyModifierTypes(Registry& registry) {
    const auto& m = polyMergeVertAttributes();
    addModifier(registry, "polyMergeVert", 0x504d4756, MFn::kPolyMergeVert,
                {m.distance, m.alwaysMergeTwoVertices},
                [](Node& n, const MeshGeometry& in, const ComponentList& c, MeshGeometry& out) {
                    const auto& a = polyMergeVertAttributes();
                    return mergeComponents(in, c, number(n, a.distance),
                                           number(n, a.alwaysMergeTwoVertices) != 0, out);
                });
    const auto& b = polyBridgeEdgeAttributes();
    addModifier(registry, "polyBridgeEdge", 0x50425245, MFn::kPolyBridgeEdge,
                {b.divisions, b.direction},
                [](Node& n, const MeshGeometry& in, const ComponentList& c, MeshGeometry& out) {
                    const auto& a = polyBridgeEdgeAttributes();
                    return bridgeComponents(in, c, count(n, a.divisions, kMaxDivisions), out);
                });
    const auto& v = polyAverageVertexAttributes();
    addModifier(registry, "polyAverageVertex", 0x50415656, MFn::kPolyAverageVertex, {v.iterations},
                [](Node& n, const MeshGeometry& in, const ComponentList& c, MeshGeometry& out) {
                    const auto& a = polyAverageVertexAttributes();
                    return averageComponents(in, c, count(n, a.iterations, kMaxIterations), out);
                });
}

}  // namespace ehost
