#include "command/pluginCommands.h"
#include "graph/nodeType.h"
#include "plugin/plugin.h"

#define MNoVersionString
#include <maya/MFnPlugin.h>
#include <maya/MGlobal.h>

namespace {
host::Plugin* pluginOf(const MObject& object) {
    return dynamic_cast<host::Plugin*>(object.impl().get());
}

MStatus reportFailure(MStatus status, const std::string& error) {
    if (!status)
        MGlobal::displayError(error.c_str());
    return status;
}
} // namespace

MFnPlugin::MFnPlugin() = default;

MFnPlugin::MFnPlugin(MObject& object, const char* vendor, const char* version,
                     const char* requiredApiVersion, MStatus* status) {
    object_ = object;
    host::Plugin* plugin = pluginOf(object);
    if (status)
        *status = plugin ? MS::kSuccess : MS::kInvalidParameter;
    if (!plugin)
        return;
    // The defaults ("Unknown", "Any") are what unload passes: they leave the identity alone.
    if (vendor && std::string(vendor) != "Unknown")
        plugin->vendor = vendor;
    if (version && std::string(version) != "Unknown")
        plugin->version = version;
    if (requiredApiVersion && std::string(requiredApiVersion) != "Any")
        plugin->requiredApiVersion = requiredApiVersion;
}

MFnPlugin::~MFnPlugin() = default;

MString MFnPlugin::vendor(MStatus* status) const {
    host::Plugin* plugin = pluginOf(object_);
    if (status)
        *status = plugin ? MS::kSuccess : MS::kFailure;
    return plugin ? MString(plugin->vendor.c_str()) : MString();
}

MString MFnPlugin::version(MStatus* status) const {
    host::Plugin* plugin = pluginOf(object_);
    if (status)
        *status = plugin ? MS::kSuccess : MS::kFailure;
    return plugin ? MString(plugin->version.c_str()) : MString();
}

MString MFnPlugin::apiVersion(MStatus* status) const {
    host::Plugin* plugin = pluginOf(object_);
    if (status)
        *status = plugin ? MS::kSuccess : MS::kFailure;
    return plugin ? MString(plugin->apiVersion.c_str()) : MString();
}

MString MFnPlugin::name(MStatus* status) const {
    host::Plugin* plugin = pluginOf(object_);
    if (status)
        *status = plugin ? MS::kSuccess : MS::kFailure;
    return plugin ? MString(plugin->name.c_str()) : MString();
}

MString MFnPlugin::loadPath(MStatus* status) const {
    host::Plugin* plugin = pluginOf(object_);
    if (status)
        *status = plugin ? MS::kSuccess : MS::kFailure;
    if (!plugin)
        return MString();
    std::string::size_type slash = plugin->path.find_last_of('/');
    return MString(slash == std::string::npos ? "." : plugin->path.substr(0, slash).c_str());
}

MStatus MFnPlugin::setName(const MString& name, bool) {
    host::Plugin* plugin = pluginOf(object_);
    if (!plugin || name.length() == 0)
        return MS::kFailure;
    plugin->name = name.asChar();
    return MS::kSuccess;
}

MStatus MFnPlugin::setVersion(const MString& version) {
    host::Plugin* plugin = pluginOf(object_);
    if (!plugin)
        return MS::kFailure;
    plugin->version = version.asChar();
    return MS::kSuccess;
}

MStatus MFnPlugin::registerNode(const MString& typeName, const MTypeId& typeId,
                                MCreatorFunction creatorFunction, MInitializeFunction initFunction,
                                MPxNode::Type type, const MString*) {
    host::Plugin* plugin = pluginOf(object_);
    if (!plugin)
        return MS::kFailure;
    std::string error;
    MStatus status = host::TypeRegistry::instance().registerNode(
        typeName.asChar(), typeId, creatorFunction, initFunction, type, plugin, &error);
    if (status)
        plugin->nodeTypes.push_back(typeId);
    return reportFailure(status, error);
}

MStatus MFnPlugin::deregisterNode(const MTypeId& typeId) {
    host::Plugin* plugin = pluginOf(object_);
    host::NodeType* type = host::TypeRegistry::instance().findNode(typeId);
    if (!plugin || !type || type->plugin != plugin)
        return reportFailure(MS::kFailure, "No node type with id " + std::to_string(typeId.id()) +
                                               " is registered by this plug-in.");
    std::string error;
    return reportFailure(host::TypeRegistry::instance().deregisterNode(typeId, &error), error);
}

MStatus MFnPlugin::registerData(const MString& typeName, const MTypeId& typeId,
                                MCreatorFunction creatorFunction, MPxData::Type type) {
    host::Plugin* plugin = pluginOf(object_);
    if (!plugin)
        return MS::kFailure;
    std::string error;
    MStatus status = host::TypeRegistry::instance().registerData(
        typeName.asChar(), typeId, creatorFunction, type, plugin, &error);
    if (status)
        plugin->dataTypes.push_back(typeId);
    return reportFailure(status, error);
}

MStatus MFnPlugin::deregisterData(const MTypeId& typeId) {
    host::Plugin* plugin = pluginOf(object_);
    host::DataType* type = host::TypeRegistry::instance().findData(typeId);
    if (!plugin || !type || type->plugin != plugin)
        return reportFailure(MS::kFailure, "No data type with id " + std::to_string(typeId.id()) +
                                               " is registered by this plug-in.");
    std::string error;
    return reportFailure(host::TypeRegistry::instance().deregisterData(typeId, &error), error);
}

MStatus MFnPlugin::registerCommand(const MString& commandName, MCreatorFunction creatorFunction,
                                   MCreateSyntaxFunction createSyntaxFunction) {
    host::Plugin* plugin = pluginOf(object_);
    if (!plugin)
        return MS::kFailure;
    std::string error;
    return reportFailure(host::registerPluginCommand(*plugin, commandName.asChar(), creatorFunction,
                                                     createSyntaxFunction, &error),
                         error);
}

MStatus MFnPlugin::deregisterCommand(const MString& commandName) {
    host::Plugin* plugin = pluginOf(object_);
    if (!plugin)
        return MS::kFailure;
    std::string error;
    return reportFailure(host::deregisterPluginCommand(*plugin, commandName.asChar(), &error),
                         error);
}
