#pragma once
// The rail tool's vocabulary of rail-node operations, on top of the gateway:
// reading, appending, trimming and closing the stroke sets, the flags and
// span settings, the prompt lines, the patch attributes' reads and resets,
// and reading mesh points for the tool.

#include <maya/MDagPath.h>
#include <maya/MIntArray.h>
#include <maya/MObject.h>
#include <maya/MPointArray.h>
#include <maya/MString.h>

#include <vector>

#include "railnode/RailNode.h"

namespace tessark {

// ---- the current and shadow stroke sets

//! The "strokes" points of the given node; nothing for a null node.
MPointArray readStrokes(const MObject& node);
MIntArray readShadowSizes();
int shadowStrokeCount();
//! The last shadow size, or -1 when there is none.
int lastShadowSize();
std::vector<MPointArray> splitStrokes();
std::vector<MPointArray> splitShadowStrokes();
MPointArray firstShadowStroke();
MStatus appendStroke(const MPointArray& points);
MStatus prependStroke(const MPointArray& points);
//! False, with nothing changed, when there is no stroke.
bool removeLastStroke();
MStatus closeStrokes();

// ---- the patch attributes

//! "strokes" becomes an empty point list; "sizes" keeps its value.
void clearStrokePoints();
//! Both arrays of the current stroke set become null.
void clearStrokeSet();
//! Both shadow arrays become empty lists.
void clearShadowStrokes();
void clearNewFaces();
MIntArray readNewFaces();
MStatus writeNewFaces(const MIntArray& faces);
MIntArray readToMerge();
MStatus writeToMerge(const MIntArray& vertexIds);
//! The last shadow stroke's points and a one-entry list of its point count;
//! kInvalidParameter when there are no shadow strokes.
MStatus lastShadowStroke(MPointArray& points, MIntArray& size);
//! Stores a rail pair as the shadow strokes.
MStatus storeShadowPair(const MPointArray& first, const MPointArray& second);

// ---- flags, settings, prompts

//! Span counts from the option variables kv_uspan / kv_vspan, 12 when unset.
int uSpans();
int vSpans();
bool isLastPlayer();
void setIsLastPlayer(bool value);
bool isLocked();
void setLocked(bool value);
bool isClosed();
//! Sets the status (info1) or hint (info2) line, then refreshes the prompts.
void setInfo1(const MString& text);
void setInfo2(const MString& text);
//! Blanks both prompt lines while the node's display switch is off, and
//! writes the switch back so that the node redraws.
void refreshInfo();

// ---- mesh points

//! The ordered world points of a chain of edges.
MPointArray edgeChainPoints(const MIntArray& edgeIds, const MDagPath& mesh);
//! World positions of the listed vertices (of the selected retopology mesh
//! when the path is not valid).
MPointArray vertexPoints(const MIntArray& vertexIds, const MDagPath& mesh);

}  // namespace tessark
