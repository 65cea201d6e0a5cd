#pragma once
// The Viewport 2.0 renderer and the render-override classes, as the host's
// header of that name gathers them.

#include <maya/MClearOperation.h>
#include <maya/MHUDRender.h>
#include <maya/MPresentTarget.h>
#include <maya/MRenderOperation.h>
#include <maya/MRenderOverride.h>
#include <maya/MRenderer.h>
#include <maya/MSceneRender.h>
#include <maya/MShaderManager.h>
#include <maya/MUserRenderOperation.h>
