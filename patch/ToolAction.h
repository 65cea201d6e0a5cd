#pragma once
// The rail tool's action table: what one tool-command instance redoes, undoes
// and journals, by action kind. The tool command (UI floor) holds one of
// these; the tool context and the edits arm it.

#include <maya/MDGModifier.h>
#include <maya/MDagPath.h>
#include <maya/MIntArray.h>
#include <maya/MPointArray.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>

#include <functional>
#include <memory>
#include <optional>

#include "railnode/RailNode.h"

namespace tessark {

enum ActionKind : int {
    kNoAction = 0,  // a fresh instance: redo only re-selects the mesh
    kRedrawStroke = 2,
    kRedrawPatch = 3,
    kBrushRelax = 5,
    kRelax = 6,
    kFusion = 8,
    kWeld = 9,
    kSpans = 10,
    kClose = 11,
    //! Bookkeeping, run first in the undo step of a patch action: what the
    //! rail node remembers of the last patch, given back by undo and redo.
    kPatchRecord = 12,
};

//! The rail node's record of the last patch before a patch action, and after
//! it once the action is done.
struct RecordAcross {
    PatchRecordState before;
    std::optional<PatchRecordState> after;
};

class ToolAction {
public:
    int actionKind = kNoAction;
    //! Host command text run through the modifier (kinds 2, 6, 8, 9); the
    //! journal argument of a span change.
    MString commandText;
    //! Every vertex of the retopology mesh, world space, in vertex order.
    MPointArray positionsBefore;
    MPointArray positionsAfter;
    //! kv_uspan and kv_vspan when a span change began.
    int previousUSpans = 12;
    int previousVSpans = 12;
    //! For a span change: the last patch as the rail node held it before and
    //! after, given back with the mesh by undo and redo.
    std::optional<PatchRecord> recordBefore;
    std::optional<PatchRecord> recordAfter;
    //! For a relax: the faces it relaxed when it first ran.
    std::optional<MIntArray> relaxFaces;
    //! For kPatchRecord.
    std::shared_ptr<RecordAcross> across;

    //! Acts on the first item of the active selection, then (but for a brush
    //! relax) selects it again, replacing the selection.
    MStatus redo();
    //! Never fails; kinds without an undo step do nothing.
    MStatus undo();
    //! The journal's arguments after the command name.
    MStringArray journal() const;

private:
    MStatus runThroughModifier();
    //! Made when the action first runs its text; it stays with the action.
    std::unique_ptr<MDGModifier> modifier_;
};

//! Hands an armed action to a fresh tool command, which redoes and journals
//! it; the tool context provides it (the command comes from the host).
using ActionRunner = std::function<MStatus(ToolAction&&)>;

//! World positions of every vertex of a mesh, in vertex order.
MStatus readAllPositions(const MDagPath& mesh, MPointArray& positions);
//! Sets every vertex of a mesh from a whole-mesh snapshot; refused, with the
//! mesh untouched, when the snapshot was taken of a different vertex count.
MStatus writeAllPositions(const MDagPath& mesh, const MPointArray& positions);

}  // namespace tessark
