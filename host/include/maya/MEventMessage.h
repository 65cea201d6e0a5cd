#pragma once
#include <maya/MMessage.h>
#include <maya/MString.h>

class MStringArray;

//! Callbacks on named host events ("Undo", "ToolChanged", "modelEditorChanged", ...).
class OPENMAYA_EXPORT MEventMessage : public MMessage {
public:
    static MCallbackId addEventCallback(const MString& event, MMessage::MBasicFunction func,
                                        void* clientData = NULL, MStatus* status = NULL);
    static MStatus getEventNames(MStringArray& names);
};
