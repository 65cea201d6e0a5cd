#pragma once
// Embree acceleration structure for one version of a mesh: polygons fanned into
// triangles (v0, vi, vi+1), vertices stored in float relative to the centre of
// the mesh's bounding box so that meshes far from the world origin keep their
// precision. Embree only picks the triangle; MeshGeometry's queries redo the
// maths in double against the mesh's own points. Immutable once built, shared by
// copies of a mesh, released with the last of them.

#include "host/src/core/Vec3.h"

#include <embree3/rtcore.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ehost {

//! The process-wide Embree device, created on first use and released at exit.
RTCDevice embreeDevice();

class MeshBvh {
public:
    static std::shared_ptr<const MeshBvh> build(const std::vector<Vec3>& points,
                                                const std::vector<int>& faceOffsets,
                                                const std::vector<int>& connects);
    ~MeshBvh();
    MeshBvh(const MeshBvh&) = delete;
    MeshBvh& operator=(const MeshBvh&) = delete;

    //! Null when the mesh has no triangles or Embree failed (error() says why).
    RTCScene scene() const { return scene_; }
    const std::string& error() const { return error_; }
    //! Object-space point that BVH coordinates are relative to.
    const Vec3& origin() const { return origin_; }
    //! Largest absolute BVH coordinate: the scale of float rounding in the BVH.
    double extent() const { return extent_; }

    int numTriangles() const { return static_cast<int>(triangleFace_.size()); }
    int triangleFace(unsigned prim) const { return triangleFace_[prim]; }
    int localTriangle(unsigned prim) const {
        return static_cast<int>(prim) - faceFirstTriangle_[triangleFace_[prim]];
    }
    std::array<int, 3> triangleVertices(unsigned prim) const {
        return {static_cast<int>(indices_[3 * prim]), static_cast<int>(indices_[3 * prim + 1]),
                static_cast<int>(indices_[3 * prim + 2])};
    }
    std::size_t memoryBytes() const;

private:
    MeshBvh() = default;
    void fill(const std::vector<Vec3>& points, const std::vector<int>& faceOffsets,
              const std::vector<int>& connects);
    void commit(std::size_t numPoints);

    RTCScene scene_ = nullptr;
    std::string error_;
    Vec3 origin_;
    double extent_ = 0;
    std::vector<float> vertices_;  // xyz per point, plus Embree's read-ahead padding
    std::vector<std::uint32_t> indices_;
    std::vector<int> triangleFace_;
    std::vector<int> faceFirstTriangle_;
};

}  // namespace ehost
