#pragma once
#include <maya/MMessage.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MString.h>

//! The node type whose nodes (and those of every type derived from it) a
//! node added or removed callback hears of by default: all nodes.
#define kDefaultNodeType "dependNode"

//! Callbacks on the dependency graph as a whole: nodes added to and removed
//! from the scene, connections made and broken.
class OPENMAYA_EXPORT MDGMessage : public MMessage {
public:
    static MCallbackId addNodeAddedCallback(MMessage::MNodeFunction func,
                                            const MString& nodeType = kDefaultNodeType,
                                            void* clientData = NULL, MStatus* status = NULL);
    static MCallbackId addNodeRemovedCallback(MMessage::MNodeFunction func,
                                              const MString& nodeType = kDefaultNodeType,
                                              void* clientData = NULL, MStatus* status = NULL);
    static MCallbackId addConnectionCallback(MMessage::MPlugFunction func, void* clientData = NULL,
                                             MStatus* status = NULL);
};
