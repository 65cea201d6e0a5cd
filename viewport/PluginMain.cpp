// Entry points of the viewport plug-in: the render override first, then its
// command, which is useless without it.

#define MNoVersionString
#include <maya/MFnPlugin.h>
#include <maya/MViewport2Renderer.h>

#include <memory>

#include "viewport/MRenderOverrideTester.h"
#include "viewport/NoThrow.h"
#include "viewport/ViewportNames.h"
#include "viewport/viewMRenderOverrideCmd.h"

#define VINTREL_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

MStatus initialize(MObject& obj) {
    MStatus status = MStatus::kFailure;
    MHWRender::MRenderer* renderer = MHWRender::MRenderer::theRenderer();
    if (renderer) {
        auto override = std::make_unique<MRenderOverrideTester>(kViewportOverrideName);
        status = renderer->registerOverride(override.get());
        // One the host refused it never saw: it goes with this scope.
        if (status) setRegisteredViewportOverride(override.release());
    }
    if (status) {
        MFnPlugin plugin(obj, "Unknown", "Unknown", "Any");
        status = plugin.registerCommand(kViewportOverrideName, viewMRenderOverrideCmd::creator,
                                        viewMRenderOverrideCmd::newSyntax);
    }
    return status;
}

MStatus uninitialize(MObject& obj) {
    MStatus status = MStatus::kFailure;
    MHWRender::MRenderer* renderer = MHWRender::MRenderer::theRenderer();
    if (renderer) {
        // Another module's override of the same name is neither ours to remove nor to delete.
        MRenderOverrideTester* ours = registeredViewportOverride();
        const MHWRender::MRenderOverride* found =
            renderer->findRenderOverride(kViewportOverrideName);
        if (ours && found == ours) {
            status = renderer->deregisterOverride(ours);
            if (status) {
                setRegisteredViewportOverride(nullptr);
                delete ours;
            }
        }
    }
    MFnPlugin plugin(obj, "Unknown", "Unknown", "Any");
    status = plugin.deregisterCommand(kViewportOverrideName);
    return status;
}

}  // namespace

VINTREL_EXPORT MStatus initializePlugin(MObject obj) {
    return failureOnThrow([&] { return initialize(obj); });
}

VINTREL_EXPORT MStatus uninitializePlugin(MObject obj) {
    return failureOnThrow([&] { return uninitialize(obj); });
}
