#pragma once
// The "PlexwendViewport" command: sets every parameter of the render override
// of that name at once; a flag not given goes back to off, zero or empty.

#include <maya/MPxCommand.h>
#include <maya/MString.h>
#include <maya/MSyntax.h>

class viewMRenderOverrideCmd : public MPxCommand {
public:
    static void* creator();
    static MSyntax newSyntax();

    MStatus doIt(const MArgList& args) override;

private:
    static void addFlags(MSyntax& syntax);
    MStatus apply(const MArgList& args);
    //! Reads the raw argument list; fails, with the error shown, on a flag
    //! without a value or with one that does not read as the flag's type.
    MStatus parseArgs(const MArgList& args);

    //! One value per flag, as given; all off, zero or empty before parsing.
    struct FlagValues {
        bool shaderOverride = false;
        MString objectSet;
        int sceneFilter = 0;
        bool sceneUIDrawables = false;
        bool userUIDrawables = false;
        bool userUILightData = false;
        bool presentDepth = false;
        bool viewportRectangle = false;
        //! Kept on the command only.
        bool debug = false;
    };
    FlagValues mValues;
};
