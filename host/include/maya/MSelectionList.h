#pragma once
#include <maya/MDagPath.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

#include <memory>
#include <vector>

class MStringArray;

namespace ehost {
struct SelItem;
struct ApiAccess;
}  // namespace ehost

//! A list of scene items: nodes, DAG paths with optional mesh components, plugs.
class OPENMAYA_EXPORT MSelectionList {
public:
    enum MergeStrategy { kMergeNormal, kXORWithList, kRemoveFromList };

    MSelectionList();
    MSelectionList(const MSelectionList& other);
    MSelectionList& operator=(const MSelectionList& other);
    ~MSelectionList();

    MStatus clear();
    bool isEmpty(MStatus* status = NULL) const;
    unsigned int length(MStatus* status = NULL) const;

    MStatus getDependNode(unsigned int index, MObject& node) const;
    MStatus getDagPath(unsigned int index, MDagPath& path,
                       MObject& component = MObject::kNullObj) const;
    MStatus getPlug(unsigned int index, MPlug& plug) const;

    //! Adds what a name matches: "node", "|a|b", "a|b", "node.attr",
    //! "mesh.vtx[3]", "mesh.e[2:5]", "mesh.f[*]"; "*" matches any characters.
    MStatus add(const MString& matchString, bool searchChildNamespacesToo = false);
    MStatus add(const MObject& object, bool mergeWithExisting = false);
    MStatus add(const MDagPath& path, const MObject& component = MObject::kNullObj,
                bool mergeWithExisting = false);
    MStatus add(const MPlug& plug, bool mergeWithExisting = true);
    MStatus add(const MSelectionList& other, MergeStrategy strategy = kMergeNormal);
    MStatus merge(const MSelectionList& other, MergeStrategy strategy = kMergeNormal);
    MStatus remove(unsigned int index);
    MStatus replace(unsigned int index, const MObject& item);
    MStatus replace(unsigned int index, const MDagPath& item,
                    const MObject& component = MObject::kNullObj);
    MStatus toggle(const MDagPath& path, const MObject& component);

    bool hasItem(const MObject& item, MStatus* status = NULL) const;
    bool hasItem(const MDagPath& item, const MObject& component = MObject::kNullObj,
                 MStatus* status = NULL) const;
    MStatus getSelectionStrings(MStringArray& strings) const;
    MStatus getSelectionStrings(unsigned int index, MStringArray& strings) const;

private:
    friend struct ehost::ApiAccess;
    struct Impl {
        std::vector<ehost::SelItem> items;
    };
    std::unique_ptr<Impl> impl_;
};
