#pragma once
#include <maya/MFnData.h>

//! Makes mesh data objects: meshes that live in attributes rather than in a
//! shape. Fill one with MFnMesh::create(..., parentOrOwner = the data object)
//! or attach MFnMesh to it.
class OPENMAYA_EXPORT MFnMeshData : public MFnData {
public:
    MFnMeshData() = default;
    MFnMeshData(const MObject& object, MStatus* ReturnStatus = NULL);
    MFn::Type type() const override { return MFn::kMeshData; }

    //! A new empty mesh data object; the function set is attached to it.
    MObject create(MStatus* ReturnStatus = NULL);
};
