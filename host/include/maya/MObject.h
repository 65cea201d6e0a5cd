#pragma once
#include <maya/MFn.h>
#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <memory>

namespace ehost {
class Object;
struct ApiAccess;
}  // namespace ehost

//! A handle to something the host owns: a node, an attribute, a data object,
//! a component. Function sets (MFn...) attach to it to read and edit it.
class OPENMAYA_EXPORT MObject {
public:
    MObject() = default;
    MObject(const MObject&) = default;
    MObject(MObject&&) noexcept = default;
    ~MObject() = default;
    MObject& operator=(const MObject&) = default;
    MObject& operator=(MObject&&) noexcept = default;

    bool hasFn(MFn::Type type) const;
    bool isNull() const { return !obj_; }
    MFn::Type apiType() const;
    const char* apiTypeStr() const;

    bool operator==(const MObject& other) const { return obj_ == other.obj_; }
    bool operator!=(const MObject& other) const { return obj_ != other.obj_; }

    static MObject kNullObj;

private:
    friend struct ehost::ApiAccess;
    explicit MObject(std::shared_ptr<ehost::Object> obj) : obj_(std::move(obj)) {}
    std::shared_ptr<ehost::Object> obj_;
};
