#include <maya/MObjectHandle.h>

#include <functional>

#include "host/src/core/Object.h"
#include "host/src/dg/Graph.h"

namespace {

unsigned int hashOf(const ehost::ObjectPtr& obj) {
    if (!obj) return 0;
    size_t h = std::hash<const void*>()(obj.get());
    auto folded = static_cast<unsigned int>(h ^ (h >> 32));
    return folded ? folded : 1u;
}

}  // namespace

MObjectHandle::MObjectHandle(const MObject& object) : obj_(ehost::ApiAccess::object(object)) {}

MObjectHandle& MObjectHandle::operator=(const MObject& object) {
    obj_ = ehost::ApiAccess::object(object);
    ref_ = MObject();
    return *this;
}

bool MObjectHandle::isAlive() const {
    ref_ = MObject();
    return !obj_.expired();
}

bool MObjectHandle::isValid() const {
    ref_ = MObject();
    ehost::ObjectPtr obj = obj_.lock();
    if (!obj) return false;
    // A node is valid while it is part of the scene; a deleted one that the
    // undo queue keeps is alive but not valid until the deletion is undone.
    if (auto* node = dynamic_cast<ehost::Node*>(obj.get())) return node->alive;
    return true;
}

MObject MObjectHandle::object() const {
    return isValid() ? ehost::ApiAccess::wrap(obj_.lock()) : MObject();
}

const MObject& MObjectHandle::objectRef() const {
    ref_ = object();
    return ref_;
}

unsigned int MObjectHandle::hashCode() const {
    return hashOf(obj_.lock());
}

unsigned int MObjectHandle::objectHashCode(const MObject& object) {
    return hashOf(ehost::ApiAccess::object(object));
}

bool MObjectHandle::operator==(const MObject& object) const {
    ehost::ObjectPtr mine = obj_.lock();
    return mine == ehost::ApiAccess::object(object);
}

bool MObjectHandle::operator==(const MObjectHandle& other) const {
    return !obj_.owner_before(other.obj_) && !other.obj_.owner_before(obj_);
}
