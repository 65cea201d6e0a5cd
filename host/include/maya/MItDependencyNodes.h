#pragma once
#include <maya/MFn.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>

#include <vector>

//! Visits the scene's dependency nodes in the host's order, optionally only
//! those of one kind (and the kinds derived from it).
class OPENMAYA_EXPORT MItDependencyNodes {
public:
    MItDependencyNodes(MFn::Type filter = MFn::kInvalid, MStatus* status = NULL);
    ~MItDependencyNodes() = default;

    MStatus reset(MFn::Type filter = MFn::kInvalid);
    bool isDone(MStatus* status = NULL) const;
    MStatus next();
    MObject thisNode(MStatus* status = NULL) const;
    MObject item(MStatus* status = NULL) const { return thisNode(status); }

private:
    std::vector<MObject> nodes_;
    size_t position_ = 0;
};
