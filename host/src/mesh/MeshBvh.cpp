#include "host/src/mesh/MeshBvh.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ehost {

namespace {

void reportEmbreeError(void*, RTCError code, const char* message) {
    std::fprintf(stderr, "embree error %d: %s\n", static_cast<int>(code), message ? message : "");
}

struct DeviceHolder {
    RTCDevice device = nullptr;
    DeviceHolder() {
        device = rtcNewDevice(nullptr);
        if (device) rtcSetDeviceErrorFunction(device, reportEmbreeError, nullptr);
    }
    ~DeviceHolder() {
        if (device) rtcReleaseDevice(device);
    }
};

}  // namespace

RTCDevice embreeDevice() {
    // Process-wide, not per session: BVHs cached in mesh geometry may outlive a session.
    static DeviceHolder holder;
    return holder.device;
}

std::shared_ptr<const MeshBvh> MeshBvh::build(const std::vector<Vec3>& points,
                                              const std::vector<int>& faceOffsets,
                                              const std::vector<int>& connects) {
    std::shared_ptr<MeshBvh> bvh(new MeshBvh);
    bvh->fill(points, faceOffsets, connects);
    if (bvh->numTriangles() > 0) bvh->commit(points.size());
    return bvh;
}

void MeshBvh::fill(const std::vector<Vec3>& points, const std::vector<int>& faceOffsets,
                   const std::vector<int>& connects) {
    if (!points.empty()) {
        Vec3 lo = points[0], hi = points[0];
        for (const Vec3& p : points) {
            for (int a = 0; a < 3; ++a) {
                lo[a] = std::min(lo[a], p[a]);
                hi[a] = std::max(hi[a], p[a]);
            }
        }
        origin_ = (lo + hi) * 0.5;
    }
    vertices_.resize(3 * points.size() + 1, 0.0f);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Vec3 local = points[i] - origin_;
        for (int a = 0; a < 3; ++a) {
            vertices_[3 * i + a] = static_cast<float>(local[a]);
            extent_ = std::max(extent_, std::abs(local[a]));
        }
    }

    const int numFaces = static_cast<int>(faceOffsets.size()) - 1;
    faceFirstTriangle_.resize(numFaces + 1);
    int triangles = 0;
    for (int f = 0; f < numFaces; ++f) {
        faceFirstTriangle_[f] = triangles;
        triangles += faceOffsets[f + 1] - faceOffsets[f] - 2;
    }
    faceFirstTriangle_[numFaces] = triangles;
    indices_.resize(3 * static_cast<std::size_t>(triangles));
    triangleFace_.resize(triangles);
    std::size_t t = 0;
    for (int f = 0; f < numFaces; ++f) {
        const int begin = faceOffsets[f], end = faceOffsets[f + 1];
        for (int k = begin + 1; k + 1 < end; ++k, ++t) {
            indices_[3 * t] = static_cast<std::uint32_t>(connects[begin]);
            indices_[3 * t + 1] = static_cast<std::uint32_t>(connects[k]);
            indices_[3 * t + 2] = static_cast<std::uint32_t>(connects[k + 1]);
            triangleFace_[t] = f;
        }
    }
}

void MeshBvh::commit(std::size_t numPoints) {
    RTCDevice device = embreeDevice();
    if (!device) {
        error_ = "the Embree device could not be created";
        return;
    }
    RTCScene scene = rtcNewScene(device);
    // Robust mode makes the triangle test watertight and edge-inclusive, so rays
    // through shared edges and vertices hit; the context filter serves face
    // filters and all-hits queries.
    rtcSetSceneFlags(scene, RTC_SCENE_FLAG_ROBUST | RTC_SCENE_FLAG_CONTEXT_FILTER_FUNCTION);
    rtcSetSceneBuildQuality(scene, RTC_BUILD_QUALITY_MEDIUM);
    RTCGeometry geometry = rtcNewGeometry(device, RTC_GEOMETRY_TYPE_TRIANGLE);
    rtcSetSharedGeometryBuffer(geometry, RTC_BUFFER_TYPE_VERTEX, 0, RTC_FORMAT_FLOAT3,
                               vertices_.data(), 0, 3 * sizeof(float), numPoints);
    rtcSetSharedGeometryBuffer(geometry, RTC_BUFFER_TYPE_INDEX, 0, RTC_FORMAT_UINT3,
                               indices_.data(), 0, 3 * sizeof(std::uint32_t), triangleFace_.size());
    rtcCommitGeometry(geometry);
    rtcAttachGeometry(scene, geometry);
    rtcReleaseGeometry(geometry);
    rtcCommitScene(scene);
    if (RTCError code = rtcGetDeviceError(device); code != RTC_ERROR_NONE) {
        error_ = "Embree could not build the mesh's BVH (error " + std::to_string(code) + ")";
        rtcReleaseScene(scene);
        return;
    }
    scene_ = scene;
}

MeshBvh::~MeshBvh() {
    if (scene_) rtcReleaseScene(scene_);
}

std::size_t MeshBvh::memoryBytes() const {
    // Embree's own nodes are not visible; about one node per two triangles.
    const std::size_t embreeEstimate = triangleFace_.size() * 64;
    return sizeof(MeshBvh) + vertices_.capacity() * sizeof(float) +
           indices_.capacity() * sizeof(std::uint32_t) +
           (triangleFace_.capacity() + faceFirstTriangle_.capacity()) * sizeof(int) +
           embreeEstimate;
}

}  // namespace ehost
