#pragma once
#include <maya/MFnDependencyNode.h>

class MSelectionList;
class MDagPath;

//! Reads and edits object sets (and shading groups).
class OPENMAYA_EXPORT MFnSet : public MFnDependencyNode {
public:
    enum Restriction {
        kNone,
        kVerticesOnly,
        kEdgesOnly,
        kFacetsOnly,
        kEditPointsOnly,
        kRenderableOnly
    };

    MFnSet() = default;
    MFnSet(const MObject& object, MStatus* status = NULL);
    MFn::Type type() const override { return MFn::kSet; }

    MObject create(const MSelectionList& members, Restriction restriction = kNone,
                   MStatus* status = NULL);
    //! The members; flatten has no effect as sets do not nest here.
    MStatus getMembers(MSelectionList& members, bool flatten) const;
    MStatus addMember(const MObject& object);
    MStatus addMember(const MDagPath& path, const MObject& component = MObject::kNullObj);
    MStatus addMembers(const MSelectionList& list);
    MStatus removeMember(const MObject& object);
    bool isMember(const MObject& object, MStatus* status = NULL) const;
    bool isMember(const MDagPath& path, MStatus* status = NULL) const;
    MStatus clear();
};
