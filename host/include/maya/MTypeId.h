#pragma once
#include <maya/MStatus.h>
#include <maya/MTypes.h>

//! Identifies a node type (or data type) for registration and in scene files.
class OPENMAYA_EXPORT MTypeId {
public:
    MTypeId() = default;
    MTypeId(unsigned int id) : id_(id) {}
    MTypeId(unsigned int prefix, unsigned int id) : id_((prefix << 8) | (id & 0xff)) {}
    MTypeId(const MTypeId&) = default;
    MTypeId& operator=(const MTypeId&) = default;

    bool operator==(const MTypeId& other) const { return id_ == other.id_; }
    bool operator!=(const MTypeId& other) const { return id_ != other.id_; }
    unsigned int id(MStatus* status = NULL) const {
        if (status) *status = MStatus::kSuccess;
        return id_;
    }

private:
    unsigned int id_ = 0;
};
