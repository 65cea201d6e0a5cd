#include "tessark/TessarkToolCmd.h"

#include <maya/MArgDatabase.h>
#include <maya/MDagPath.h>
#include <maya/MGlobal.h>
#include <maya/MPxContext.h>

#include "patch/PatchHelpers.h"
#include "patch/SpanChange.h"
#include "railnode/ApiError.h"
#include "railnode/RailNodeOps.h"

TessarkToolCmd::TessarkToolCmd() = default;

TessarkToolCmd::~TessarkToolCmd() = default;

void* TessarkToolCmd::creator() {
    return new TessarkToolCmd;
}

MSyntax TessarkToolCmd::newSyntax() {
    MSyntax syntax;
    syntax.addFlag("-u", "-uspan", MSyntax::kUnsigned);
    syntax.addFlag("-v", "-vspan", MSyntax::kUnsigned);
    syntax.addFlag("-c", "-close", MSyntax::kBoolean);
    syntax.addFlag("-r", "-relax", MSyntax::kBoolean);
    return syntax;
}

MStatus TessarkToolCmd::doIt(const MArgList& args) {
    using namespace tessark;
    MStatus status;
    MArgDatabase db(syntax(), args, &status);
    if (!status) {
        TESSARK_REPORT_ERROR(status);
        return status;
    }
    if (db.isFlagSet("-u") || db.isFlagSet("-v")) {
        action.previousUSpans = uSpans();
        action.previousVSpans = vSpans();
        // Both counts are needed: a span change names the whole grid.
        unsigned u = 0, v = 0;
        MStatus uRead = db.getFlagArgument("-u", 0, u);
        MStatus vRead = db.getFlagArgument("-v", 0, v);
        if (!uRead || !vRead) {
            MStatus failed = uRead ? vRead : uRead;
            failed.perror("spans flag parsing failed.");
            displayError("spans flag parsing failed.");
            return failed;
        }
        if (!MGlobal::setOptionVarValue("kv_uspan", static_cast<int>(u)) ||
            !MGlobal::setOptionVarValue("kv_vspan", static_cast<int>(v)))
            return MStatus::kUnknownParameter;
        if (RailNode::find().exists()) {
            action.actionKind = kSpans;
            bool lastPlayer = isLastPlayer();
            if (!isLocked()) {
                RailNode rail = RailNode::find();
                action.recordBefore = rail.patchRecord();
                changeSpans(static_cast<int>(u), static_cast<int>(v), !lastPlayer,
                            action.previousVSpans);
                action.recordAfter = rail.patchRecord();
            }
            return MStatus::kSuccess;
        }
    }
    if (db.isFlagSet("-r")) {
        MDagPath mesh;
        selectedRetopologyMesh(mesh);
        action.actionKind = kRelax;
        action.commandText = relaxCommand(mesh);
    }
    if (db.isFlagSet("-c")) action.actionKind = kClose;
    return redoIt();
}

MStatus TessarkToolCmd::redoIt() {
    return action.redo();
}

MStatus TessarkToolCmd::undoIt() {
    return action.undo();
}

MStatus TessarkToolCmd::finalize() {
    MArgList command;
    MStringArray journal = action.journal();
    for (unsigned i = 0; i < journal.length(); ++i) command.addArg(journal[i]);
    return doFinalize(command);
}

namespace tessark {

MStatus runToolAction(MPxContext& context, ToolAction&& action) {
    // The rail tool's context command registers TessarkCmd as its tool command.
    auto* command = static_cast<TessarkToolCmd*>(context.newToolCommand());
    if (!command) {
        MGlobal::displayError("Tessark: the tool context has no tool command to run its action");
        return MStatus::kFailure;
    }
    command->action = std::move(action);
    MStatus status = command->redoIt();
    command->finalize();
    return status;
}

}  // namespace tessark
