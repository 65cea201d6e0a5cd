#include "host/src/nodes/MeshShape.h"

#include <cmath>
#include <set>

#include "host/src/dg/AttrBuild.h"
#include "host/src/dg/Registry.h"
#include "host/src/nodes/Builtins.h"

namespace ehost {

const MeshAttributes& meshAttributes() {
    static const MeshAttributes m = [] {
        static const char* const pn[3] = {"pntx", "pnty", "pntz"};
        static const char* const ps[3] = {"px", "py", "pz"};
        MeshAttributes a;
        a.inMesh = typedAttr("inMesh", "i", MFnData::kMesh);
        a.inMesh->hidden = true;
        a.outMesh = typedAttr("outMesh", "o", MFnData::kMesh);
        a.outMesh->hidden = true;
        a.outMesh->storable = false;
        a.cachedInMesh = typedAttr("cachedInMesh", "ci", MFnData::kMesh);
        a.cachedInMesh->hidden = true;
        // Tweaks are kept in double precision so that moved vertices land exactly.
        a.pnts = compound3("pnts", "pt", pn, ps, MFnNumericData::kDouble, 0);
        a.pnts->array = true;
        a.pnts->keyable = true;
        return a;
    }();
    return m;
}

const PolyTweakAttributes& polyTweakAttributes() {
    static const PolyTweakAttributes t = [] {
        static const char* const tn[3] = {"tweakX", "tweakY", "tweakZ"};
        static const char* const ts[3] = {"tx", "ty", "tz"};
        PolyTweakAttributes a;
        a.inputPolymesh = typedAttr("inputPolymesh", "ip", MFnData::kMesh);
        a.inputPolymesh->hidden = true;
        a.output = typedAttr("output", "out", MFnData::kMesh);
        a.output->storable = false;
        a.tweak = compound3("tweak", "tk", tn, ts, MFnNumericData::kDouble, 0);
        a.tweak->array = true;
        return a;
    }();
    return t;
}

namespace {

std::shared_ptr<const MeshGeometry> geometryIn(const Cell& c) {
    if (auto* m = dynamic_cast<const MeshData*>(c.data.get())) return m->shared();
    static const auto empty = std::make_shared<const MeshGeometry>();
    return empty;
}

//! The offset t for which base + t gives target exactly, when one exists near target - base.
double exactOffset(double base, double target) {
    double t = target - base;
    for (int k = 0; k < 4 && base + t != target; ++k)
        t = std::nextafter(t, base + t < target ? INFINITY : -INFINITY);
    return base + t == target ? t : target - base;
}

void store(Node& node, const PlugAddr& plug, std::shared_ptr<const MeshGeometry> g) {
    node.cell(plug, true)->data = std::make_shared<MeshData>(std::move(g));
}

class PolyTweakNode : public Node {
public:
    using Node::Node;
    MStatus compute(const PlugAddr& plug, MDataBlock&) override {
        const auto& a = polyTweakAttributes();
        if (plug.attr != a.output.get()) return MStatus::kUnknownParameter;
        auto in = geometryIn(evaluate(*this, {a.inputPolymesh.get(), -1}));
        store(*this, plug, applyTweaks(*this, a.tweak.get(), in));
        return MStatus::kSuccess;
    }
};

}  // namespace

std::shared_ptr<const MeshGeometry> applyTweaks(Node& node, const Attribute* tweaks,
                                                std::shared_ptr<const MeshGeometry> base) {
    const Slot& slot = node.slot(node.cls->slotOf(tweaks));
    std::shared_ptr<MeshGeometry> moved;
    for (auto& [index, cell] : slot.elements) {
        if (index >= base->numVertices()) break;
        const Cell& c = evaluate(node, {tweaks, index});
        if (c.num[0] == 0 && c.num[1] == 0 && c.num[2] == 0) continue;
        if (!moved) moved = std::make_shared<MeshGeometry>(*base);
        Vec3 p = moved->point(index);
        moved->setPoint(index, {p.x + c.num[0], p.y + c.num[1], p.z + c.num[2]});
    }
    return moved ? std::shared_ptr<const MeshGeometry>(moved) : base;
}

bool MeshShape::geometryBox(MBoundingBox& box, const MMatrix& matrix) {
    auto mesh = output();
    auto b = mesh->boundingBox();
    if (b.empty) return false;
    box = MBoundingBox(MPoint(b.min.x, b.min.y, b.min.z), MPoint(b.max.x, b.max.y, b.max.z));
    if (matrix == MMatrix::identity) return true;
    box.clear();
    for (int v = 0; v < mesh->numVertices(); ++v) {
        Vec3 p = mesh->point(v);
        box.expand(MPoint(p.x, p.y, p.z) * matrix);
    }
    return true;
}

int MeshShape::componentCount(MFn::Type kind) {
    auto g = output();
    switch (kind) {
        case MFn::kMeshVertComponent:
            return g->numVertices();
        case MFn::kMeshEdgeComponent:
            return g->numEdges();
        case MFn::kMeshPolygonComponent:
            return g->numFaces();
        default:
            return 0;
    }
}

std::vector<int> MeshShape::faceVertexIds(int face) {
    auto g = output();
    if (face < 0 || face >= g->numFaces()) return {};
    auto ids = g->faceVertices(face);
    return std::vector<int>(ids.begin(), ids.end());
}

MStatus MeshShape::compute(const PlugAddr& plug, MDataBlock&) {
    const auto& a = meshAttributes();
    if (plug.attr != a.outMesh.get()) return MStatus::kUnknownParameter;
    store(*this, plug, applyTweaks(*this, a.pnts.get(), base()));
    return MStatus::kSuccess;
}

std::set<int> MeshShape::connectedTweaks() const {
    const Attribute* pnts = meshAttributes().pnts.get();
    std::set<int> out;
    for (const auto& [addr, src] : inputs)
        if (addr.attr->root() == pnts) out.insert(addr.index);
    for (const auto& [addr, dst] : outputs)
        if (addr.attr->root() == pnts) out.insert(addr.index);
    return out;
}

PlugAddr MeshShape::storedAt(const PlugAddr& plug) const {
    const auto& a = meshAttributes();
    if (plug.attr == a.outMesh.get() && !hasHistory()) return {a.cachedInMesh.get(), -1};
    return plug;
}

bool MeshShape::hasHistory() const {
    return inputs.count(PlugAddr{meshAttributes().inMesh.get(), -1}) > 0;
}

std::shared_ptr<const MeshGeometry> MeshShape::output() {
    return geometryIn(evaluate(*this, {meshAttributes().outMesh.get(), -1}));
}

std::shared_ptr<const MeshGeometry> MeshShape::base() {
    const auto& a = meshAttributes();
    if (!hasHistory()) return geometryIn(evaluate(*this, {a.cachedInMesh.get(), -1}));
    const Cell& in = evaluate(*this, {a.inMesh.get(), -1});
    // Like the host, the shape caches its evaluated input.
    cell({a.cachedInMesh.get(), -1}, true)->data = in.data;
    return geometryIn(in);
}

bool MeshShape::hasTweaks() const {
    const Slot& slot = this->slot(cls->slotOf(meshAttributes().pnts.get()));
    for (auto& [i, c] : slot.elements)
        if (c.num[0] != 0 || c.num[1] != 0 || c.num[2] != 0) return true;
    return false;
}

MeshGeometry* MeshShape::editOwnGeometry(MStatus* status) {
    const auto& a = meshAttributes();
    if (hasHistory()) {
        if (status)
            *status = MStatus(MStatus::kFailure,
                              name +
                                  " has construction history: an edit of its own geometry "
                                  "would be lost at the next evaluation");
        return nullptr;
    }
    if (status) *status = MStatus::kSuccess;
    Cell* own = cell({a.cachedInMesh.get(), -1}, true);
    if (hasTweaks()) {
        own->data = std::make_shared<MeshData>(output());
        slot(cls->slotOf(a.pnts.get())).elements.clear();
    } else if (!own->data || own->data.use_count() > 1 ||
               !dynamic_cast<MeshData*>(own->data.get())) {
        // Never edit a value another plug may be holding.
        own->data = std::make_shared<MeshData>(geometryIn(*own));
    }
    return &static_cast<MeshData*>(own->data.get())->edit();
}

void MeshShape::ownGeometryEdited() {
    propagateDirty(*this, {meshAttributes().cachedInMesh.get(), -1});
}

MStatus MeshShape::setOutputPoints(const std::vector<Vec3>& points) {
    const auto& a = meshAttributes();
    if (!hasHistory()) {
        MStatus st;
        MeshGeometry* g = editOwnGeometry(&st);
        if (!g) return st;
        MeshStatus ms = g->setPoints(points);
        if (!ms) return MStatus(MStatus::kInvalidParameter, ms.error);
        ownGeometryEdited();
        return MStatus::kSuccess;
    }
    auto b = base();
    if (static_cast<int>(points.size()) != b->numVertices())
        return MStatus(MStatus::kInvalidParameter, "expected " + std::to_string(b->numVertices()) +
                                                       " positions, got " +
                                                       std::to_string(points.size()));
    for (const auto& p : points)
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
            return MStatus(MStatus::kInvalidParameter, "positions must be finite numbers");
    Slot& slot = this->slot(cls->slotOf(a.pnts.get()));
    const std::set<int> connected = connectedTweaks();
    for (int i = 0; i < b->numVertices(); ++i) {
        Vec3 q = b->point(i);
        double t[3] = {exactOffset(q.x, points[i].x), exactOffset(q.y, points[i].y),
                       exactOffset(q.z, points[i].z)};
        auto it = slot.elements.find(i);
        if (t[0] == 0 && t[1] == 0 && t[2] == 0) {
            // A vertex back on its base position keeps no tweak, so that tweaks
            // do not pile up over a session.
            if (it != slot.elements.end() && !connected.count(i)) slot.elements.erase(it);
            continue;
        }
        Cell& c = it == slot.elements.end() ? slot.elements[i] : it->second;
        c.num[0] = t[0];
        c.num[1] = t[1];
        c.num[2] = t[2];
        c.dirty = false;
    }
    propagateDirty(*this, {a.pnts.get(), -1});
    return MStatus::kSuccess;
}

MStatus MeshShape::setOutputPoint(int vertex, const Vec3& point) {
    if (!std::isfinite(point.x) || !std::isfinite(point.y) || !std::isfinite(point.z))
        return MStatus(MStatus::kInvalidParameter, "positions must be finite numbers");
    const auto& a = meshAttributes();
    auto outOfRange = [&](int count) {
        return MStatus(MStatus::kInvalidParameter, "vertex " + std::to_string(vertex) +
                                                       " does not exist on " + name + " (" +
                                                       std::to_string(count) + " vertices)");
    };
    if (!hasHistory()) {
        // Edit in place: reading the output first would share the geometry and
        // make every single-vertex move copy the whole mesh.
        MStatus st;
        MeshGeometry* g = editOwnGeometry(&st);
        if (!g) return st;
        if (vertex < 0 || vertex >= g->numVertices()) return outOfRange(g->numVertices());
        g->setPoint(vertex, point);
        ownGeometryEdited();
        return MStatus::kSuccess;
    }
    auto b = base();
    if (vertex < 0 || vertex >= b->numVertices()) return outOfRange(b->numVertices());
    Vec3 q = b->point(vertex);
    double t[3] = {exactOffset(q.x, point.x), exactOffset(q.y, point.y), exactOffset(q.z, point.z)};
    writeNumeric(*this, {a.pnts.get(), vertex}, t, 3);
    return MStatus::kSuccess;
}

void registerMeshTypes(Registry& registry) {
    {
        auto cls = std::make_unique<NodeClass>();
        cls->typeName = "mesh";
        cls->typeId = MTypeId(0x444d5348);
        cls->kind = MFn::kMesh;
        cls->role = NodeRole::Shape;
        cls->make = [](NodeClass* c) { return std::make_shared<MeshShape>(c); };
        addInheritedAttributes(*cls);
        const auto& a = meshAttributes();
        for (const auto& attr : {a.inMesh, a.outMesh, a.cachedInMesh, a.pnts})
            cls->addAttribute(attr);
        for (const auto& when : {a.inMesh, a.cachedInMesh, a.pnts})
            cls->addAffects(when.get(), a.outMesh.get());
        registry.addClass(std::move(cls));
    }
    {
        auto cls = std::make_unique<NodeClass>();
        cls->typeName = "polyTweak";
        cls->typeId = MTypeId(0x50545745);
        cls->kind = MFn::kPolyTweak;
        cls->make = [](NodeClass* c) { return std::make_shared<PolyTweakNode>(c); };
        addInheritedAttributes(*cls);
        const auto& a = polyTweakAttributes();
        for (const auto& attr : {a.inputPolymesh, a.output, a.tweak}) cls->addAttribute(attr);
        cls->addAffects(a.inputPolymesh.get(), a.output.get());
        cls->addAffects(a.tweak.get(), a.output.get());
        registry.addClass(std::move(cls));
    }
}

}  // namespace ehost
