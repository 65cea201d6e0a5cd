// Entry points of the rail plug-in: registration in a fixed order, each step
// only if the ones before succeeded; deregistration in the same order.

#define MNoVersionString
#include <maya/MDrawRegistry.h>
#include <maya/MFnPlugin.h>
#include <maya/MIOStream.h>

#include "kvpatchnode/KvPatchCmd.h"
#include "kvpatchnode/KvPatchNode.h"
#include "railnode/TessarkNode.h"
#include "tessark/TessarkContextCmd.h"
#include "tessark/TessarkDrawOverride.h"
#include "tessark/TessarkToolCmd.h"

#define TESSARK_EXPORT extern "C" __attribute__((visibility("default")))

TESSARK_EXPORT MStatus initializePlugin(MObject obj) {
    MFnPlugin plugin(obj, "Plexwend", "0.7", "Any");
    MStatus status =
        plugin.registerNode("Tessark", Tessark::id, Tessark::creator, Tessark::initialize,
                            MPxNode::kLocatorNode, &Tessark::drawDbClassification);
    if (!status) {
        status.perror("registerNode");
        return status;
    }
    status = MHWRender::MDrawRegistry::registerDrawOverrideCreator(
        Tessark::drawDbClassification, Tessark::drawRegistrantId, TessarkDrawOverride::Creator);
    if (!status) {
        status.perror("registerDrawOverrideCreator");
        return status;
    }
    status =
        plugin.registerContextCommand("TessarkContext", TessarkContextCmd::creator, "TessarkCmd",
                                      TessarkToolCmd::creator, TessarkToolCmd::newSyntax);
    if (!status) {
        status.perror("TessarkContext, registerCommand failed");
        return status;
    }
    status = plugin.registerCommand("kvPatchCmd", kvPatchCmd::creator, kvPatchCmd::newSyntax);
    if (!status) {
        status.perror("kvPatchCmd, registerCommand failed");
        return status;
    }
    status = plugin.registerNode("kvPatchNode", kvPatchNode::id, kvPatchNode::creator,
                                 kvPatchNode::initialize);
    if (!status) {
        status.perror("kvPatchNode, registerCommand failed");
        return status;
    }
    return status;
}

TESSARK_EXPORT MStatus uninitializePlugin(MObject obj) {
    MFnPlugin plugin(obj, "Unknown", "Unknown", "Any");
    MStatus status = plugin.deregisterNode(Tessark::id);
    if (!status) {
        status.perror("deregisterNode");
        return status;
    }
    status = MHWRender::MDrawRegistry::deregisterDrawOverrideCreator(Tessark::drawDbClassification,
                                                                     Tessark::drawRegistrantId);
    if (!status) {
        status.perror("deregisterDrawOverrideCreator");
        return status;
    }
    status = plugin.deregisterContextCommand("TessarkContext", "TessarkCmd");
    if (!status) {
        // Only reported: the patch command and node must still go.
        status.perror("TessarkContext, deregisterCommand failed");
        std::cout << "error deregistration" << std::endl;
    }
    status = plugin.deregisterCommand("kvPatchCmd");
    if (!status) {
        status.perror("kvPatchCmd deregistering failed");
        return status;
    }
    status = plugin.deregisterNode(kvPatchNode::id);
    if (!status) {
        status.perror("kvPatchNode deregistering failed");
        return status;
    }
    return status;
}
