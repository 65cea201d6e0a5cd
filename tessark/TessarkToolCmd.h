#pragma once
// The rail tool's one undoable command, "TessarkCmd": the tool context arms
// a fresh instance for each action, redoes and journals it; typed at the
// command line it changes the last patch's spans (-u/-v), relaxes the last
// patch (-r) or closes the strokes (-c).

#include <maya/MArgList.h>
#include <maya/MPxToolCommand.h>
#include <maya/MSyntax.h>

#include "patch/ToolAction.h"

class MPxContext;

class TessarkToolCmd : public MPxToolCommand {
public:
    TessarkToolCmd();
    ~TessarkToolCmd() override;

    MStatus doIt(const MArgList& args) override;
    MStatus undoIt() override;
    MStatus redoIt() override;
    bool isUndoable() const override { return true; }
    MStatus finalize() override;

    static void* creator();
    static MSyntax newSyntax();

    //! What this instance does; armed by the tool context before redo.
    tessark::ToolAction action;
};

namespace tessark {

//! Redoes and journals an armed action on a fresh tool command obtained from
//! the context; fails when the context has no tool command to give.
MStatus runToolAction(MPxContext& context, ToolAction&& action);

}  // namespace tessark
