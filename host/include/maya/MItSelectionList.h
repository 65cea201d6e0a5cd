#pragma once
#include <maya/MDagPath.h>
#include <maya/MFn.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MSelectionList.h>
#include <maya/MStatus.h>

#include <vector>

class MStringArray;

//! Visits the items of a selection list, optionally only those of one kind.
//! With a filter, a DAG item that does not match is searched below for
//! nodes that do (a selected transform stands for its mesh shape).
class OPENMAYA_EXPORT MItSelectionList {
public:
    enum selItemType {
        kUnknownItem = -1,
        kDagSelectionItem,
        kAnimSelectionItem,
        kDNselectionItem,
        kPlugSelectionItem
    };

    MItSelectionList(const MSelectionList& list, MFn::Type filter = MFn::kInvalid,
                     MStatus* status = NULL);
    virtual ~MItSelectionList();

    bool isDone(MStatus* status = NULL);
    MStatus next();
    MStatus reset();
    MStatus getDependNode(MObject& depNode);
    MStatus getDagPath(MDagPath& dagPath, MObject& component);
    MStatus getDagPath(MDagPath& dagPath);
    MStatus getPlug(MPlug& plug);
    MStatus getStrings(MStringArray& array);
    selItemType itemType(MStatus* status = NULL);
    //! Applies a filter and starts again from the first item.
    MStatus setFilter(MFn::Type filter);
    bool hasComponents(MStatus* status = NULL) const;

    static const char* className() { return "MItSelectionList"; }

private:
    void collect();

    MSelectionList list_;
    MFn::Type filter_ = MFn::kInvalid;
    MSelectionList visited_;  // the items the walk visits, in order
    unsigned int position_ = 0;
};
