#pragma once
// The state of a mesh iterator (MItMeshVertex, MItMeshEdge, MItMeshPolygon,
// MItMeshFaceVertex, MItGeometry): the mesh it walks, the elements it visits
// (all of them, or a component's in the component's order) and the element it
// is on. The mesh is read afresh at every call, so an iterator sees edits made
// while it runs, its own setPosition included.

#include <maya/MDagPath.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>

#include <memory>
#include <vector>

#include "host/src/api/mesh/MeshTarget.h"

namespace ehost::api {

enum class MeshElement { kVertex, kEdge, kFace, kFaceVertex };

class MeshCursor {
public:
    explicit MeshCursor(MeshElement element) : element_(element) {}

    //! A path to a mesh (or its transform) and an optional component of the
    //! iterator's kind; every listed index must exist.
    MStatus attach(const MDagPath& path, const MObject& component);
    //! A mesh shape node or a mesh data object: every element, object space only.
    MStatus attach(const MObject& mesh);

    bool attached() const { return target_ != nullptr; }
    const MeshTarget& target() const { return *target_; }

    //! Whether a component limits the iteration, and its elements in order.
    bool restricted() const { return restricted_; }
    const std::vector<int>& listed() const { return listed_; }
    //! Elements in the iteration.
    int count() const;
    bool isDone() const { return !target_ || position_ >= count(); }
    void next();
    void reset();
    //! The element index the iterator is on (a face-vertex id for face-vertices).
    int current() const { return current_; }
    //! Moves to an element of the mesh; refused (nothing changes) when it does not exist.
    MStatus setIndex(int index, int& previous);

    //! The geometry, when the iterator is on an element that exists; else a
    //! failing status saying why.
    MStatus here(std::shared_ptr<const MeshGeometry>& geometry) const;
    //! here() plus the frame of a space.
    MStatus here(std::shared_ptr<const MeshGeometry>& geometry, MSpace::Space space,
                 SpaceFrame& frame) const;

    //! A component holding the current element (kMeshVtxFaceComponent has no
    //! engine object, so face-vertices report their vertex).
    MObject currentItem(MStatus* status) const;
    //! The component being iterated, or a null object for the whole mesh.
    MObject component() const;

private:
    int elementCount(const MeshGeometry& g) const;
    const char* elementName() const;
    MFn::Type componentKind() const;
    void moveTo(int position);

    MeshElement element_;
    std::shared_ptr<const MeshTarget> target_;
    std::vector<int> listed_;
    bool restricted_ = false;
    int position_ = 0;  // in the iteration
    int current_ = 0;   // element index
};

}  // namespace ehost::api
