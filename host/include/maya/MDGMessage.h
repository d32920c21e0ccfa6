#pragma once
// Dependency-graph messages: node creation and removal.

#include <maya/MMessage.h>
#include <maya/MString.h>

class MObject;

class OPENMAYA_EXPORT MDGMessage : public MMessage {
  public:
    typedef void (*MNodeFunction)(MObject& node, void* clientData);

    // Called after a node of the given type (or any type for "dependNode") is added or,
    // before it is destroyed, removed; connections are already broken at removal.
    static MCallbackId addNodeAddedCallback(MNodeFunction func,
                                            const MString& nodeType = "dependNode",
                                            void* clientData = nullptr, MStatus* status = nullptr);
    static MCallbackId addNodeRemovedCallback(MNodeFunction func,
                                              const MString& nodeType = "dependNode",
                                              void* clientData = nullptr,
                                              MStatus* status = nullptr);
};
