#pragma once
// A loaded plug-in library: opened, initialised and closed the way Maya does it.

#include "graph/object.h"

#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MTypeId.h>

#include <memory>
#include <string>
#include <vector>

namespace host {

class Plugin : public Object {
  public:
    MFn::Type apiType() const override { return MFn::kPlugin; }
    const char* apiTypeStr() const override { return "kPlugin"; }

    std::string path;
    std::string name; // file name without directory and extension
    std::string vendor = "Unknown";
    std::string version = "Unknown";
    std::string requiredApiVersion = "Any";
    std::string apiVersion; // the library's exported MApiVersion
    void* handle = nullptr;
    const void* base = nullptr; // load address, to recognise the library's functions
    std::vector<MTypeId> nodeTypes, dataTypes;
    std::vector<std::string> commands; // MEL commands it registered, in order

    // True when the code address lies in this library.
    bool owns(const void* address) const;

    // The plug-in whose initializePlugin or uninitializePlugin is running, if any.
    static Plugin* active();
    static void setActive(Plugin* plugin);
};

class PluginManager {
  public:
    static PluginManager& instance();

    // Opens the library, checks MApiVersion and runs initializePlugin. On failure the error
    // names the file and nothing stays loaded.
    MStatus load(const std::string& path, std::string* error);
    // Runs uninitializePlugin and closes the library. Refused while nodes of its types exist.
    MStatus unload(const std::string& nameOrPath, std::string* error);
    void unloadAll();
    Plugin* find(const std::string& nameOrPath) const;
    std::vector<Plugin*> loaded() const;

  private:
    void dropLeftovers(Plugin& plugin);
    std::vector<std::shared_ptr<Plugin>> plugins_;
};

} // namespace host
