// The plug-in's entry and exit: registration of every type and command, the node-removed and scene
// callbacks, the shared objects, and the hand-over to the MEL scripts.

#include "nodes/component/quilloComponent.h"
#include "nodes/component/quilloComponentArray.h"
#include "nodes/feather/quillo.h"
#include "nodes/globals/quilloGlobals.h"
#include "nodes/system/quilloSystem.h"
#include "feather/errorReport.h"
#include "plugin/buildReportCommand.h"
#include "plugin/exportCommand.h"
#include "plugin/featherTurtleArrayData.h"
#include "plugin/featherTurtleData.h"
#include "plugin/sharedObjects.h"

#include <maya/MDGMessage.h>
#include <maya/MFnPlugin.h>
#include <maya/MGlobal.h>
#include <maya/MSceneMessage.h>

namespace {

const char* const module = "pluginMain";
const char* const vendor = "Varrow";
const char* const version = "1.6.5";

// "2011", "2012" or "2013": the API generation this build is compiled against.
#define QUILLO_API_YEAR (MAYA_API_VERSION / 100)
MString requiredApiVersion() {
    MString text;
    text += static_cast<int>(QUILLO_API_YEAR);
    return text;
}

struct dataTypeEntry {
    const char* name;
    const MTypeId& id;
    MCreatorFunction creator;
};

struct nodeTypeEntry {
    const char* name;
    const MTypeId& id;
    MCreatorFunction creator;
    MInitializeFunction initialize;
    MPxNode::Type kind;
};

// The one registration list, in registration order.
const dataTypeEntry dataTypes[] = {
    {"featherTurtleData", featherTurtleData::id, &featherTurtleData::creator},
    {"featherTurtleArrayData", featherTurtleArrayData::id, &featherTurtleArrayData::creator},
};

const nodeTypeEntry nodeTypes[] = {
    {"quillo", quillo::id, &quillo::creator, &quillo::initialize, MPxNode::kLocatorNode},
    {"quilloGlobals", quilloGlobals::id, &quilloGlobals::creator, &quilloGlobals::initialize,
     MPxNode::kDependNode},
    {"quilloSystem", quilloSystem::id, &quilloSystem::creator, &quilloSystem::initialize,
     MPxNode::kLocatorNode},
    {"quilloComponent", quilloComponent::id, &quilloComponent::creator,
     &quilloComponent::initialize, MPxNode::kLocatorNode},
    {"quilloComponentArray", quilloComponentArray::id, &quilloComponentArray::creator,
     &quilloComponentArray::initialize, MPxNode::kLocatorNode},
};

// Unload takes the system out before the globals node; indices into nodeTypes.
const int deregistrationOrder[] = {0, 2, 1, 3, 4};

struct removalCallbackEntry {
    const char* nodeType;
    MDGMessage::MNodeFunction handler;
};

const removalCallbackEntry removalCallbacks[] = {
    {"quillo", &quillo::nodeRemoved},
    {"quilloSystem", &quilloSystem::nodeRemoved},
    {"quilloComponent", &quilloComponent::nodeRemoved},
    {"quilloComponentArray", &quilloComponent::nodeRemoved},
};
const int removalCallbackCount = sizeof(removalCallbacks) / sizeof(removalCallbacks[0]);

// Kept so that unload can take the node-removed callbacks back: they must never run once the
// library is gone.
MCallbackId removalCallbackIds[removalCallbackCount] = {};

// The scene-callback table: after-new, exiting, after-open, after-remove-reference.
const int sceneSlotCount = 4;
MCallbackId* sceneCallbacks = nullptr;

void afterNew(void*) {
    rebuildSharedObjects();
}
void exiting(void*) {
    destroySharedObjects();
}
void afterOpenOrRemoveReference(void*) {
    flushSharedPools();
}

void installSceneCallbacks() {
    sceneCallbacks = new MCallbackId[sceneSlotCount];
    for (int i = 0; i < sceneSlotCount; ++i)
        sceneCallbacks[i] = 0;
    const MSceneMessage::Message messages[sceneSlotCount] = {
        MSceneMessage::kAfterNew, MSceneMessage::kMayaExiting, MSceneMessage::kAfterOpen,
        MSceneMessage::kAfterRemoveReference};
    const MSceneMessage::MBasicFunction handlers[sceneSlotCount] = {
        &afterNew, &exiting, &afterOpenOrRemoveReference, &afterOpenOrRemoveReference};
    for (int i = 0; i < sceneSlotCount; ++i) {
        MStatus status;
        sceneCallbacks[i] = MSceneMessage::addCallback(messages[i], handlers[i], nullptr, &status);
        QUILLO_CHECK(status, module);
    }
}

void removeSceneCallbacks() {
    if (!sceneCallbacks)
        return;
    for (int i = 0; i < sceneSlotCount; ++i) {
        if (sceneCallbacks[i] != 0)
            QUILLO_CHECK(MMessage::removeCallback(sceneCallbacks[i]), module);
        sceneCallbacks[i] = 0;
    }
    delete[] sceneCallbacks;
    sceneCallbacks = nullptr;
}

MString infoLine(const char* what) {
    return MString("quillo ") + version + what;
}

} // namespace

PLUGIN_EXPORT MStatus initializePlugin(MObject obj) {
    MFnPlugin plugin(obj, vendor, version, requiredApiVersion().asChar());

    for (const dataTypeEntry& type : dataTypes)
        QUILLO_CHECK(plugin.registerData(type.name, type.id, type.creator, MPxData::kData), module);
    for (const nodeTypeEntry& type : nodeTypes)
        QUILLO_CHECK(
            plugin.registerNode(type.name, type.id, type.creator, type.initialize, type.kind),
            module);
    QUILLO_CHECK(plugin.registerCommand(quilloExportFeathers::commandName,
                                        &quilloExportFeathers::creator,
                                        &quilloExportFeathers::newSyntax),
                 module);
    QUILLO_CHECK(plugin.registerCommand(quilloBuildReport::commandName, &quilloBuildReport::creator,
                                        &quilloBuildReport::newSyntax),
                 module);

    for (int i = 0; i < removalCallbackCount; ++i) {
        MStatus status;
        removalCallbackIds[i] = MDGMessage::addNodeRemovedCallback(
            removalCallbacks[i].handler, removalCallbacks[i].nodeType, nullptr, &status);
        if (status != MS::kSuccess)
            removalCallbackIds[i] = 0;
    }

    installSceneCallbacks();
    rebuildSharedObjects();

    MGlobal::displayInfo(infoLine(" loaded!"));

    QUILLO_CHECK(MGlobal::sourceFile("quilloScripts.mel"), module);
    QUILLO_CHECK(MGlobal::sourceFile("quilloDelight.mel"), module);
    QUILLO_CHECK(MGlobal::executeCommand("quilloMenu", false, false), module);
    return MS::kSuccess;
}

PLUGIN_EXPORT MStatus uninitializePlugin(MObject obj) {
    MFnPlugin plugin(obj);

    QUILLO_CHECK(plugin.deregisterCommand(quilloExportFeathers::commandName), module);
    QUILLO_CHECK(plugin.deregisterCommand(quilloBuildReport::commandName), module);
    for (int index : deregistrationOrder)
        QUILLO_CHECK(plugin.deregisterNode(nodeTypes[index].id), module);
    for (const dataTypeEntry& type : dataTypes)
        QUILLO_CHECK(plugin.deregisterData(type.id), module);

    MGlobal::executeCommand("qoUninstalMenu", false, false);

    removeSceneCallbacks();
    for (MCallbackId& id : removalCallbackIds) {
        if (id != 0)
            QUILLO_CHECK(MMessage::removeCallback(id), module);
        id = 0;
    }

    destroySharedObjects();

    MGlobal::displayInfo(infoLine(" unloaded!"));
    return MS::kSuccess;
}
