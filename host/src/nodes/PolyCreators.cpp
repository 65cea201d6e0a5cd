// polySphere, polyCube and polyPlane: history nodes that make a primitive
// from their attributes.

#include <algorithm>
#include <functional>

#include "host/src/dg/AttrBuild.h"
#include "host/src/dg/MeshData.h"
#include "host/src/dg/Registry.h"
#include "host/src/mesh/ops/MeshOps.h"
#include "host/src/nodes/PolyNodes.h"

namespace ehost {

namespace {

AttrPtr meshOutput() {
    AttrPtr out = typedAttr("output", "out", MFnData::kMesh);
    out->storable = false;
    out->writable = false;
    return out;
}

AttrPtr lengthAttr(const char* name, const char* shortName, double value) {
    AttrPtr a = numericAttr(name, shortName, MFnNumericData::kDouble, value);
    a->keyable = true;
    return a;
}

AttrPtr countAttr(const char* name, const char* shortName, int value) {
    AttrPtr a = numericAttr(name, shortName, MFnNumericData::kInt, value);
    a->keyable = true;
    return a;
}

double number(Node& node, const AttrPtr& attr) {
    return evaluate(node, {attr.get(), -1}).num[0];
}
int divisions(Node& node, const AttrPtr& attr, int minimum) {
    const double value = number(node, attr);
    if (!(value >= minimum)) return minimum;
    return static_cast<int>(std::min<double>(value, kMaxDivisions));
}

//! A creator: computes its output mesh from its own attributes.
class PolyCreatorNode : public Node {
public:
    using Build = std::function<MeshGeometry(Node&)>;
    PolyCreatorNode(NodeClass* cls, const Attribute* output, Build build)
        : Node(cls), output_(output), build_(std::move(build)) {}

    MStatus compute(const PlugAddr& plug, MDataBlock&) override {
        if (plug.attr != output_) return MStatus::kUnknownParameter;
        auto mesh = std::make_shared<const MeshGeometry>(build_(*this));
        cell(plug, true)->data = std::make_shared<MeshData>(std::move(mesh));
        return MStatus::kSuccess;
    }

private:
    const Attribute* output_;
    Build build_;
};

void addCreator(Registry& registry, const char* type, unsigned id, MFn::Type kind,
                const std::vector<AttrPtr>& inputs, const AttrPtr& output,
                PolyCreatorNode::Build build) {
    auto cls = std::make_unique<NodeClass>();
    cls->typeName = type;
    cls->typeId = MTypeId(id);
    cls->kind = kind;
    const Attribute* out = output.get();
    cls->make = [out, build](NodeClass* c) {
        return std::make_shared<PolyCreatorNode>(c, out, build);
    };
    addInheritedAttributes(*cls);
    for (const auto& a : inputs) cls->addAttribute(a);
    cls->addAttribute(output);
    for (const auto& a : inputs) cls->addAffects(a.get(), out);
    registry.addClass(std::move(cls));
}

}  // namespace

const PolySphereAttributes& polySphereAttributes() {
    static const PolySphereAttributes s = [] {
        PolySphereAttributes a;
        a.radius = lengthAttr("radius", "r", 1);
        a.subdivisionsAxis = countAttr("subdivisionsAxis", "sa", 20);
        a.subdivisionsHeight = countAttr("subdivisionsHeight", "sh", 20);
        a.output = meshOutput();
        return a;
    }();
    return s;
}

const PolyCubeAttributes& polyCubeAttributes() {
    static const PolyCubeAttributes s = [] {
        PolyCubeAttributes a;
        a.width = lengthAttr("width", "w", 1);
        a.height = lengthAttr("height", "h", 1);
        a.depth = lengthAttr("depth", "d", 1);
        a.subdivisionsWidth = countAttr("subdivisionsWidth", "sw", 1);
        a.subdivisionsHeight = countAttr("subdivisionsHeight", "sh", 1);
        a.subdivisionsDepth = countAttr("subdivisionsDepth", "sd", 1);
        a.output = meshOutput();
        return a;
    }();
    return s;
}

const PolyPlaneAttributes& polyPlaneAttributes() {
    static const PolyPlaneAttributes s = [] {
        PolyPlaneAttributes a;
        a.width = lengthAttr("width", "w", 1);
        a.height = lengthAttr("height", "h", 1);
        a.subdivisionsWidth = countAttr("subdivisionsWidth", "sw", 10);
        a.subdivisionsHeight = countAttr("subdivisionsHeight", "sh", 10);
        a.output = meshOutput();
        return a;
    }();
    return s;
}

void registerPolyCreatorTypes(Registry& registry) {
    const auto& s = polySphereAttributes();
    addCreator(registry, "polySphere", 0x50535048, MFn::kPolySphere,
               {s.radius, s.subdivisionsAxis, s.subdivisionsHeight}, s.output, [](Node& n) {
                   const auto& a = polySphereAttributes();
                   return makeSphere(number(n, a.radius),
                                     divisions(n, a.subdivisionsAxis, kMinSphereAxis),
                                     divisions(n, a.subdivisionsHeight, kMinSphereHeight));
               });
    const auto& c = polyCubeAttributes();
    addCreator(registry, "polyCube", 0x50435542, MFn::kPolyCube,
               {c.width, c.height, c.depth, c.subdivisionsWidth, c.subdivisionsHeight,
                c.subdivisionsDepth},
               c.output, [](Node& n) {
                   const auto& a = polyCubeAttributes();
                   return makeCube(number(n, a.width), number(n, a.height), number(n, a.depth),
                                   divisions(n, a.subdivisionsWidth, kMinGridDivisions),
                                   divisions(n, a.subdivisionsHeight, kMinGridDivisions),
                                   divisions(n, a.subdivisionsDepth, kMinGridDivisions));
               });
    const auto& p = polyPlaneAttributes();
    addCreator(registry, "polyPlane", 0x50504c4e, MFn::kPolyPlane,
               {p.width, p.height, p.subdivisionsWidth, p.subdivisionsHeight}, p.output,
               [](Node& n) {
                   const auto& a = polyPlaneAttributes();
                   return makePlane(number(n, a.width), number(n, a.height),
                                    divisions(n, a.subdivisionsWidth, kMinGridDivisions),
                                    divisions(n, a.subdivisionsHeight, kMinGridDivisions));
               });
}

void registerPolyNodeTypes(Registry& registry) {
    registerPolyCreatorTypes(registry);
    registerPolyModifierTypes(registry);
}

}  // namespace ehost
