#include "host/src/dag/ComponentListData.h"

#include "host/src/dag/Resolve.h"

namespace ehost {

DataPtr ComponentListData::clone() const {
    auto copy = std::make_shared<ComponentListData>();
    for (const auto& c : components) copy->components.push_back(c->copy());
    return copy;
}

bool ComponentListData::sameAs(const Data& other) const {
    auto* o = dynamic_cast<const ComponentListData*>(&other);
    if (!o || o->components.size() != components.size()) return false;
    for (size_t i = 0; i < components.size(); ++i)
        if (components[i]->elements != o->components[i]->elements ||
            components[i]->second != o->components[i]->second ||
            components[i]->kind != o->components[i]->kind)
            return false;
    return true;
}

std::vector<std::string> ComponentListData::names() const {
    std::vector<std::string> out;
    for (const auto& c : components)
        for (const std::string& s : componentStrings(*c)) out.push_back(s);
    return out;
}

}  // namespace ehost
