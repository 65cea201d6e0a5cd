#pragma once
#include <maya/MPxCommand.h>

//! A command made by a tool context for one action: armed by the context,
//! run with redoIt, then journalled into the undo queue by finalize.
class OPENMAYA_EXPORT MPxToolCommand : public MPxCommand {
public:
    MPxToolCommand();
    ~MPxToolCommand() override;

    MStatus doIt(const MArgList& args) override;
    virtual MStatus cancel();
    virtual MStatus finalize();

protected:
    //! Records the command (its name followed by args) in the undo queue and
    //! the script history; the host owns it from then on.
    MStatus doFinalize(MArgList& command);
};
