#pragma once
// Scene messages: File > New, File > Open, references, and the host exiting.

#include <maya/MMessage.h>

class OPENMAYA_EXPORT MSceneMessage : public MMessage {
  public:
    enum Message {
        kSceneUpdate = 0,
        kBeforeNew = 1,
        kAfterNew = 2,
        kBeforeImport = 3,
        kAfterImport = 4,
        kBeforeOpen = 5,
        kAfterOpen = 6,
        kBeforeExport = 7,
        kAfterExport = 8,
        kBeforeSave = 9,
        kAfterSave = 10,
        kBeforeReference = 11,
        kAfterReference = 12,
        kBeforeRemoveReference = 13,
        kAfterRemoveReference = 14,
        kBeforeImportReference = 15,
        kAfterImportReference = 16,
        kBeforeExportReference = 17,
        kAfterExportReference = 18,
        kBeforeUnloadReference = 19,
        kAfterUnloadReference = 20,
        kBeforeSoftwareRender = 21,
        kAfterSoftwareRender = 22,
        kBeforeSoftwareFrameRender = 23,
        kAfterSoftwareFrameRender = 24,
        kSoftwareRenderInterrupted = 25,
        kMayaInitialized = 26,
        kMayaExiting = 27,
        kLast
    };
    typedef void (*MBasicFunction)(void* clientData);

    static MCallbackId addCallback(Message message, MBasicFunction func, void* clientData = nullptr,
                                   MStatus* status = nullptr);
};
