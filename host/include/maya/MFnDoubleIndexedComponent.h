#pragma once
#include <maya/MFnComponent.h>
#include <maya/MIntArray.h>

//! Components addressed by two indices: mesh face-vertices
//! (kMeshVtxFaceComponent, "vtxFace[vertex][face]"), the vertex first.
class OPENMAYA_EXPORT MFnDoubleIndexedComponent : public MFnComponent {
public:
    MFnDoubleIndexedComponent() = default;
    MFnDoubleIndexedComponent(const MObject& object, MStatus* status = NULL);
    MFn::Type type() const override { return MFn::kDoubleIndexedComponent; }

    //! Makes an empty component of a kind (kMeshVtxFaceComponent).
    MObject create(MFn::Type componentType, MStatus* status = NULL);
    //! Adds an element unless it is there already.
    MStatus addElement(int uIndex, int vIndex);
    //! The two arrays pair up element by element.
    MStatus addElements(MIntArray& uIndexArray, MIntArray& vIndexArray);
    MStatus getElement(int index, int& uIndex, int& vIndex) const;
    MStatus getElements(MIntArray& uIndexArray, MIntArray& vIndexArray) const;
    //! Every pair below (maxU, maxV); the component remembers them as complete.
    MStatus setCompleteData(int maxU, int maxV);
    //! The bounds given to setCompleteData (0, 0 when it was not called).
    MStatus getCompleteData(int& maxU, int& maxV) const;
};
