#pragma once
#include <maya/MFnComponent.h>
#include <maya/MIntArray.h>

//! Components addressed by one index: mesh vertices, edges and faces.
class OPENMAYA_EXPORT MFnSingleIndexedComponent : public MFnComponent {
public:
    MFnSingleIndexedComponent() = default;
    MFnSingleIndexedComponent(const MObject& object, MStatus* status = NULL);
    MFn::Type type() const override { return MFn::kSingleIndexedComponent; }

    //! Makes an empty component of a kind (kMeshVertComponent, kMeshEdgeComponent,
    //! kMeshPolygonComponent).
    MObject create(MFn::Type componentType, MStatus* status = NULL);
    MStatus addElement(int element);
    MStatus addElements(const MIntArray& elements);
    int element(int index, MStatus* status = NULL) const;
    MStatus getElements(MIntArray& elements) const;
    //! Every index below numElements; the component remembers it as complete.
    MStatus setCompleteData(int numElements);
    //! The count given to setCompleteData (0 when it was not called).
    MStatus getCompleteData(int& numElements) const;
};
