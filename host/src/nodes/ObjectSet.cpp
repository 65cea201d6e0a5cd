#include "host/src/nodes/ObjectSet.h"

#include "host/src/dg/AttrBuild.h"
#include "host/src/dg/Registry.h"
#include "host/src/dg/Scene.h"
#include "host/src/nodes/Builtins.h"
#include "host/src/nodes/Camera.h"

namespace ehost {

const ObjectSetAttributes& objectSetAttributes() {
    static const ObjectSetAttributes s = [] {
        ObjectSetAttributes a;
        a.dagSetMembers = messageAttr("dagSetMembers", "dsm");
        a.dagSetMembers->array = true;
        a.dnSetMembers = messageAttr("dnSetMembers", "dnsm");
        a.dnSetMembers->array = true;
        return a;
    }();
    return s;
}

namespace {

std::unique_ptr<NodeClass> setClass(const char* name, unsigned id, MFn::Type kind) {
    auto cls = std::make_unique<NodeClass>();
    cls->typeName = name;
    cls->typeId = MTypeId(id);
    cls->kind = kind;
    addInheritedAttributes(*cls);
    cls->addAttribute(objectSetAttributes().dagSetMembers);
    cls->addAttribute(objectSetAttributes().dnSetMembers);
    return cls;
}

}  // namespace

void registerSetTypes(Registry& registry) {
    registry.addClass(setClass("objectSet", 0x4f424a53, MFn::kSet));
    auto shading = setClass("shadingEngine", 0x53484144, MFn::kShadingEngine);
    shading->base = registry.findClass("objectSet");
    registry.addClass(std::move(shading));
}

std::vector<Node*> setMembers(Node& set) {
    std::vector<Node*> out;
    for (const Attribute* a :
         {objectSetAttributes().dagSetMembers.get(), objectSetAttributes().dnSetMembers.get()})
        for (auto& [addr, src] : set.inputs)
            if (addr.attr == a && src.node && src.node->alive) out.push_back(src.node);
    return out;
}

MStatus addSetMember(Node& set, Node& member) {
    for (Node* m : setMembers(set))
        if (m == &member) return MStatus::kSuccess;
    bool dag = member.cls->role != NodeRole::Depend;
    const Attribute* slot =
        dag ? objectSetAttributes().dagSetMembers.get() : objectSetAttributes().dnSetMembers.get();
    int index = 0;
    for (int i : set.elementIndices(slot)) index = std::max(index, i + 1);
    for (auto& [addr, src] : set.inputs)
        if (addr.attr == slot) index = std::max(index, addr.index + 1);
    PlugAddr from = dag ? PlugAddr{dagAttributes().instObjGroups.get(), 0}
                        : PlugAddr{baseAttributes().message.get(), -1};
    if (dag && set.cls->kind == MFn::kShadingEngine) {
        // A DAG node belongs to one shading group at a time.
        std::vector<PlugRef> old;
        auto range = member.outputs.equal_range(from);
        for (auto it = range.first; it != range.second; ++it)
            if (it->second.node->cls->kind == MFn::kShadingEngine) old.push_back(it->second);
        for (const auto& o : old) disconnect(PlugRef{&member, from}, o);
    }
    return connect(PlugRef{&member, from}, PlugRef{&set, PlugAddr{slot, index}});
}

void populateNewScene(Scene& scene) {
    NodeClass* shading = theRegistry().findClass("shadingEngine");
    if (shading) scene.create(*shading, "initialShadingGroup", nullptr);
    createDefaultCamera();
}

}  // namespace ehost
