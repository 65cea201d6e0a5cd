#pragma once
// The gateway to the rail node: every read and write of its attributes goes
// through here, by the named attribute kinds below, in the geometry core's
// types. It also finds the rail node, the source mesh and the retopology
// mesh. Code above this floor never names a rail-node attribute itself.

#include <maya/MDagPath.h>
#include <maya/MIntArray.h>
#include <maya/MObject.h>
#include <maya/MPointArray.h>
#include <maya/MStatus.h>

#include <vector>

#include "geometry/point.h"
#include "geometry/stroke_set.h"

namespace tessark {

//! The point-array attributes, each holding world positions unless noted.
enum class RailPoints {
    strokes,
    playersLine,
    strokesShadow,
    strokesNondestruct,
    playerpts,
    magnetPt,  // view pixels (x, y, 0, 1)
    fusept,
    fusemesh,
};

//! The integer-array attributes.
enum class RailInts { sizes, sizesShadow, sizesNondestruct, newFaces, toMerge, fuseindices };

//! The boolean attributes.
enum class RailFlag { locked, close, displayInfo, isLastPlayer, mode };

//! The three stroke sets, each a point array with its sizes.
enum class RailStrokes { current, shadow, nondestruct };

//! Which of a stroke set's two arrays is written first (the node redraws on
//! the write of the sizes, so the order decides what a redraw in between sees).
enum class WriteOrder { pointsFirst, sizesFirst };

//! What the rail node remembers of the last patch: its face ids, the row it
//! ends on and the rails it was built from. An action that rebuilds the patch
//! and its undo keep these in step with the mesh.
struct PatchRecord {
    std::vector<int> newFaces;
    std::vector<int> toMerge;
    geo::StrokeSet shadow;
};

//! The last patch's record exactly as the node holds it, for undo: an array
//! that holds no value (never written, or written null) is given back so.
struct PatchRecordState {
    PatchRecord record;
    bool newFacesHeld = false;
    bool toMergeHeld = false;
    bool shadowPointsHeld = false;
    bool shadowSizesHeld = false;
    //! The lock of the last patch (a span change leaves a locked patch alone).
    bool locked = true;
};

class RailNode {
public:
    //! No rail node: reads give empty arrays and fallbacks, writes fail.
    RailNode() = default;
    explicit RailNode(const MObject& node) : node_(node) {}

    //! The first node (of the host's kind that includes plug-in locators) with
    //! the source-mesh attribute, in the host's order; none when there is none.
    static RailNode find();

    bool exists() const { return !node_.isNull(); }
    const MObject& object() const { return node_; }

    //! found (when given) tells whether the attribute's plug exists.
    geo::Polyline points(RailPoints attribute, MStatus* found = nullptr) const;
    std::vector<int> ints(RailInts attribute, MStatus* found = nullptr) const;
    bool flag(RailFlag attribute, bool fallback = false, MStatus* found = nullptr) const;

    MStatus setPoints(RailPoints attribute, const geo::Polyline& points) const;
    MStatus setInts(RailInts attribute, const std::vector<int>& values) const;
    MStatus setFlag(RailFlag attribute, bool value) const;
    //! Writes a null value, which readers take as an empty array.
    MStatus setNull(RailPoints attribute) const;
    MStatus setNull(RailInts attribute) const;

    //! Sizes that promise more points than there are are cut to the points present.
    geo::StrokeSet strokes(RailStrokes set) const;
    MStatus setStrokes(RailStrokes set, const geo::StrokeSet& strokes,
                       WriteOrder order = WriteOrder::pointsFirst) const;
    //! Both arrays of the set written as null values.
    MStatus clearStrokes(RailStrokes set) const;

    PatchRecord patchRecord() const;
    MStatus setPatchRecord(const PatchRecord& record) const;
    PatchRecordState patchRecordState() const;
    MStatus restorePatchRecordState(const PatchRecordState& state) const;

    //! The node at the other end of the first connection of the source-mesh
    //! attribute, as a path; empty with no connection.
    MDagPath sourceMesh() const;

private:
    MObject node_;
};

//! The source mesh of the first rail node (an empty path if none).
MDagPath sourceMeshPath();
//! The retopology mesh: the first item of the active selection. True when
//! the selection is not empty and that item is a valid mesh.
bool selectedRetopologyMesh(MDagPath& path);
//! Creates an empty mesh "kvMeshShape" in the default shading group, selects
//! its transform and returns the transform's path.
MDagPath createRetopoMesh();

// ---- conversions between host arrays and the geometry core

geo::Polyline toPolyline(const MPointArray& points);
MPointArray toPointArray(const geo::Polyline& points);
std::vector<MPointArray> toPointArrays(const std::vector<geo::Polyline>& strokes);
std::vector<int> toIntVector(const MIntArray& values);
MIntArray toIntArray(const std::vector<int>& values);

}  // namespace tessark
