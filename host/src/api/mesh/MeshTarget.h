#pragma once
// What a mesh function set or iterator is attached to: a mesh shape (reached
// through a DAG path, so world space is known, or through an MObject, object
// space only) or a mesh data object. Reads and edits go through here so that
// MFnMesh and every iterator follow the same rules:
// - reads see what the shape shows (history and tweaks applied);
// - point moves are exact (MeshShape::setOutputPoints / setOutputPoint);
// - topology, UV and smoothing edits change the shape's own geometry, or the
//   data object's, and are refused on a shape with history.

#include <maya/MDagPath.h>
#include <maya/MMatrix.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <memory>
#include <string>
#include <vector>

#include "host/src/core/Vec3.h"
#include "host/src/dag/SpaceFrame.h"
#include "host/src/dg/MeshData.h"
#include "host/src/nodes/MeshShape.h"

namespace ehost::api {

class MeshTarget {
public:
    //! A path to a mesh shape, or to a transform with one mesh shape below.
    static std::shared_ptr<const MeshTarget> fromPath(const MDagPath& path, MStatus* status);
    //! A mesh shape node or a mesh data object.
    static std::shared_ptr<const MeshTarget> fromObject(const MObject& object, MStatus* status);

    bool isData() const { return data_ != nullptr; }
    //! The shape node or the data object, as the API hands it out.
    MObject object() const;
    //! "mesh pCubeShape1" or "mesh data", for messages.
    std::string describe() const;

    //! The geometry as it is shown now (never null).
    std::shared_ptr<const MeshGeometry> geometry() const;

    //! The frame of a space: object space unless space is kWorld, which needs
    //! a path. Fails for kInvalid and for kWorld without a path.
    MStatus frame(MSpace::Space space, SpaceFrame& out) const;

    //! Moves every vertex (object space); the count must match.
    MStatus setPoints(const std::vector<Vec3>& objectPoints) const;
    MStatus setPoint(int vertex, const Vec3& objectPoint) const;

    //! Runs an edit on the geometry that can be edited: the shape's own (refused
    //! with history) or the data object's. edit returns something with ok()
    //! and error (MeshStatus, AddPolygonResult); on failure the mesh shows
    //! what it showed before.
    template <class Edit>
    MStatus edit(Edit&& edit) const;

private:
    std::shared_ptr<MeshShape> shape_;
    std::shared_ptr<MeshData> data_;
    bool hasPath_ = false;
    //! The geometry last read from the shape, while the shape has not changed
    //! since: a function set or iterator reading a whole mesh element by
    //! element evaluates it once. Weak, so that it never makes an edit copy
    //! the mesh.
    mutable std::weak_ptr<const MeshGeometry> read_;
    mutable unsigned long long readAt_ = 0;
    void forgetRead() const { read_.reset(); }

    MeshGeometry* beginEdit(MStatus& status, bool& bakedTweaks) const;
    void endEdit(bool changed, bool bakedTweaks) const;
};

template <class Edit>
MStatus MeshTarget::edit(Edit&& edit) const {
    MStatus st;
    bool baked = false;
    MeshGeometry* g = beginEdit(st, baked);
    if (!g) return st;
    const auto result = [&] {
        try {
            return edit(*g);
        } catch (...) {
            // The graph hears of whatever the edit changed before it threw.
            endEdit(true, baked);
            throw;
        }
    }();
    endEdit(result.ok(), baked);
    if (!result.ok()) return MStatus(MStatus::kInvalidParameter, describe() + ": " + result.error);
    return MStatus::kSuccess;
}

// ---- helpers shared by the mesh function sets and iterators ----------------

inline MStatus noMesh() {
    return MStatus(MStatus::kInvalidParameter, "the function set is not attached to a mesh");
}
//! "vertex 9 does not exist (valid ids are 0 to 7)".
MStatus outOfRange(const char* what, int index, int count);

}  // namespace ehost::api
