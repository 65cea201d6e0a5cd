// MFnComponentListData.

#include <maya/MFnComponentListData.h>

#include "host/src/dag/ComponentListData.h"
#include "host/src/dg/Api.h"

using ehost::Component;
using ehost::ComponentListData;
using ehost::api::fail;
using ehost::api::setStatus;

namespace {

ComponentListData* listOf(const MObject& o) {
    return ehost::ApiAccess::as<ComponentListData>(o).get();
}

MStatus noList() {
    return fail(MStatus::kInvalidParameter, "function set has no component list");
}

std::shared_ptr<Component> componentOf(const MObject& o) {
    return ehost::ApiAccess::as<Component>(o);
}

}  // namespace

MFnComponentListData::MFnComponentListData(const MObject& object, MStatus* status) {
    setStatus(status, attach(object));
}

MObject MFnComponentListData::create(MStatus* status) {
    obj_ = ehost::api::wrap(std::make_shared<ComponentListData>());
    setStatus(status, MStatus::kSuccess);
    return obj_;
}

unsigned int MFnComponentListData::length(MStatus* status) const {
    auto* l = listOf(obj_);
    setStatus(status, l ? MStatus(MStatus::kSuccess) : noList());
    return l ? static_cast<unsigned>(l->components.size()) : 0;
}

MObject MFnComponentListData::operator[](unsigned int index) const {
    auto* l = listOf(obj_);
    if (!l || index >= l->components.size()) return MObject();
    return ehost::api::wrap(l->components[index]->copy());
}

MStatus MFnComponentListData::clear() {
    auto* l = listOf(obj_);
    if (!l) return noList();
    l->components.clear();
    return MStatus::kSuccess;
}

MStatus MFnComponentListData::add(MObject& component) {
    auto* l = listOf(obj_);
    if (!l) return noList();
    auto c = componentOf(component);
    if (!c)
        return fail(
            MStatus::kInvalidParameter,
            std::string("a component list holds components, not ") + component.apiTypeStr());
    l->components.push_back(c->copy());
    return MStatus::kSuccess;
}

bool MFnComponentListData::has(const MObject& component, MStatus* status) const {
    auto* l = listOf(obj_);
    auto c = componentOf(component);
    setStatus(status, !l   ? noList()
                      : !c ? fail(MStatus::kInvalidParameter, "the object is not a component")
                           : MStatus(MStatus::kSuccess));
    if (!l || !c) return false;
    for (size_t i = 0; i < c->elements.size(); ++i) {
        const int second = c->doubleIndexed() ? c->second[i] : -1;
        bool found = false;
        for (const auto& listed : l->components)
            if (listed->kind == c->kind && listed->has(c->elements[i], second)) {
                found = true;
                break;
            }
        if (!found) return false;
    }
    return true;
}

MStatus MFnComponentListData::remove(const MObject& component) {
    auto* l = listOf(obj_);
    if (!l) return noList();
    auto c = componentOf(component);
    if (!c) return fail(MStatus::kInvalidParameter, "the object is not a component");
    for (auto it = l->components.begin(); it != l->components.end(); ++it)
        if ((*it)->sameElements(*c)) {
            l->components.erase(it);
            return MStatus::kSuccess;
        }
    return fail(MStatus::kInvalidParameter, "the component is not in the list");
}

MStatus MFnComponentListData::remove(const unsigned int index) {
    auto* l = listOf(obj_);
    if (!l) return noList();
    if (index >= l->components.size())
        return fail(MStatus::kInvalidParameter,
                    "the list has no component " + std::to_string(index) + " (" +
                        std::to_string(l->components.size()) + " components)");
    l->components.erase(l->components.begin() + index);
    return MStatus::kSuccess;
}
