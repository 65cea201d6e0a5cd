#pragma once
#include <maya/MFnData.h>
#include <maya/MObject.h>

//! Reads, edits and creates component list data: an ordered list of
//! components (mesh vertices, edges, faces, face-vertices), as
//! componentList attributes hold them. The list keeps copies of the
//! components added to it.
class OPENMAYA_EXPORT MFnComponentListData : public MFnData {
public:
    MFnComponentListData() = default;
    MFnComponentListData(const MObject& object, MStatus* status = NULL);
    MFn::Type type() const override { return MFn::kComponentListData; }

    MObject create(MStatus* status = NULL);
    unsigned int length(MStatus* status = NULL) const;
    //! A copy of the component at the position (a null object past the end).
    MObject operator[](unsigned int index) const;
    MStatus clear();
    //! Appends a copy of the component.
    MStatus add(MObject& component);
    //! Whether every element of the component is in a listed component of its kind.
    bool has(const MObject& component, MStatus* status = NULL) const;
    //! Takes out the listed component with the same elements.
    MStatus remove(const MObject& component);
    MStatus remove(const unsigned int index);
};
