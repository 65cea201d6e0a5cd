#pragma once
// "TessarkContext": makes the rail tool's context; its edit and query flags
// set the span counts, the relax brush and the player.

#include <maya/MPxContextCommand.h>

class TessarkContext;

class TessarkContextCmd : public MPxContextCommand {
public:
    TessarkContextCmd();
    ~TessarkContextCmd() override;

    MPxContext* makeObj() override;

    static void* creator();

private:
    //! The context made last; edits act on it.
    TessarkContext* context_ = nullptr;
};
