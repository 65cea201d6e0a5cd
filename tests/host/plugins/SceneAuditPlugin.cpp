// A plug-in as a new author writes one from the host's API reference, with no
// knowledge of the embedded host: it must compile against the API headers
// unchanged and behave as the reference describes. It reaches for what such
// authors reach for first:
//
//   auditMeshes           MItDag over meshes, MFnDagNode::boundingBox and the
//                         path's inclusive matrix: "path count xmin ymin zmin
//                         xmax ymax zmax" per mesh, in world space
//   auditWatch -start | -stop | -query
//                         MDGMessage (node added and removed), MSceneMessage
//                         (after new, before save) and MNodeMessage (attribute
//                         changes of every node watched) into a log
//   auditTag -ln name -v value
//                         for each selected node (MItSelectionList): a dynamic
//                         double attribute through MDGModifier::addAttribute and
//                         its value through newPlugValueDouble, undoable
//   auditDownstream node  MItDependencyGraph from a node, downstream
//   auditHandle -remember node | -query
//                         MObjectHandle kept across commands: alive, valid
//
// Each entry point reports through MGlobal::displayInfo.

#include <maya/MArgDatabase.h>
#include <maya/MBoundingBox.h>
#include <maya/MCallbackIdArray.h>
#include <maya/MDGMessage.h>
#include <maya/MDGModifier.h>
#include <maya/MDagPath.h>
#include <maya/MFileIO.h>
#include <maya/MFn.h>
#include <maya/MFnDagNode.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnPlugin.h>
#include <maya/MGlobal.h>
#include <maya/MItDag.h>
#include <maya/MItDependencyGraph.h>
#include <maya/MItSelectionList.h>
#include <maya/MMessage.h>
#include <maya/MNodeMessage.h>
#include <maya/MObjectHandle.h>
#include <maya/MPlug.h>
#include <maya/MPxCommand.h>
#include <maya/MSceneMessage.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>
#include <maya/MSyntax.h>

#include <cstdio>

namespace {

// ------------------------------------------------------------- auditMeshes

class AuditMeshes : public MPxCommand {
public:
    static void* creator() { return new AuditMeshes; }

    MStatus doIt(const MArgList&) override {
        MStringArray lines;
        MStatus status;
        MItDag it(MItDag::kDepthFirst, MFn::kMesh, &status);
        if (!status) return status;
        for (; !it.isDone(); it.next()) {
            MDagPath path;
            it.getPath(path);
            MFnDagNode node(path);
            MBoundingBox box = node.boundingBox();
            box.transformUsing(path.inclusiveMatrix());
            char text[256];
            std::snprintf(text, sizeof text, " %g %g %g %g %g %g", box.min().x, box.min().y,
                          box.min().z, box.max().x, box.max().y, box.max().z);
            lines.append(path.fullPathName() + text);
        }
        setResult(lines);
        return MS::kSuccess;
    }
};

// ------------------------------------------------------------- auditWatch

MStringArray gLog;
MCallbackIdArray gCallbacks;

void attributeChanged(MNodeMessage::AttributeMessage msg, MPlug& plug, MPlug&, void*) {
    if (msg & MNodeMessage::kAttributeSet) gLog.append("set " + plug.name());
}

void nodeAdded(MObject& node, void*) {
    MFnDependencyNode fn(node);
    gLog.append("added " + fn.typeName());
    MStatus status;
    MCallbackId id =
        MNodeMessage::addAttributeChangedCallback(node, attributeChanged, nullptr, &status);
    if (status) gCallbacks.append(id);
}

void nodeRemoved(MObject& node, void*) {
    gLog.append("removed " + MFnDependencyNode(node).name());
}

void afterNew(void*) {
    gLog.append("after new");
}

void beforeSave(void*) {
    gLog.append("before save " + MFileIO::currentFile());
}

void stopWatching() {
    MMessage::removeCallbacks(gCallbacks);
    gCallbacks.clear();
}

class AuditWatch : public MPxCommand {
public:
    static void* creator() { return new AuditWatch; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-st", "-start");
        syntax.addFlag("-sp", "-stop");
        syntax.enableQuery(true);
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MStatus status;
        MArgDatabase db(syntax(), args, &status);
        if (!status) return status;
        if (db.isQuery()) {
            setResult(gLog);
            return MS::kSuccess;
        }
        if (db.isFlagSet("-start")) {
            stopWatching();
            gLog.clear();
            gCallbacks.append(MDGMessage::addNodeAddedCallback(nodeAdded, "dependNode"));
            gCallbacks.append(MDGMessage::addNodeRemovedCallback(nodeRemoved));
            gCallbacks.append(MSceneMessage::addCallback(MSceneMessage::kAfterNew, afterNew));
            gCallbacks.append(MSceneMessage::addCallback(MSceneMessage::kBeforeSave, beforeSave));
            return MS::kSuccess;
        }
        if (db.isFlagSet("-stop")) {
            stopWatching();
            return MS::kSuccess;
        }
        displayError("auditWatch: give -start, -stop or -query");
        return MS::kFailure;
    }
};

// ------------------------------------------------------------- auditTag

class AuditTag : public MPxCommand {
public:
    static void* creator() { return new AuditTag; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-ln", "-longName", MSyntax::kString);
        syntax.addFlag("-v", "-value", MSyntax::kDouble);
        return syntax;
    }

    bool isUndoable() const override { return true; }

    MStatus doIt(const MArgList& args) override {
        MStatus status;
        MArgDatabase db(syntax(), args, &status);
        if (!status) return status;
        MString name = "auditTag";
        double value = 1.0;
        if (db.isFlagSet("-longName")) db.getFlagArgument("-longName", 0, name);
        if (db.isFlagSet("-value")) db.getFlagArgument("-value", 0, value);

        MSelectionList selection;
        MGlobal::getActiveSelectionList(selection);
        unsigned tagged = 0;
        for (MItSelectionList it(selection); !it.isDone(); it.next()) {
            MObject node;
            if (!it.getDependNode(node)) continue;
            MFnDependencyNode fn(node);
            if (fn.hasAttribute(name)) {
                displayWarning(fn.name() + " already has " + name);
                continue;
            }
            MFnNumericAttribute numeric;
            MObject attribute = numeric.create(name, name, MFnNumericData::kDouble, 0.0, &status);
            if (!status) return status;
            status = attributes_.addAttribute(node, attribute);
            if (!status) return status;
            ++tagged;
        }
        if (tagged == 0) {
            displayError("auditTag: select the nodes to tag");
            return MS::kFailure;
        }
        // The values need the attributes in place: those are added first, and
        // the values queued on a modifier of their own.
        status = attributes_.doIt();
        if (!status) return status;
        for (MItSelectionList it(selection); !it.isDone(); it.next()) {
            MObject node;
            if (!it.getDependNode(node)) continue;
            MPlug plug = MFnDependencyNode(node).findPlug(name, true, &status);
            if (status) values_.newPlugValueDouble(plug, value);
        }
        return values_.doIt();
    }
    MStatus redoIt() override {
        MStatus status = attributes_.doIt();
        return status ? values_.doIt() : status;
    }
    MStatus undoIt() override {
        MStatus status = values_.undoIt();
        return status ? attributes_.undoIt() : status;
    }

private:
    MDGModifier attributes_;
    MDGModifier values_;
};

// ------------------------------------------------------------- auditDownstream

class AuditDownstream : public MPxCommand {
public:
    static void* creator() { return new AuditDownstream; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addArg(MSyntax::kString);
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MStatus status;
        MArgDatabase db(syntax(), args, &status);
        if (!status) return status;
        MString name;
        db.getCommandArgument(0, name);
        MSelectionList list;
        if (!list.add(name)) {
            displayError("auditDownstream: no node " + name);
            return MS::kInvalidParameter;
        }
        MObject root;
        list.getDependNode(0, root);
        MStringArray names;
        MItDependencyGraph it(root, MFn::kInvalid, MItDependencyGraph::kDownstream,
                              MItDependencyGraph::kBreadthFirst, MItDependencyGraph::kNodeLevel,
                              &status);
        if (!status) return status;
        for (; !it.isDone(); it.next()) {
            MObject node = it.currentItem();
            if (node == root) continue;
            names.append(MFnDependencyNode(node).name());
        }
        setResult(names);
        return MS::kSuccess;
    }
};

// ------------------------------------------------------------- auditHandle

MObjectHandle gRemembered;

class AuditHandle : public MPxCommand {
public:
    static void* creator() { return new AuditHandle; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-r", "-remember", MSyntax::kString);
        syntax.enableQuery(true);
        return syntax;
    }

    MStatus doIt(const MArgList& args) override {
        MStatus status;
        MArgDatabase db(syntax(), args, &status);
        if (!status) return status;
        if (db.isQuery()) {
            MString state = gRemembered.isValid()   ? "valid"
                            : gRemembered.isAlive() ? "alive"
                                                    : "gone";
            setResult(state);
            return MS::kSuccess;
        }
        MString name;
        db.getFlagArgument("-remember", 0, name);
        MSelectionList list;
        MObject node;
        if (!list.add(name) || !list.getDependNode(0, node)) {
            displayError("auditHandle: no node " + name);
            return MS::kInvalidParameter;
        }
        gRemembered = MObjectHandle(node);
        return MS::kSuccess;
    }
};

}  // namespace

MStatus initializePlugin(MObject obj) {
    MFnPlugin plugin(obj, "Scene audit", "1.0", "Any");
    MStatus status = plugin.registerCommand("auditMeshes", AuditMeshes::creator);
    if (status)
        status = plugin.registerCommand("auditWatch", AuditWatch::creator, AuditWatch::newSyntax);
    if (status) status = plugin.registerCommand("auditTag", AuditTag::creator, AuditTag::newSyntax);
    if (status)
        status = plugin.registerCommand("auditDownstream", AuditDownstream::creator,
                                        AuditDownstream::newSyntax);
    if (status)
        status =
            plugin.registerCommand("auditHandle", AuditHandle::creator, AuditHandle::newSyntax);
    MGlobal::displayInfo("initializePlugin sceneAuditPlugin");
    return status;
}

MStatus uninitializePlugin(MObject obj) {
    stopWatching();
    gLog.clear();
    gRemembered = MObjectHandle();
    MFnPlugin plugin(obj);
    for (const char* name :
         {"auditMeshes", "auditWatch", "auditTag", "auditDownstream", "auditHandle"})
        plugin.deregisterCommand(name);
    MGlobal::displayInfo("uninitializePlugin sceneAuditPlugin");
    return MS::kSuccess;
}
