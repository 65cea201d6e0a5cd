#pragma once
// The engine's side of MObject: everything the API hands out as an MObject
// derives from Object.

#include <maya/MFn.h>
#include <maya/MObject.h>

#include <memory>

namespace ehost {

//! True when kind is base or derives from it in the host's kind hierarchy.
bool kindIsA(MFn::Type kind, MFn::Type base);
const char* kindName(MFn::Type kind);

class Object : public std::enable_shared_from_this<Object> {
public:
    virtual ~Object() = default;
    virtual MFn::Type apiType() const = 0;
    virtual bool hasFn(MFn::Type type) const { return kindIsA(apiType(), type); }
};

using ObjectPtr = std::shared_ptr<Object>;

//! The engine's way into the private state of API classes. Each API class
//! that carries engine state keeps it in a private member `impl_` and makes
//! this struct its friend.
struct ApiAccess {
    static const ObjectPtr& object(const MObject& o) { return o.obj_; }
    static MObject wrap(ObjectPtr obj) { return MObject(std::move(obj)); }
    template <class T>
    static std::shared_ptr<T> as(const MObject& o) {
        return std::dynamic_pointer_cast<T>(o.obj_);
    }
    template <class T>
    static auto& impl(T& x) {
        return x.impl_;
    }
    template <class T>
    static const auto& impl(const T& x) {
        return x.impl_;
    }
};

}  // namespace ehost
