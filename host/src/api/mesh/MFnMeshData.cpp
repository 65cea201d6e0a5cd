#include <maya/MFnMeshData.h>

#include "host/src/core/Guard.h"
#include "host/src/dg/Api.h"
#include "host/src/dg/MeshData.h"

MFnMeshData::MFnMeshData(const MObject& object, MStatus* ReturnStatus) {
    ehost::api::setStatus(ReturnStatus, attach(object));
}

MObject MFnMeshData::create(MStatus* ReturnStatus) {
    return ehost::guardEntry(ReturnStatus, "MFnMeshData::create", MObject(), [&] {
        obj_ = ehost::api::wrap(std::make_shared<ehost::MeshData>());
        ehost::api::setStatus(ReturnStatus, MStatus::kSuccess);
        return obj_;
    });
}
