#pragma once
// "TessarkContext": makes the rail tool's context. In edit mode it sets the
// span counts (-u/-v), switches the context into relax-brush mode (-rb with
// -rad and -i), drops the player (-re) or rebuilds it (-rp); in query mode
// it returns the span counts.

#include <maya/MPxContextCommand.h>

class TessarkContext;

class TessarkContextCmd : public MPxContextCommand {
public:
    TessarkContextCmd();
    ~TessarkContextCmd() override;

    MStatus doEditFlags() override;
    MStatus doQueryFlags() override;
    MPxContext* makeObj() override;
    MStatus appendSyntax() override;

    static void* creator();

private:
    //! The context made last; edits act on it.
    TessarkContext* context_ = nullptr;
};
