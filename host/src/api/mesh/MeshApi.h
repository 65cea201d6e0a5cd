#pragma once
// Small conversions shared by the mesh function sets and iterators.

#include <maya/MFloatArray.h>
#include <maya/MFloatPointArray.h>
#include <maya/MIntArray.h>
#include <maya/MPointArray.h>
#include <maya/MString.h>

#include <algorithm>
#include <span>
#include <string_view>
#include <vector>

#include "host/src/api/mesh/MeshTarget.h"
#include "host/src/api/values/ValueConvert.h"

namespace ehost::api {

inline std::vector<int> toVector(const MIntArray& a) {
    return std::vector<int>(a.begin(), a.end());
}

inline void assign(MIntArray& out, const std::vector<int>& values) {
    out.setLength(static_cast<unsigned>(values.size()));
    std::copy(values.begin(), values.end(), out.begin());
}

inline void assign(MIntArray& out, std::span<const int> values) {
    out.setLength(static_cast<unsigned>(values.size()));
    std::copy(values.begin(), values.end(), out.begin());
}

inline void assign(MFloatArray& out, const std::vector<float>& values) {
    out.setLength(static_cast<unsigned>(values.size()));
    std::copy(values.begin(), values.end(), out.begin());
}

inline std::vector<float> toVector(const MFloatArray& a) {
    return std::vector<float>(a.begin(), a.end());
}

inline bool contains(std::span<const int> ids, int id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

template <class PointArray>
std::vector<Vec3> toObjectPoints(const PointArray& points, const SpaceFrame& frame) {
    std::vector<Vec3> out;
    out.reserve(points.length());
    for (const auto& p : points) out.push_back(frame.pointIn(toVec3(p)));
    return out;
}

//! The kernel's name for a UV set argument: empty means the current set.
inline std::string_view uvSetName(const MString* uvSet) {
    return uvSet ? std::string_view(uvSet->str()) : std::string_view();
}

//! Refuses a named set the mesh does not have (NULL names the current set).
MStatus checkUVSet(const MeshGeometry& g, const MString* uvSet);

//! Position of a vertex among a face's corners, or -1.
int cornerOf(const MeshGeometry& g, int face, int vertex);

//! Average of the normals of the faces around a vertex, each weighed by its
//! corner angle there.
Vec3 angleWeightedNormal(const MeshGeometry& g, int vertex);

}  // namespace ehost::api
