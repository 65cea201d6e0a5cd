#include "kvpatchnode/KvPatchCmd.h"

#include <maya/MArgDatabase.h>
#include <maya/MFnDagNode.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MGlobal.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>
#include <maya/MSelectionList.h>

#include "kvpatchnode/KvPatchNode.h"
#include "railnode/ApiError.h"

// ---------------------------------------------------------------- kvPatchCmd

void* kvPatchCmd::creator() {
    return new kvPatchCmd;
}

MSyntax kvPatchCmd::newSyntax() {
    MSyntax syntax;
    syntax.addFlag("-m", "-mesh", MSyntax::kString);
    return syntax;
}

MStatus kvPatchCmd::doIt(const MArgList& args) {
    MStatus status;
    MArgDatabase argData(syntax(), args, &status);
    if (!status) {
        MString text = status.errorString();
        int close = text.indexW("): ");
        displayError("kvPatchCmd: " +
                     (close >= 0 ? text.substring(close + 3, text.length() - 1) : text));
        return status;
    }
    if (argData.isFlagSet("-m")) argData.getFlagArgument("-m", 0, meshName);

    MSelectionList list;
    list.add(meshName);
    list.getDagPath(0, selectedPath);
    selectedNode = selectedPath.isValid() ? selectedPath.node() : MObject();
    MDagPath shape = selectedPath;
    shape.extendToShape();
    // A failed insertion is reported to the caller, who must not go on to
    // fill a node that was never made.
    return insertModifierNode(shape, kvPatchNode::id);
}

MStatus kvPatchCmd::initModifierNode(MObject node, MDagModifier&) {
    MStatus status;
    MFnDependencyNode fn(node, &status);
    fn.name(&status);
    return MStatus::kSuccess;
}

// ---------------------------------------------------------------- insertion

bool kvPatchNodeCmd::readTweaks() {
    MFnDependencyNode shapeFn(meshPath.node());
    MStatus status;
    MPlug pnts = shapeFn.findPlug("pnts", true, &status);
    if (!status) return false;
    unsigned count = pnts.numElements();
    for (unsigned i = 0; i < count; ++i) {
        MPlug element = pnts.elementByPhysicalIndex(i, &status);
        if (!status || element.isNull()) continue;
        for (unsigned k = 0; k < 3; ++k) {
            float value = 0;
            element.child(k).getValue(value);
            if (value != 0) return true;
        }
    }
    return false;
}

MStatus kvPatchNodeCmd::moveTweaks(MObject& tweakNode) {
    MStatus status;
    MFnDependencyNode shapeFn(meshPath.node());
    MFnDependencyNode tweakFn(tweakNode);
    MPlug pnts = shapeFn.findPlug("pnts", true);
    MPlug tweak = tweakFn.findPlug("tweak", true);
    unsigned count = pnts.numElements();
    for (unsigned i = 0; i < count; ++i) {
        MPlug element = pnts.elementByPhysicalIndex(i, &status);
        if (!status || element.isNull()) continue;
        unsigned logical = element.logicalIndex();
        float xyz[3] = {0, 0, 0};
        for (unsigned k = 0; k < 3; ++k) element.child(k).getValue(xyz[k]);
        MString setTweak = "setAttr " + tweakFn.name() + ".tweak[";
        setTweak += static_cast<double>(logical);
        setTweak += "] ";
        setTweak += static_cast<double>(xyz[0]);
        setTweak += " ";
        setTweak += static_cast<double>(xyz[1]);
        setTweak += " ";
        setTweak += static_cast<double>(xyz[2]);
        modifiers[1].commandToExecute(setTweak);

        MPlug tweakElement = tweak.elementByLogicalIndex(logical);
        MPlugArray fed;
        if (element.isConnected()) {
            element.connectedTo(fed, false, true);
            for (unsigned d = 0; d < fed.length(); ++d) {
                modifiers[1].disconnect(element, fed[d]);
                modifiers[1].connect(tweakElement, fed[d]);
            }
            MPlugArray feeding;
            element.connectedTo(feeding, true, false);
            if (feeding.length() == 1) {
                modifiers[1].disconnect(feeding[0], element);
                modifiers[1].connect(feeding[0], tweakElement);
            }
        } else {
            for (unsigned k = 0; k < element.numChildren(); ++k) {
                MPlug child = element.child(k);
                MPlug tweakChild = tweakElement.child(k);
                child.connectedTo(fed, false, true);
                for (unsigned d = 0; d < fed.length(); ++d) {
                    modifiers[1].disconnect(child, fed[d]);
                    modifiers[1].connect(tweakChild, fed[d]);
                }
                MPlugArray feeding;
                child.connectedTo(feeding, true, false);
                if (feeding.length() == 1) {
                    modifiers[1].disconnect(feeding[0], child);
                    modifiers[1].connect(feeding[0], tweakChild);
                }
            }
        }
        MString zero = "setAttr " + meshPath.fullPathName() + ".pnts[";
        zero += static_cast<double>(logical);
        zero += "] 0 0 0";
        modifiers[1].commandToExecute(zero);
    }
    return MStatus::kSuccess;
}

MStatus kvPatchNodeCmd::keepOriginalShape(MPlug& upstream) {
    MStatus status;
    MFnDagNode shapeFn(meshPath, &status);
    duplicateObject = shapeFn.duplicate(false, false, &status);
    if (!status) status.perror("dag2 duplicate failed ");
    MFnDagNode duplicateFn(duplicateObject);
    MObject copy = duplicateFn.child(0, &status);
    if (!status) status.perror("dag2 child failed ");
    MFnDagNode copyFn(copy);
    status = modifiers[2].commandToExecute("setAttr " + copyFn.fullPathName() +
                                           ".intermediateObject true");
    if (!status) status.perror("dag2 setattr");
    upstream = copyFn.findPlug("outMesh", true, &status);
    if (!status) status.perror("dag2 findplug");
    status = modifiers[2].renameNode(copy, copyFn.name() + "Orig");
    if (!status) status.perror("dag2 rename");
    MObject transform = meshPath.transform(&status);
    if (!status) status.perror("dag2 transform");
    status = modifiers[2].reparentNode(copy, transform);
    if (!status) status.perror("dag2 reparent");
    status = modifiers[2].commandToExecute("delete " + duplicateFn.fullPathName());
    if (!status) status.perror("dag2 delete");
    return MStatus::kSuccess;
}

MStatus kvPatchNodeCmd::insertModifierNode(const MDagPath& shape, const MTypeId& nodeType) {
    meshPath = shape;
    modifierNodeType = nodeType;
    // Only a mesh shape has the history this command rewires.
    if (!meshPath.isValid() || !meshPath.hasFn(MFn::kMesh)) {
        displayError("Invalid mesh shape path: " + meshPath.fullPathName());
        return MStatus::kFailure;
    }
    MStatus status;
    MFnDependencyNode shapeFn(meshPath.node());
    MPlug shapeInMesh = shapeFn.findPlug("inMesh", true);
    hasHistory = shapeInMesh.isConnected();
    hasTweaks = readTweaks();
    int toggle = 0;
    MGlobal::executeCommand("constructionHistory -query -toggle", toggle);
    recordsHistory = toggle != 0;
    if (!hasHistory)
        shapeFn.findPlug(hasTweaks ? "cachedInMesh" : "outMesh", true).getValue(cachedMeshData);

    MObject node = modifiers[0].createNode(modifierNodeType, MObject::kNullObj, &status);
    MObject tweakNode = modifiers[0].createNode("polyTweak", MObject::kNullObj, &status);
    modifiers[0].doIt();

    MFnDependencyNode nodeFn(node);
    if (!nodeFn.hasAttribute("inMesh") || !nodeFn.hasAttribute("outMesh")) {
        displayError("Invalid modifier node. It doesn't have inMesh and/or outMesh attributes");
        return MStatus::kFailure;
    }
    initModifierNode(node, modifiers[1]);

    MPlug target = nodeFn.findPlug("inMesh", true);
    MPlug upstream;
    MPlugArray feeding;
    shapeInMesh.connectedTo(feeding, true, false);
    if (feeding.length() > 0) {
        upstream = feeding[0];
        modifiers[1].disconnect(upstream, shapeInMesh);
    }
    if (hasTweaks) {
        moveTweaks(tweakNode);
        MFnDependencyNode tweakFn(tweakNode);
        target = tweakFn.findPlug("inputPolymesh", true);
        modifiers[1].connect(tweakFn.findPlug("output", true), nodeFn.findPlug("inMesh", true));
    }
    modifiers[1].doIt();
    duplicateObject = MObject::kNullObj;

    if (!hasHistory) keepOriginalShape(upstream);
    if (!upstream.isNull()) {
        status = modifiers[2].connect(upstream, target);
        if (!status) status.perror("dag2 connect :");
    }
    MPlug nodeOut = nodeFn.findPlug("outMesh", true, &status);
    if (!status) status.perror("dag2 findplug2 ");
    status = modifiers[2].connect(nodeOut, shapeInMesh);
    if (!status) status.perror("dag2 connect2 ");
    if (!hasHistory && !recordsHistory) {
        status =
            modifiers[2].commandToExecute("delete -constructionHistory " + meshPath.fullPathName());
        if (!status) status.perror("dag2 delete constuction ");
    }
    status = modifiers[2].doIt();
    if (!status) status.perror("dag2 execution failed");
    setResult(nodeFn.name());
    return MStatus::kSuccess;
}

MStatus kvPatchNodeCmd::redoIt() {
    MStatus status = modifiers[0].doIt();
    if (!status) status.perror("1");
    status = modifiers[1].doIt();
    if (!status) status.perror("2");
    // The hidden copy taken out by undo comes back as it was, so that the
    // queued edits of modifier 2 find the very nodes they were made for.
    if (!hasHistory && meshPath.isValid() && duplicateRemoval_) {
        status = duplicateRemoval_->undoIt();
        KV_REPORT_ERROR(status);
    }
    status = modifiers[2].doIt();
    if (!status) status.perror("dagmode 2 failed doit");
    return MStatus::kSuccess;
}

MStatus kvPatchNodeCmd::undoIt() {
    MStatus status = modifiers[2].undoIt();
    if (!status) status.perror("dagmode 2 failed undoit");
    if (!duplicateObject.isNull()) {
        duplicateRemoval_ = std::make_unique<MDagModifier>();
        duplicateRemoval_->deleteNode(duplicateObject);
        duplicateRemoval_->doIt();
    }
    status = modifiers[1].undoIt();
    if (!status) status.perror("dagmode 1 failed undoit");
    status = modifiers[0].undoIt();
    if (!status) status.perror("dagmode 0 failed undoit");
    if (!hasHistory) {
        MFnDependencyNode shapeFn(meshPath.node());
        shapeFn.findPlug(hasTweaks ? "cachedInMesh" : "outMesh", true).setValue(cachedMeshData);
    }
    return MStatus::kSuccess;
}
