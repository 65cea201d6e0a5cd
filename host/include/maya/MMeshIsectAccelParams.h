#pragma once
#include <maya/MTypes.h>

namespace ehost {
struct ApiAccess;
}  // namespace ehost

//! How MFnMesh should accelerate its intersection and closest-point queries.
//! Made by MFnMesh::autoUniformGridParams() or MFnMesh::uniformGridParams().
//! The host answers every query from one BVH per mesh version whatever the
//! parameters say, so they only tell the caller's intent; results never depend
//! on them.
class OPENMAYA_EXPORT MMeshIsectAccelParams {
public:
    MMeshIsectAccelParams() = default;

private:
    friend class MFnMesh;
    friend struct ehost::ApiAccess;
    enum class Kind { kNone, kAutoGrid, kUniformGrid };
    struct Impl {
        Kind kind = Kind::kNone;
        int divisions[3] = {0, 0, 0};
    };
    Impl impl_;
};
