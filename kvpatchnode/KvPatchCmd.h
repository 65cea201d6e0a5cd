#pragma once
// Inserting a modifier node into a mesh's construction history, undoably:
// kvPatchNodeCmd does the insertion for any node type with inMesh and
// outMesh; kvPatchCmd parses "-m"/"-mesh" and inserts a patch node.

#include <maya/MDagModifier.h>
#include <maya/MDagPath.h>
#include <maya/MObject.h>
#include <maya/MPxCommand.h>
#include <maya/MString.h>
#include <maya/MSyntax.h>
#include <maya/MTypeId.h>

#include <memory>

class kvPatchNodeCmd : public MPxCommand {
public:
    kvPatchNodeCmd() = default;
    ~kvPatchNodeCmd() override = default;

    MStatus undoIt() override;
    MStatus redoIt() override;
    bool isUndoable() const override { return true; }

    //! Called with the new node before it is wired in, to set it up.
    virtual MStatus initModifierNode(MObject node, MDagModifier& modifier) = 0;

protected:
    //! Inserts a node of the given type between the shape and its input.
    MStatus insertModifierNode(const MDagPath& shape, const MTypeId& nodeType);

    MDagPath meshPath;
    MTypeId modifierNodeType;
    bool hasHistory = false;
    bool hasTweaks = false;
    bool recordsHistory = false;
    MDagModifier modifiers[3];
    MObject duplicateObject;
    MObject cachedMeshData;

private:
    bool readTweaks();
    MStatus moveTweaks(MObject& tweakNode);
    MStatus keepOriginalShape(MPlug& upstream);
    //! Takes the hidden copy of the shape out of the scene on undo and puts
    //! the same copy back on redo.
    std::unique_ptr<MDagModifier> duplicateRemoval_;
};

class kvPatchCmd : public kvPatchNodeCmd {
public:
    kvPatchCmd() = default;
    ~kvPatchCmd() override = default;

    MStatus doIt(const MArgList& args) override;
    MStatus initModifierNode(MObject node, MDagModifier& modifier) override;

    static void* creator();
    static MSyntax newSyntax();

private:
    MString meshName;
    MDagPath selectedPath;
    MObject selectedNode;
};
