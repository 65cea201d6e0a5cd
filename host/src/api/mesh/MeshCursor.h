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
#include "host/src/dg/Api.h"

namespace ehost::api {

enum class MeshElement { kVertex, kEdge, kFace, kFaceVertex };

class MeshCursor {
public:
    explicit MeshCursor(MeshElement element) : element_(element) {}
    //! A cursor attached as attach() does, for an iterator's constructor.
    static std::unique_ptr<MeshCursor> open(MeshElement element, const MDagPath& path,
                                            const MObject& component, MStatus* status);
    static std::unique_ptr<MeshCursor> open(MeshElement element, const MObject& mesh,
                                            MStatus* status);

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

    // The stepping every iterator offers, with the statuses the API gives.
    //! Success, or why there is nothing to iterate.
    MStatus attachedStatus() const;
    //! Elements in the iteration.
    int count(MStatus* status = nullptr) const;
    bool isDone(MStatus* status = nullptr) const;
    MStatus next();
    MStatus reset();
    //! The element index the iterator is on (a face-vertex id for face-vertices).
    int current() const { return current_; }
    //! current(), checked: -1 and a failure when the iterator is on no element.
    int index(MStatus* status) const;
    //! Moves to an element of the mesh; refused (nothing changes) when it does not exist.
    MStatus setIndex(int index, int& previous);

    //! The geometry, when the iterator is on an element that exists; else a
    //! failing status saying why.
    MStatus here(std::shared_ptr<const MeshGeometry>& geometry) const;
    //! here() plus the frame of a space.
    MStatus here(std::shared_ptr<const MeshGeometry>& geometry, MSpace::Space space,
                 SpaceFrame& frame) const;
    //! here() without keeping the geometry, for a check before an edit (which
    //! must not find the geometry shared).
    MStatus onElement() const;

    //! What read(geometry, element) gives for the current element, or
    //! fallback when the iterator is on none; status says which.
    template <class T, class Read>
    T read(MStatus* status, T fallback, Read&& read) const {
        std::shared_ptr<const MeshGeometry> g;
        MStatus st = here(g);
        setStatus(status, st);
        return st ? read(*g, current_) : fallback;
    }
    //! read() for values given in a space: read(geometry, frame, element).
    template <class T, class Read>
    T read(MSpace::Space space, MStatus* status, T fallback, Read&& read) const {
        std::shared_ptr<const MeshGeometry> g;
        SpaceFrame frame;
        MStatus st = here(g, space, frame);
        setStatus(status, st);
        return st ? read(*g, frame, current_) : fallback;
    }
    //! Runs visit(geometry, element) on the current element; the failure
    //! when the iterator is on none.
    template <class Visit>
    MStatus visit(Visit&& visit) const {
        std::shared_ptr<const MeshGeometry> g;
        MStatus st = here(g);
        if (st) visit(*g, current_);
        return st;
    }
    //! visit() for values given in a space: visit(geometry, frame, element).
    template <class Visit>
    MStatus visit(MSpace::Space space, Visit&& visit) const {
        std::shared_ptr<const MeshGeometry> g;
        SpaceFrame frame;
        MStatus st = here(g, space, frame);
        if (st) visit(*g, frame, current_);
        return st;
    }

    //! Moves the vertex the iterator is on (vertex iteration) to a point given in a space.
    MStatus setPosition(const MPoint& point, MSpace::Space space) const;

    //! A component holding the current element (a face-vertex as
    //! vtxFace[vertex][face]).
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
