#include <maya/MBoundingBox.h>
#include <maya/MDataBlock.h>
#include <maya/MEvaluationNode.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>
#include <maya/MPxLocatorNode.h>
#include <maya/MPxNode.h>

#include "host/src/dg/Api.h"
#include "host/src/dg/AttrBuild.h"
#include "host/src/dg/Registry.h"

using ehost::api::fail;

namespace {

ehost::NodeClass* classBeingDefined(const char* what, MStatus& st) {
    ehost::NodeClass* cls = ehost::theRegistry().initializing;
    if (!cls)
        st = fail(MStatus::kFailure,
                  std::string(what) +
                      " is only allowed while a node type's attributes are being defined");
    return cls;
}

}  // namespace

MObject MPxNode::message = ehost::api::wrap(ehost::baseAttributes().message);
MObject MPxNode::isHistoricallyInteresting =
    ehost::api::wrap(ehost::baseAttributes().isHistoricallyInteresting);
MObject MPxNode::caching = ehost::api::wrap(ehost::baseAttributes().caching);
MObject MPxNode::state = ehost::api::wrap(ehost::baseAttributes().state);
MObject MPxNode::frozen = ehost::api::wrap(ehost::baseAttributes().frozen);

MPxNode::MPxNode() = default;
MPxNode::~MPxNode() = default;

void MPxNode::postConstructor() {}
MStatus MPxNode::compute(const MPlug&, MDataBlock&) {
    return MStatus::kUnknownParameter;
}
MStatus MPxNode::setDependentsDirty(const MPlug&, MPlugArray&) {
    return MStatus::kSuccess;
}
MStatus MPxNode::preEvaluation(const MDGContext&, const MEvaluationNode&) {
    return MStatus::kSuccess;
}
MStatus MPxNode::postEvaluation(const MDGContext&, const MEvaluationNode&, int) {
    return MStatus::kSuccess;
}
MStatus MPxNode::connectionMade(const MPlug&, const MPlug&, bool) {
    return MStatus::kUnknownParameter;
}
MStatus MPxNode::connectionBroken(const MPlug&, const MPlug&, bool) {
    return MStatus::kUnknownParameter;
}
bool MPxNode::isPassiveOutput(const MPlug&) const {
    return false;
}

MTypeId MPxNode::typeId() const {
    return impl_.node ? impl_.node->cls->typeId : MTypeId();
}
MString MPxNode::typeName() const {
    return impl_.node ? MString(impl_.node->cls->typeName) : MString();
}
MString MPxNode::name() const {
    return impl_.node ? MString(impl_.node->name) : MString();
}

MObject MPxNode::thisMObject() const {
    return impl_.node ? ehost::api::wrap(impl_.node->self()) : MObject();
}

MStatus MPxNode::addAttribute(const MObject& attribute) {
    MStatus st;
    ehost::NodeClass* cls = classBeingDefined("MPxNode::addAttribute", st);
    if (!cls) return st;
    auto attr = ehost::api::attrOf(attribute);
    if (!attr)
        return fail(MStatus::kInvalidParameter, "addAttribute: the object is not an attribute");
    return cls->addAttribute(attr);
}

MStatus MPxNode::attributeAffects(const MObject& whenChanges, const MObject& isAffected) {
    MStatus st;
    ehost::NodeClass* cls = classBeingDefined("MPxNode::attributeAffects", st);
    if (!cls) return st;
    auto when = ehost::api::attrOf(whenChanges);
    auto affected = ehost::api::attrOf(isAffected);
    if (!when || !affected)
        return fail(MStatus::kInvalidParameter,
                    "attributeAffects: both objects must be attributes");
    return cls->addAffects(when.get(), affected.get());
}

MStatus MPxNode::inheritAttributesFrom(const MString& parentClassName) {
    MStatus st;
    ehost::NodeClass* cls = classBeingDefined("MPxNode::inheritAttributesFrom", st);
    if (!cls) return st;
    ehost::NodeClass* parent = ehost::theRegistry().findClass(parentClassName.str());
    if (!parent)
        return fail(MStatus::kInvalidParameter, "no node type named " + parentClassName.str());
    for (int r : parent->roots) {
        const auto& attr = parent->attrs[r];
        if (cls->indexOf(attr.get()) < 0) {
            st = cls->addAttribute(attr);
            if (!st) return st;
        }
    }
    cls->base = parent;
    return MStatus::kSuccess;
}

// ---------------------------------------------------------------- locators

namespace {

struct LocatorAttributes {
    ehost::AttrPtr localPosition, worldPosition, localScale, underWorldObject;
};

const LocatorAttributes& locatorAttributes() {
    static const LocatorAttributes l = [] {
        static const char* const lp[3] = {"localPositionX", "localPositionY", "localPositionZ"};
        static const char* const lps[3] = {"lpx", "lpy", "lpz"};
        static const char* const wp[3] = {"worldPositionX", "worldPositionY", "worldPositionZ"};
        static const char* const wps[3] = {"wpx", "wpy", "wpz"};
        static const char* const ls[3] = {"localScaleX", "localScaleY", "localScaleZ"};
        static const char* const lss[3] = {"lsx", "lsy", "lsz"};
        LocatorAttributes a;
        a.localPosition =
            ehost::compound3("localPosition", "lp", lp, lps, MFnNumericData::kDouble, 0);
        a.worldPosition =
            ehost::compound3("worldPosition", "wp", wp, wps, MFnNumericData::kDouble, 0);
        a.worldPosition->array = true;
        a.worldPosition->writable = false;
        a.worldPosition->storable = false;
        a.localScale = ehost::compound3("localScale", "ls", ls, lss, MFnNumericData::kDouble, 1);
        a.underWorldObject =
            ehost::numericAttr("underWorldObject", "uwo", MFnNumericData::kBoolean, 0);
        a.underWorldObject->hidden = true;
        return a;
    }();
    return l;
}

}  // namespace

namespace ehost {

void addLocatorAttributes(NodeClass& cls) {
    const auto& l = locatorAttributes();
    for (const auto& a : {l.underWorldObject, l.localPosition, l.worldPosition, l.localScale})
        cls.addAttribute(a);
}

}  // namespace ehost

MObject MPxLocatorNode::localPosition = ehost::api::wrap(locatorAttributes().localPosition);
MObject MPxLocatorNode::localPositionX =
    ehost::api::wrap(locatorAttributes().localPosition->children[0]);
MObject MPxLocatorNode::localPositionY =
    ehost::api::wrap(locatorAttributes().localPosition->children[1]);
MObject MPxLocatorNode::localPositionZ =
    ehost::api::wrap(locatorAttributes().localPosition->children[2]);
MObject MPxLocatorNode::worldPosition = ehost::api::wrap(locatorAttributes().worldPosition);
MObject MPxLocatorNode::localScale = ehost::api::wrap(locatorAttributes().localScale);
MObject MPxLocatorNode::localScaleX = ehost::api::wrap(locatorAttributes().localScale->children[0]);
MObject MPxLocatorNode::localScaleY = ehost::api::wrap(locatorAttributes().localScale->children[1]);
MObject MPxLocatorNode::localScaleZ = ehost::api::wrap(locatorAttributes().localScale->children[2]);
MObject MPxLocatorNode::underWorldObject = ehost::api::wrap(locatorAttributes().underWorldObject);

MPxLocatorNode::MPxLocatorNode() = default;
MPxLocatorNode::~MPxLocatorNode() = default;
bool MPxLocatorNode::isBounded() const {
    return false;
}
MBoundingBox MPxLocatorNode::boundingBox() const {
    return MBoundingBox();
}
