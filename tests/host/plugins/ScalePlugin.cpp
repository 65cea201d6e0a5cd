// A small plug-in module for the host's loading tests, written as any plug-in
// for the real host would be: a node type whose output is its input times a
// factor, and an undoable command that sets a node's input. Its entry points
// report through MGlobal::displayInfo so that tests can see them run.

#include <maya/MArgDatabase.h>
#include <maya/MDataBlock.h>
#include <maya/MDataHandle.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnPlugin.h>
#include <maya/MGlobal.h>
#include <maya/MPlug.h>
#include <maya/MPxCommand.h>
#include <maya/MPxNode.h>
#include <maya/MSelectionList.h>
#include <maya/MSyntax.h>

namespace {

class ScaleNode : public MPxNode {
public:
    static void* creator() { return new ScaleNode; }

    static MStatus initialize() {
        MFnNumericAttribute numeric;
        input = numeric.create("input", "in", MFnNumericData::kDouble, 0.0);
        numeric.setStorable(true);
        numeric.setKeyable(true);
        factor = numeric.create("factor", "fa", MFnNumericData::kDouble, 2.0);
        numeric.setStorable(true);
        output = numeric.create("output", "out", MFnNumericData::kDouble, 0.0);
        numeric.setWritable(false);
        numeric.setStorable(false);
        for (const MObject* a : {&input, &factor, &output}) {
            MStatus st = addAttribute(*a);
            if (!st) return st;
        }
        attributeAffects(input, output);
        attributeAffects(factor, output);
        return MStatus::kSuccess;
    }

    MStatus compute(const MPlug& plug, MDataBlock& data) override {
        if (plug != output) return MStatus::kUnknownParameter;
        double value = data.inputValue(input).asDouble() * data.inputValue(factor).asDouble();
        data.outputValue(output).set(value);
        data.setClean(plug);
        return MStatus::kSuccess;
    }

    static MObject input, factor, output;
};

MObject ScaleNode::input;
MObject ScaleNode::factor;
MObject ScaleNode::output;

const MTypeId kScaleNodeId(0x0007F1A0);

//! hostTestSet -value V NODE: sets NODE.input to V; the result is the value it had.
class SetInputCommand : public MPxCommand {
public:
    static void* creator() { return new SetInputCommand; }

    static MSyntax newSyntax() {
        MSyntax s;
        s.addFlag("-v", "-value", MSyntax::kDouble);
        s.setObjectType(MSyntax::kSelectionList, 1, 1);
        return s;
    }

    bool isUndoable() const override { return true; }

    MStatus doIt(const MArgList& args) override {
        MStatus st;
        MArgDatabase db(syntax(), args, &st);
        if (!st) return st;
        if (!db.isFlagSet("-v")) {
            displayError("hostTestSet: -value: must specify a value for ");
            return MStatus::kInvalidParameter;
        }
        db.getFlagArgument("-v", 0, newValue_);
        MSelectionList list;
        db.getObjects(list);
        MObject node;
        list.getDependNode(0, node);
        MFnDependencyNode fn(node, &st);
        if (!st) return st;
        plug_ = fn.findPlug("input", true, &st);
        if (!st) return st;
        oldValue_ = plug_.asDouble();
        setResult(oldValue_);
        return redoIt();
    }

    MStatus redoIt() override { return plug_.setValue(newValue_); }
    MStatus undoIt() override { return plug_.setValue(oldValue_); }

private:
    MPlug plug_;
    double newValue_ = 0, oldValue_ = 0;
};

}  // namespace

PLUGIN_EXPORT MStatus initializePlugin(MObject obj) {
    MFnPlugin plugin(obj, "Tessark tests", "1.2", "Any");
    MStatus st = plugin.registerNode("hostTestScale", kScaleNodeId, ScaleNode::creator,
                                     ScaleNode::initialize);
    if (!st) {
        st.perror("registerNode");
        return st;
    }
    st =
        plugin.registerCommand("hostTestSet", SetInputCommand::creator, SetInputCommand::newSyntax);
    if (!st) {
        st.perror("registerCommand");
        return st;
    }
    MGlobal::displayInfo("initializePlugin " + plugin.name() + " api " + plugin.apiVersion());
    return MStatus::kSuccess;
}

PLUGIN_EXPORT MStatus uninitializePlugin(MObject obj) {
    MFnPlugin plugin(obj);
    MStatus st = plugin.deregisterCommand("hostTestSet");
    if (!st) st.perror("deregisterCommand");
    st = plugin.deregisterNode(kScaleNodeId);
    if (!st) st.perror("deregisterNode");
    MGlobal::displayInfo("uninitializePlugin " + plugin.name());
    return st;
}
