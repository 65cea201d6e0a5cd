#pragma once
#include <maya/MFnBase.h>
#include <maya/MPlug.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>

class MPlugArray;
class MPxNode;

//! Reads and edits a dependency node: its name, type, attributes and plugs.
class OPENMAYA_EXPORT MFnDependencyNode : public MFnBase {
public:
    enum MAttrClass { kLocalDynamicAttr = 1, kNormalAttr, kExtensionAttr, kInvalidAttr };

    MFnDependencyNode() = default;
    MFnDependencyNode(const MObject& object, MStatus* status = NULL);
    MFn::Type type() const override { return MFn::kDependencyNode; }

    //! Creates a node (not undoable) and attaches this set to it.
    MObject create(const MTypeId& typeId, MStatus* status = NULL);
    MObject create(const MTypeId& typeId, const MString& name, MStatus* status = NULL);
    MObject create(const MString& type, MStatus* status = NULL);
    MObject create(const MString& type, const MString& name, MStatus* status = NULL);

    MTypeId typeId(MStatus* status = NULL) const;
    MString typeName(MStatus* status = NULL) const;
    MString name(MStatus* status = NULL) const;
    MString absoluteName(MStatus* status = NULL) const;
    MString setName(const MString& name, bool createNamespace = false, MStatus* status = NULL);
    MString pluginName(MStatus* status = NULL) const;

    MStatus getConnections(MPlugArray& plugs) const;
    unsigned int attributeCount(MStatus* status = NULL) const;
    MObject attribute(unsigned int index, MStatus* status = NULL) const;
    MObject attribute(const MString& attrName, MStatus* status = NULL) const;
    bool hasAttribute(const MString& attrName, MStatus* status = NULL) const;
    MPlug findPlug(const MObject& attribute, bool wantNetworkedPlug, MStatus* status = NULL) const;
    MPlug findPlug(const MString& attrName, bool wantNetworkedPlug, MStatus* status = NULL) const;
    MPlug findPlug(const MObject& attribute, MStatus* status = NULL) const;
    MPlug findPlug(const MString& attrName, MStatus* status = NULL) const;

    //! Adds a dynamic attribute (made by an attribute function set) to this
    //! node alone; not undoable (MDGModifier::addAttribute is).
    MStatus addAttribute(const MObject& attr);
    //! Removes a dynamic attribute, breaking its connections first; not undoable.
    MStatus removeAttribute(const MObject& attr);
    //! kLocalDynamicAttr for an attribute added to this node, kNormalAttr for
    //! one of its type, kInvalidAttr for one it does not have.
    MAttrClass attributeClass(const MObject& attribute, MStatus* status = NULL) const;

    MPxNode* userNode(MStatus* status = NULL) const;
    bool isFromReferencedFile(MStatus* status = NULL) const;
    bool isShared(MStatus* status = NULL) const;
    bool isDefaultNode(MStatus* status = NULL) const;
    bool isLocked(MStatus* status = NULL) const;
    MStatus setLocked(bool locked);

    static MString classification(const MString& nodeTypeName);
};
