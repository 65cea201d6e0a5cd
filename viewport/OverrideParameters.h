#pragma once
// What the "PlexwendViewport" command sets on the render override, with the
// values a fresh override starts from.

#include <maya/MSceneRender.h>
#include <maya/MString.h>

struct OverrideParameters {
    bool shaderOverride = false;
    MString objectSet;
    //! A host scene-filter option (MSceneRender::MSceneFilterOption).
    unsigned int sceneFilter = MHWRender::MSceneRender::kNoSceneFilterOverride;
    bool sceneUIDrawables = false;
    bool userUIDrawables = true;
    bool userUILightData = false;
    bool viewportRectangle = false;
    bool presentDepth = false;
    //! No command flag sets it: every frame clears all buffers.
    int clearMask = -1;
};

//! The host scene-filter option for the command's "-sceneFilter" value 0 to 6;
//! false for any other value.
bool sceneFilterOption(int value, unsigned int& option);
