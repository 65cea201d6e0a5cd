#pragma once
#include <maya/MColor.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypes.h>

namespace MHWRender {

class MRenderOverride;
class MShaderManager;

//! The Viewport 2.0 renderer: render overrides, the shader manager, redraw
//! requests and the viewport background.
class OPENMAYARENDER_EXPORT MRenderer {
public:
    //! The renderer (this host always has one).
    static MRenderer* theRenderer(bool initializeRenderer = true);
    //! Asks for a node's drawing to be prepared again at the next refresh.
    static void setGeometryDrawDirty(MObject obj, bool topologyChanged = true);
    static void setLightsAndShadowsDirty();

    //! Adds an override under its name; the caller keeps ownership.
    MStatus registerOverride(const MRenderOverride* override);
    //! Removes an override; viewports using it go back to the normal renderer.
    MStatus deregisterOverride(const MRenderOverride* override);
    const MRenderOverride* findRenderOverride(const MString& name);
    //! The override the active viewport uses ("" for the normal renderer).
    MString activeRenderOverride() const;

    const MShaderManager* getShaderManager() const;
    DrawAPI drawAPI() const;
    bool drawAPIIsOpenGL() const;
    unsigned int drawAPIVersion() const;

    //! The viewport background: a vertical gradient from clearColor (top) to
    //! clearColor2 (bottom), or clearColor alone without the gradient.
    MColor clearColor() const;
    MColor clearColor2() const;
    bool useGradient() const;

    MRenderer(const MRenderer&) = delete;
    MRenderer& operator=(const MRenderer&) = delete;

private:
    MRenderer() = default;
    ~MRenderer() = default;
};

}  // namespace MHWRender
