#pragma once
#include <maya/MMessage.h>

//! Callbacks on scene files: before and after a new scene, an open, a save,
//! an import or an export. A check callback (the messages ending in Check)
//! can answer false to stop the operation.
class OPENMAYA_EXPORT MSceneMessage : public MMessage {
public:
    enum Message {
        kSceneUpdate,
        kBeforeNew,
        kAfterNew,
        kBeforeImport,
        kAfterImport,
        kBeforeOpen,
        kAfterOpen,
        kBeforeFileRead,
        kAfterFileRead,
        kAfterSceneReadAndRecordEdits,
        kBeforeExport,
        kAfterExport,
        kBeforeSave,
        kAfterSave,
        kBeforeReference,
        kAfterReference,
        kBeforeRemoveReference,
        kAfterRemoveReference,
        kBeforeImportReference,
        kAfterImportReference,
        kBeforeExportReference,
        kAfterExportReference,
        kBeforeUnloadReference,
        kAfterUnloadReference,
        kBeforeSoftwareRender,
        kAfterSoftwareRender,
        kBeforeSoftwareFrameRender,
        kAfterSoftwareFrameRender,
        kSoftwareRenderInterrupted,
        kMayaInitialized,
        kMayaExiting,
        kBeforeNewCheck,
        kBeforeOpenCheck,
        kBeforeSaveCheck,
        kBeforeImportCheck,
        kBeforeExportCheck,
        kBeforeLoadReference,
        kAfterLoadReference,
        kBeforeLoadReferenceCheck,
        kBeforeReferenceCheck,
        kBeforeCreateReferenceCheck = kBeforeReferenceCheck,
        kBeforePluginLoad,
        kAfterPluginLoad,
        kBeforePluginUnload,
        kAfterPluginUnload,
        kBeforeCreateReference,
        kAfterCreateReference,
        kExportStarted,
        kBeforeLoadReferenceAndRecordEdits,
        kAfterLoadReferenceAndRecordEdits,
        kBeforeCreateReferenceAndRecordEdits,
        kAfterCreateReferenceAndRecordEdits,
        kLast
    };

    //! Refused for the check messages (they take addCheckCallback).
    static MCallbackId addCallback(Message msg, MMessage::MBasicFunction func,
                                   void* clientData = NULL, MStatus* status = NULL);
    //! For the check messages (kBeforeNewCheck, kBeforeOpenCheck ...) only.
    static MCallbackId addCheckCallback(Message msg, MMessage::MCheckFunction func,
                                        void* clientData = NULL, MStatus* status = NULL);
};
