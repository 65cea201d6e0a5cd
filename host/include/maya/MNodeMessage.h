#pragma once
#include <maya/MMessage.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MString.h>

//! Callbacks on changes to one node: its attributes set, connected or
//! disconnected, added or removed, its plugs dirtied, its name changed, its
//! removal from the scene.
class OPENMAYA_EXPORT MNodeMessage : public MMessage {
public:
    //! What happened to an attribute, as bits: a value set or a connection
    //! made reaching the node's plug also carries kIncomingDirection.
    enum AttributeMessage {
        kConnectionMade = 0x01,
        kConnectionBroken = 0x02,
        kAttributeEval = 0x04,
        kAttributeSet = 0x08,
        kAttributeLocked = 0x10,
        kAttributeUnlocked = 0x20,
        kAttributeAdded = 0x40,
        kAttributeRemoved = 0x80,
        kAttributeRenamed = 0x100,
        kAttributeKeyable = 0x200,
        kAttributeUnkeyable = 0x400,
        kIncomingDirection = 0x800,
        kAttributeArrayAdded = 0x1000,
        kAttributeArrayRemoved = 0x2000,
        kOtherPlugSet = 0x4000,
        kLast = 0x8000
    };

    typedef void (*MAttr2PlugFunction)(MNodeMessage::AttributeMessage msg, MPlug& plug,
                                       MPlug& otherPlug, void* clientData);
    typedef void (*MAttrPlugFunction)(MNodeMessage::AttributeMessage msg, MPlug& plug,
                                      void* clientData);

    static MCallbackId addAttributeChangedCallback(MObject& node, MAttr2PlugFunction func,
                                                   void* clientData = NULL, MStatus* status = NULL);
    static MCallbackId addAttributeAddedOrRemovedCallback(MObject& node, MAttrPlugFunction func,
                                                          void* clientData = NULL,
                                                          MStatus* status = NULL);
    static MCallbackId addNodeDirtyCallback(MObject& node, MMessage::MBasicFunction func,
                                            void* clientData = NULL, MStatus* status = NULL);
    static MCallbackId addNodeDirtyCallback(MObject& node, MMessage::MNodeFunction func,
                                            void* clientData = NULL, MStatus* status = NULL);
    static MCallbackId addNodeDirtyPlugCallback(MObject& node, MMessage::MNodePlugFunction func,
                                                void* clientData = NULL, MStatus* status = NULL);
    //! With a null node, every node's renaming is told.
    static MCallbackId addNameChangedCallback(MObject& node, MMessage::MNodeStringFunction func,
                                              void* clientData = NULL, MStatus* status = NULL);
    //! Told each time the node is about to leave the scene (its deletion, or
    //! the undo of its creation).
    static MCallbackId addNodePreRemovalCallback(MObject& node, MMessage::MNodeFunction func,
                                                 void* clientData = NULL, MStatus* status = NULL);
};
