#pragma once
// Editing the last patch without drawing it again: rebuilding it with new
// span counts from the rails that made it, redrawing it onto a new second
// stroke, and moving the player row onto a new stroke.

#include <maya/MDagPath.h>
#include <maya/MIntArray.h>
#include <maya/MPointArray.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

#include "patch/ToolAction.h"

namespace tessark {

//! Rebuilds the last patch with v rows. Without scratch it keeps its columns
//! (u is ignored) and does nothing when v equals previousV; with scratch it
//! takes u columns, from the non-destructive strokes when they hold more
//! than one stroke. kUnknownParameter when no mesh is selected or there is
//! no last patch.
MStatus changeSpans(int u, int v, bool scratch, int previousV);

//! Moves the last patch so that it spans from its first rail to the new
//! stroke (u points along the rails, v rows), presses it onto the source and
//! hands the positions before and after to a tool command (kind 3) through
//! run. Returns false in every case, as the tool expects.
bool redrawPatch(int u, int v, const MPointArray& stroke, bool scratch, const ActionRunner& run);

//! True when corner 2 of the last patch's first face and corner 3 of its
//! second face are one vertex: the faces follow each other along the rows
//! (a bridge, or a grid of one row).
bool isBridgePatch(const MDagPath& mesh, int u);
//! The reverse flag of the patch node feeding the mesh.
bool isReversedPatch(const MDagPath& mesh);
//! Presses the corners of the listed faces onto the source, each as soon as
//! it hits. Returns the reverse flag (the last hit's facing test, or true
//! when nothing hit).
bool snapFacesInPlace(const MDagPath& mesh, const MIntArray& faceIds);
//! "move -a" commands that put the listed vertices on the stroke resampled
//! to one span fewer than there are vertices.
MString movePlayerRow(const MPointArray& stroke, const MIntArray& vertexIds,
                      const MDagPath& meshPath);

}  // namespace tessark
