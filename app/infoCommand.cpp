// quillo info: the nodes of a scene and their types, in the order the scene holds them. DAG
// nodes are shown by their full path (|parent|child), others by name.

#include "commandLine.h"
#include "commands.h"
#include "exitCodes.h"
#include "programPaths.h"
#include "progressBar.h"
#include "session.h"

#include <host/scene.h>

#include <maya/MObject.h>

#include <algorithm>
#include <iostream>
#include <utility>

namespace quillo {

int infoCommand(const std::vector<std::string>& arguments) {
    CommandLine line("info", arguments);
    std::string scenePath, plugin = defaultPluginPath();
    while (line.more()) {
        const std::string& argument = line.next();
        if (argument == "--plugin")
            line.value(argument, plugin);
        else if (!argument.empty() && argument[0] == '-')
            line.error("unknown option '" + argument + "'");
        else if (scenePath.empty())
            scenePath = argument;
        else
            line.error("one scene at a time ('" + scenePath + "', then '" + argument + "')");
    }
    if (scenePath.empty())
        line.error("no scene file given");
    if (line.failed()) {
        std::cerr << line.message() << "\n";
        return kExitUsage;
    }

    ProgressBar bar;
    SceneOpened opened = SceneOpened::kClean;
    if (const int stop = startScene(bar, plugin, scenePath, opened))
        return stop;
    bar.clear();

    host::Scene& scene = host::Scene::current();
    std::vector<std::pair<std::string, std::string>> rows;
    size_t width = 0;
    for (const std::string& node : scene.nodeNames()) {
        rows.emplace_back(scene.fullPathOf(node), scene.typeOf(node));
        width = std::max(width, rows.back().first.size());
    }
    for (const auto& [name, type] : rows)
        std::cout << name << std::string(width + 2 - name.size(), ' ') << type << "\n";
    std::cout << rows.size() << (rows.size() == 1 ? " node" : " nodes") << " in " << scenePath
              << "\n";
    return opened == SceneOpened::kClean ? kExitSuccess : kExitSceneFailed;
}

} // namespace quillo
