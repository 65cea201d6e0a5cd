#pragma once
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>

#include <memory>

class MAngle;
class MDistance;

namespace ehost {
struct ModifierOps;
struct ApiAccess;
}  // namespace ehost

//! Queues graph edits; doIt performs them, undoIt takes them back in reverse
//! order, and doIt after undoIt performs them again.
class OPENMAYA_EXPORT MDGModifier {
public:
    MDGModifier();
    virtual ~MDGModifier();
    MDGModifier(const MDGModifier&) = delete;
    MDGModifier& operator=(const MDGModifier&) = delete;

    MObject createNode(const MTypeId& typeId, MStatus* status = NULL);
    MObject createNode(const MString& type, MStatus* status = NULL);
    MStatus deleteNode(const MObject& node);
    MStatus renameNode(const MObject& node, const MString& newName);
    //! Adds a dynamic attribute to the node; undoIt removes it again.
    MStatus addAttribute(const MObject& node, const MObject& attribute);
    //! Removes a dynamic attribute; undoIt puts it back with its value and
    //! connections.
    MStatus removeAttribute(const MObject& node, const MObject& attribute);
    MStatus connect(const MObject& sourceNode, const MObject& sourceAttr, const MObject& destNode,
                    const MObject& destAttr);
    MStatus connect(const MPlug& source, const MPlug& dest);
    MStatus disconnect(const MObject& sourceNode, const MObject& sourceAttr,
                       const MObject& destNode, const MObject& destAttr);
    MStatus disconnect(const MPlug& source, const MPlug& dest);
    //! Queues command text, run by doIt; undoIt undoes what it did.
    MStatus commandToExecute(const MString& command);
    MStatus pythonCommandToExecute(const MString& command);
    MStatus newPlugValue(const MPlug& plug, const MObject& value);
    MStatus newPlugValueBool(const MPlug& plug, bool value);
    MStatus newPlugValueChar(const MPlug& plug, char value);
    MStatus newPlugValueDouble(const MPlug& plug, double value);
    MStatus newPlugValueFloat(const MPlug& plug, float value);
    MStatus newPlugValueInt(const MPlug& plug, int value);
    MStatus newPlugValueShort(const MPlug& plug, short value);
    MStatus newPlugValueString(const MPlug& plug, const MString& value);
    MStatus newPlugValueMAngle(const MPlug& plug, const MAngle& value);
    MStatus newPlugValueMDistance(const MPlug& plug, const MDistance& value);

    MStatus doIt();
    MStatus undoIt();

protected:
    friend struct ehost::ApiAccess;
    std::unique_ptr<ehost::ModifierOps> impl_;
};
