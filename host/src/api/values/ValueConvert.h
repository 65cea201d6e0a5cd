#pragma once
// Conversions between the API value types and the engine's own Vec3, for
// engine code that takes points and vectors from plug-ins or hands them out.

#include <maya/MFloatPoint.h>
#include <maya/MFloatVector.h>
#include <maya/MPoint.h>
#include <maya/MVector.h>

#include "host/src/core/Vec3.h"

namespace ehost {

//! The cartesian position (divided by w unless w is 0 or 1).
inline Vec3 toVec3(const MPoint& p) {
    if (p.w == 1.0 || p.w == 0.0) return {p.x, p.y, p.z};
    return {p.x / p.w, p.y / p.w, p.z / p.w};
}
inline Vec3 toVec3(const MVector& v) {
    return {v.x, v.y, v.z};
}
inline Vec3 toVec3(const MFloatPoint& p) {
    return toVec3(MPoint(p));
}
inline Vec3 toVec3(const MFloatVector& v) {
    return {v.x, v.y, v.z};
}
inline MPoint toPoint(const Vec3& v) {
    return MPoint(v.x, v.y, v.z);
}
inline MVector toVector(const Vec3& v) {
    return MVector(v.x, v.y, v.z);
}

}  // namespace ehost
