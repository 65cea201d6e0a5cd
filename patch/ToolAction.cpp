#include "patch/ToolAction.h"

#include <maya/MDagPath.h>
#include <maya/MGlobal.h>
#include <maya/MItGeometry.h>

#include "kvpatchnode/StateSenders.h"
#include "patch/SpanChange.h"
#include "railnode/ApiError.h"
#include "railnode/RailNodeOps.h"

namespace tessark {

MStatus readAllPositions(const MDagPath& mesh, MPointArray& positions) {
    positions.clear();
    MStatus status;
    MItGeometry geometry(mesh, &status);
    if (!status) return status;
    return geometry.allPositions(positions, MSpace::kWorld);
}

MStatus writeAllPositions(const MDagPath& mesh, const MPointArray& positions) {
    MStatus status;
    MItGeometry geometry(mesh, &status);
    if (!status) return status;
    int count = geometry.count();
    if (count != static_cast<int>(positions.length())) {
        MString text = "Tessark: cannot restore the positions of ";
        text += mesh.partialPathName();
        text += ": it has ";
        text += count;
        text += " vertices now, the saved positions are of ";
        text += static_cast<int>(positions.length());
        MGlobal::displayError(text);
        return MStatus::kInvalidParameter;
    }
    return geometry.setAllPositions(positions, MSpace::kWorld);
}

MStatus ToolAction::runThroughModifier() {
    // The text is handed to the modifier once; a later redo replays it.
    if (!modifier_) {
        auto modifier = std::make_unique<MDGModifier>();
        MStatus status = modifier->commandToExecute(commandText);
        if (!status) return status;
        modifier_ = std::move(modifier);
    }
    return modifier_->doIt();
}

MStatus ToolAction::redo() {
    if (actionKind == kPatchRecord) {
        // The first run comes before the action it keeps the record of.
        if (across && across->after)
            return RailNode::find().restorePatchRecordState(*across->after);
        return MStatus::kSuccess;
    }
    MDagPath mesh;
    selectedRetopologyMesh(mesh);
    MStatus status;
    switch (actionKind) {
        case kRedrawStroke:
            readAllPositions(mesh, positionsAfter);
            status = runThroughModifier();
            break;
        case kRedrawPatch:
            status = writeAllPositions(mesh, positionsAfter);
            break;
        case kBrushRelax:
            return writeAllPositions(mesh, positionsAfter);
        case kRelax: {
            // The faces are the last patch's when the relax first runs; a redo
            // relaxes the same ones, whatever the rail node holds by then.
            if (!relaxFaces) relaxFaces = readNewFaces();
            const MIntArray faces = *relaxFaces;
            if (faces.length() == 0) break;
            // The snap below moves vertices outside the modifier: keep the
            // positions from before, so that undo can give them back exactly.
            readAllPositions(mesh, positionsBefore);
            status = runThroughModifier();
            if (status) snapFacesInPlace(mesh, faces);
            break;
        }
        case kFusion:
        case kWeld:
            status = runThroughModifier();
            break;
        case kSpans:
            if (recordAfter) RailNode::find().setPatchRecord(*recordAfter);
            break;
        case kClose:
            closeStrokes();
            setClose(true);
            break;
        default:
            break;
    }
    if (mesh.isValid()) MGlobal::selectByName(mesh.fullPathName(), MGlobal::kReplaceList);
    return status;
}

MStatus ToolAction::undo() {
    if (actionKind == kPatchRecord) {
        if (across) RailNode::find().restorePatchRecordState(across->before);
        return MStatus::kSuccess;
    }
    MDagPath mesh;
    selectedRetopologyMesh(mesh);
    switch (actionKind) {
        case kRedrawStroke:
            writeAllPositions(mesh, positionsAfter);
            break;
        case kRedrawPatch:
        case kBrushRelax:
            writeAllPositions(mesh, positionsBefore);
            break;
        case kRelax:
            if (!modifier_) break;
            modifier_->undoIt();
            writeAllPositions(mesh, positionsBefore);
            break;
        case kFusion:
        case kWeld:
            if (modifier_) modifier_->undoIt();
            break;
        case kSpans:
            if (recordBefore) RailNode::find().setPatchRecord(*recordBefore);
            break;
        default:
            break;
    }
    return MStatus::kSuccess;
}

MStringArray ToolAction::journal() const {
    MStringArray args;
    switch (actionKind) {
        case kRedrawStroke:
            args.append("redrawStroke");
            break;
        case kRedrawPatch:
            args.append("redrawPatch");
            break;
        case kBrushRelax:
            args.append("brushRelax");
            break;
        case kRelax:
            args.append("relax");
            break;
        case kFusion:
            args.append("redrawFusion");
            break;
        case kWeld:
            args.append("weld");
            break;
        case kSpans:
            args.append(commandText);
            break;
        case kPatchRecord:
            args.append("patchRecord");
            break;
        default:
            break;
    }
    return args;
}

}  // namespace tessark
