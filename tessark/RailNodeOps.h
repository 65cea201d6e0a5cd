#pragma once
// Operations on the rail node: finding it and the source mesh, reading and
// writing its stroke sets and flags, the span settings, the prompt lines,
// a new empty retopology mesh, and reading mesh points for the tool.

#include <maya/MDagPath.h>
#include <maya/MIntArray.h>
#include <maya/MObject.h>
#include <maya/MPointArray.h>
#include <maya/MString.h>

#include <vector>

#include "geometry/point.h"
#include "geometry/stroke_set.h"

namespace tessark {

//! The first node (of the host's kind that includes plug-in locators) with
//! an attribute "TessarkMesh", or a null object.
MObject findRailNode();
//! The mesh connected to the rail node's TessarkMesh (an empty path if none).
MDagPath sourceMeshPath();
//! Creates an empty mesh "kvMeshShape" in the default shading group, selects
//! its transform and returns the transform's path.
MDagPath createRetopoMesh();

// ---- conversions between host point arrays and the geometry core

geo::Polyline toPolyline(const MPointArray& points);
MPointArray toPointArray(const geo::Polyline& points);
std::vector<MPointArray> toPointArrays(const std::vector<geo::Polyline>& strokes);

// ---- node attributes by long name (a null node reads as empty)

MPointArray readPointArray(const MObject& node, const char* attribute);
MIntArray readIntArray(const MObject& node, const char* attribute);
MStatus writePointArray(const MObject& node, const char* attribute, const MPointArray& points);
MStatus writeIntArray(const MObject& node, const char* attribute, const MIntArray& values);
//! Writes a null value: readers treat it as an empty array.
MStatus writeNull(const MObject& node, const char* attribute);
bool readBool(const MObject& node, const char* attribute, bool fallback = false);
MStatus writeBool(const MObject& node, const char* attribute, bool value);

//! A stroke set stored as a point attribute and a sizes attribute; sizes
//! that promise more points than there are are cut to the points present.
geo::StrokeSet readStrokeSet(const MObject& node, const char* pointsAttribute,
                             const char* sizesAttribute);
MStatus writeStrokeSet(const MObject& node, const char* pointsAttribute, const char* sizesAttribute,
                       const geo::StrokeSet& set, bool sizesFirst = false);

// ---- the current and shadow stroke sets

MPointArray readStrokes(const MObject& node);
MIntArray readShadowSizes();
int shadowStrokeCount();
int lastShadowSize();
std::vector<MPointArray> splitStrokes();
std::vector<MPointArray> splitShadowStrokes();
MPointArray firstShadowStroke();
MStatus appendStroke(const MPointArray& points);
MStatus prependStroke(const MPointArray& points);
bool removeLastStroke();
MStatus closeStrokes();

// ---- flags, settings, prompts

//! Span counts from the option variables kv_uspan / kv_vspan, 12 when unset.
int uSpans();
int vSpans();
bool isLastPlayer();
void setIsLastPlayer(bool value);
void setLocked(bool value);
//! Sets the status (info1) or hint (info2) line, then refreshes the prompts.
void setInfo1(const MString& text);
void setInfo2(const MString& text);
void refreshInfo();

// ---- mesh points

//! The ordered world points of a chain of edges.
MPointArray edgeChainPoints(const MIntArray& edgeIds, const MDagPath& mesh);
//! World positions of the listed vertices (of the selected retopology mesh
//! when the path is not valid).
MPointArray vertexPoints(const MIntArray& vertexIds, const MDagPath& mesh);

}  // namespace tessark
