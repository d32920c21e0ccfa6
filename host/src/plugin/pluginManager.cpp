#include "callbacks/callbackRegistry.h"
#include "command/pluginCommands.h"
#include "foundation/regularFile.h"
#include "graph/graph.h"
#include "graph/nodeType.h"
#include "plugin/plugin.h"

#include <maya/MGlobal.h>

#include <algorithm>
#include <cstring>
#include <dlfcn.h>
#include <unistd.h>

namespace host {

namespace {
Plugin* activePlugin = nullptr;

typedef MStatus (*EntryFunction)(MObject);

std::string baseName(const std::string& path) {
    std::string name = path.substr(path.find_last_of('/') + 1);
    std::string::size_type dot = name.find('.');
    if (dot != std::string::npos)
        name = name.substr(0, dot);
    if (name.rfind("lib", 0) == 0 && name.size() > 3)
        name = name.substr(3);
    return name;
}

// Scoped marker for the plug-in whose entry point is running.
struct ActivePlugin {
    explicit ActivePlugin(Plugin* plugin) : previous(activePlugin) { activePlugin = plugin; }
    ~ActivePlugin() { activePlugin = previous; }
    Plugin* previous;
};
} // namespace

Plugin* Plugin::active() {
    return activePlugin;
}
void Plugin::setActive(Plugin* plugin) {
    activePlugin = plugin;
}

bool Plugin::owns(const void* address) const {
    Dl_info info;
    return base && address && dladdr(address, &info) && info.dli_fbase == base;
}

PluginManager& PluginManager::instance() {
    static PluginManager manager;
    return manager;
}

Plugin* PluginManager::find(const std::string& nameOrPath) const {
    for (const auto& plugin : plugins_)
        if (plugin->path == nameOrPath || plugin->name == nameOrPath ||
            plugin->name == baseName(nameOrPath))
            return plugin.get();
    return nullptr;
}

std::vector<Plugin*> PluginManager::loaded() const {
    std::vector<Plugin*> all;
    for (const auto& plugin : plugins_)
        all.push_back(plugin.get());
    return all;
}

MStatus PluginManager::load(const std::string& path, std::string* error) {
    if (find(path)) {
        *error = "Plug-in " + path + " is already loaded.";
        return MS::kFailure;
    }
    // A path naming a file must name a regular file: dlopen would block on a FIFO forever.
    // (A bare name is looked up on the library path by dlopen itself.)
    if (path.find('/') != std::string::npos) {
        std::string why;
        const int fd = openRegularFile(path, &why);
        if (fd < 0) {
            *error = "Cannot load plug-in " + path + ": " + why + ".";
            return MS::kFailure;
        }
        close(fd);
    }
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* reason = dlerror();
        *error = "Cannot load plug-in " + path + ": " + (reason ? reason : "unknown error") + ".";
        return MS::kFailure;
    }
    auto initialize = reinterpret_cast<EntryFunction>(dlsym(handle, "initializePlugin"));
    auto uninitialize = reinterpret_cast<EntryFunction>(dlsym(handle, "uninitializePlugin"));
    auto apiVersion = static_cast<const char*>(dlsym(handle, "MApiVersion"));
    if (!initialize || !uninitialize || !apiVersion) {
        *error = "Cannot load plug-in " + path + ": it does not export " +
                 (!initialize     ? "initializePlugin"
                  : !uninitialize ? "uninitializePlugin"
                                  : "MApiVersion") +
                 "; it is not a Maya plug-in.";
        dlclose(handle);
        return MS::kFailure;
    }
    auto plugin = std::make_shared<Plugin>();
    plugin->path = path;
    plugin->name = baseName(path);
    plugin->handle = handle;
    plugin->apiVersion = std::string(apiVersion, strnlen(apiVersion, 16));
    Dl_info info;
    if (dladdr(reinterpret_cast<void*>(initialize), &info))
        plugin->base = info.dli_fbase;
    plugins_.push_back(plugin);

    MStatus status;
    {
        ActivePlugin scope(plugin.get());
        status = initialize(MObject(plugin));
    }
    if (!status) {
        *error = "initializePlugin function failed in " + path + ".";
        dropLeftovers(*plugin);
        plugins_.erase(std::find(plugins_.begin(), plugins_.end(), plugin));
        dlclose(handle);
        return MS::kFailure;
    }
    return MS::kSuccess;
}

MStatus PluginManager::unload(const std::string& nameOrPath, std::string* error) {
    Plugin* found = find(nameOrPath);
    if (!found) {
        *error = "Plug-in " + nameOrPath + " is not loaded.";
        return MS::kFailure;
    }
    std::shared_ptr<Plugin> plugin;
    for (const auto& p : plugins_)
        if (p.get() == found)
            plugin = p;
    for (Node* node : Graph::instance().nodes())
        if (node->type()->plugin == found) {
            *error = "Cannot unload plug-in " + plugin->name + ": node " + node->name() +
                     " of type " + node->type()->name + " is still in the scene.";
            return MS::kFailure;
        }
    auto uninitialize =
        reinterpret_cast<EntryFunction>(dlsym(plugin->handle, "uninitializePlugin"));
    MStatus status;
    {
        ActivePlugin scope(plugin.get());
        status = uninitialize(MObject(plugin));
    }
    if (!status)
        MGlobal::displayWarning(MString("uninitializePlugin function failed in ") +
                                plugin->path.c_str() + ".");
    dropLeftovers(*plugin);
    plugins_.erase(std::find(plugins_.begin(), plugins_.end(), plugin));
    dlclose(plugin->handle);
    plugin->handle = nullptr;
    return MS::kSuccess;
}

void PluginManager::unloadAll() {
    while (!plugins_.empty()) {
        std::string error;
        if (!unload(plugins_.back()->path, &error)) {
            MGlobal::displayError(error.c_str());
            // Leave it loaded: closing a library whose nodes exist would crash.
            break;
        }
    }
}

// Types and callbacks a plug-in left behind would point into a closed library: drop them.
void PluginManager::dropLeftovers(Plugin& plugin) {
    TypeRegistry& types = TypeRegistry::instance();
    std::string ignored;
    for (NodeType* type : types.nodeTypes())
        if (type->plugin == &plugin) {
            MGlobal::displayWarning(MString("Plug-in ") + plugin.name.c_str() + " left node type " +
                                    type->name.c_str() + " registered; deregistering it.");
            types.deregisterNode(type->id, &ignored);
        }
    for (DataType* type : types.dataTypes())
        if (type->plugin == &plugin) {
            MGlobal::displayWarning(MString("Plug-in ") + plugin.name.c_str() + " left data type " +
                                    type->name.c_str() + " registered; deregistering it.");
            types.deregisterData(type->id, &ignored);
        }
    const std::vector<std::string> commands = plugin.commands;
    for (const std::string& command : commands) {
        MGlobal::displayWarning(MString("Plug-in ") + plugin.name.c_str() + " left command " +
                                command.c_str() + " registered; deregistering it.");
        deregisterPluginCommand(plugin, command, &ignored);
    }
    CallbackRegistry::instance().removeOwnedBy(&plugin);
}

} // namespace host
