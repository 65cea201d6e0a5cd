#include "host/src/dg/Registry.h"

#include "host/src/dg/Scene.h"

namespace ehost {

NodeClass* Registry::findClass(const std::string& typeName) const {
    for (auto& c : classes_)
        if (c->typeName == typeName) return c.get();
    return nullptr;
}

NodeClass* Registry::findClass(const MTypeId& id) const {
    if (id.id() == 0) return nullptr;
    for (auto& c : classes_)
        if (c->typeId == id) return c.get();
    return nullptr;
}

MStatus Registry::addClass(std::unique_ptr<NodeClass> cls) {
    if (findClass(cls->typeName))
        return MStatus(MStatus::kFailure,
                       "a node type named " + cls->typeName + " is already registered");
    if (findClass(cls->typeId))
        return MStatus(MStatus::kFailure, "node type id " + std::to_string(cls->typeId.id()) +
                                              " is already registered");
    classes_.push_back(std::move(cls));
    return MStatus::kSuccess;
}

MStatus Registry::removeClass(const MTypeId& id) {
    for (auto it = classes_.begin(); it != classes_.end(); ++it) {
        if ((*it)->typeId != id) continue;
        for (auto& n : theScene().nodes())
            if (&n->cls->registered() == it->get())
                return MStatus(MStatus::kFailure,
                               "node type " + (*it)->typeName + " is still used by " + n->name);
        for (auto& c : classes_)
            if (c->base == it->get())
                return MStatus(MStatus::kFailure,
                               "node type " + (*it)->typeName + " is the base of " + c->typeName);
        classes_.erase(it);
        return MStatus::kSuccess;
    }
    return MStatus(MStatus::kNotFound, "no node type with id " + std::to_string(id.id()));
}

}  // namespace ehost
