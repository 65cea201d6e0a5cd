#pragma once
#include <maya/MFnBase.h>

//! Base of the data function sets; also names the kinds of typed data.
class OPENMAYA_EXPORT MFnData : public MFnBase {
public:
    enum Type {
        kInvalid,
        kNumeric,
        kPlugin,
        kPluginGeometry,
        kString,
        kMatrix,
        kStringArray,
        kDoubleArray,
        kFloatArray,
        kIntArray,
        kPointArray,
        kVectorArray,
        kMatrixArray,
        kComponentList,
        kMesh,
        kLattice,
        kNurbsCurve,
        kNurbsSurface,
        kSphere,
        kDynArrayAttrs,
        kDynSweptGeometry,
        kSubdSurface,
        kNObject,
        kNId,
        kAny,
        kLast
    };

    MFnData() = default;
    MFnData(const MObject& object, MStatus* status = NULL) {
        MStatus s = attach(object);
        if (status) *status = s;
    }
    MFn::Type type() const override { return MFn::kData; }
};
