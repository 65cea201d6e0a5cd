#pragma once
// Conversions between a DAG node's object space and world space, exact
// enough that points written in world space read back bit for bit.

#include <maya/MMatrix.h>

#include "host/src/core/Vec3.h"

namespace ehost {

//! Conversions between object space and the space a caller asked for.
class SpaceFrame {
public:
    //! Object space: every conversion is the identity.
    SpaceFrame() = default;
    explicit SpaceFrame(const MMatrix& objectToWorld);

    bool isWorld() const { return world_; }
    Vec3 pointOut(const Vec3& objectPoint) const;
    //! The object-space point that pointOut maps nearest to spacePoint: the
    //! inverse, refined so that positions written in world space read back
    //! bit for bit whenever some object-space point maps onto them exactly
    //! (coordinates much smaller than the transform's translation may have
    //! none: then the nearest).
    Vec3 pointIn(const Vec3& spacePoint) const;
    Vec3 vectorOut(const Vec3& objectVector) const;
    Vec3 vectorIn(const Vec3& spaceVector) const;
    //! Normals follow the inverse transpose and stay unit length.
    Vec3 normalOut(const Vec3& objectNormal) const;

private:
    bool world_ = false;
    MMatrix m_, inv_;
};

}  // namespace ehost
