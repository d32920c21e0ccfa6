// quillo plugins: loads each plug-in build the way Maya does, reports what it registered, and
// unloads it (one build at a time, as each Maya version loads only its own).

#include "commandLine.h"
#include "commands.h"
#include "exitCodes.h"
#include "programPaths.h"
#include "session.h"

#include <host/scene.h>

#include <iostream>

namespace quillo {

namespace {

void listTypes(const std::string& plugin) {
    host::Scene& scene = host::Scene::current();
    host::Scene::PluginInfo info;
    if (scene.pluginInfo(plugin, info))
        std::cout << plugin << " " << info.version << " by " << info.vendor << ", built for API "
                  << info.apiVersion << " (requires " << info.requiredApiVersion << ")\n";
    std::vector<std::string> nodes = scene.pluginNodeTypes(plugin);
    std::vector<std::string> data = scene.pluginDataTypes(plugin);
    std::cout << plugin << " registered " << nodes.size() << " node types:";
    for (const std::string& name : nodes)
        std::cout << " " << name;
    std::cout << "\n" << plugin << " registered " << data.size() << " data types:";
    for (const std::string& name : data)
        std::cout << " " << name;
    std::cout << std::endl;
}

} // namespace

int pluginsCommand(const std::vector<std::string>& arguments) {
    CommandLine line("plugins", arguments);
    std::vector<std::string> plugins;
    while (line.more()) {
        const std::string& argument = line.next();
        std::string value;
        if (argument == "--plugin" && line.value(argument, value))
            plugins.push_back(value);
        else if (argument != "--plugin")
            line.error("unexpected argument '" + argument + "'");
    }
    if (line.failed())
        return line.usageExit();
    if (plugins.empty())
        plugins.push_back(defaultPluginPath());

    host::Scene& scene = host::Scene::current();
    int result = kExitSuccess;
    for (const std::string& path : plugins) {
        if (!loadPlugin(path)) {
            result = kExitPluginFailed;
            continue;
        }
        listTypes(pluginName(path));
        if (plugins.size() > 1 && !scene.unloadPlugin(pluginName(path)))
            result = kExitPluginFailed;
    }
    return result;
}

} // namespace quillo
