#pragma once
#include <maya/MObject.h>
#include <maya/MTypes.h>

#include <memory>

//! Tracks an MObject without keeping it alive: tells whether what it names
//! still exists (alive: a deleted node the undo queue holds is still alive)
//! and whether it is still part of the scene (valid).
class OPENMAYA_EXPORT MObjectHandle {
public:
    MObjectHandle() = default;
    MObjectHandle(const MObject& object);
    MObjectHandle(const MObjectHandle& handle) = default;
    ~MObjectHandle() = default;
    MObjectHandle& operator=(const MObject& object);
    MObjectHandle& operator=(const MObjectHandle& other) = default;

    //! The object, or a null object once it is no longer valid.
    MObject object() const;
    const MObject& objectRef() const;
    //! Non-zero, and the same for every handle of one live object; 0 for a
    //! null or dead object.
    unsigned int hashCode() const;
    static unsigned int objectHashCode(const MObject& object);
    bool isValid() const;
    bool isAlive() const;

    bool operator==(const MObject& object) const;
    bool operator==(const MObjectHandle& other) const;
    bool operator!=(const MObject& object) const { return !(*this == object); }
    bool operator!=(const MObjectHandle& other) const { return !(*this == other); }

private:
    std::weak_ptr<ehost::Object> obj_;
    // What objectRef hands out; refreshed by each call so it holds nothing
    // alive for longer than the caller's use of the reference.
    mutable MObject ref_;
};
