// quillo: runs the plug-in without Maya. It loads a plug-in build the way Maya does and, for
// now, reports what the build registered, then exits (which unloads it).

#include <host/mel.h>
#include <host/scene.h>

#include <maya/MGlobal.h>

#include <cstring>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const char* const usage =
    "usage: quillo [--plugin PATH]... [--scripts DIR]\n"
    "\n"
    "Loads each plug-in build (by default quillo2013 from the lib/ folder beside the\n"
    "program), lists the node and data types it registered, and unloads it on exit.\n"
    "  --plugin PATH   a plug-in build to load (repeat to load several in turn)\n"
    "  --scripts DIR   an extra folder on the MEL script path\n"
    "  --help          this text\n";

// The folder the program itself lives in.
std::string programDirectory() {
    std::vector<char> buffer(4096);
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0)
        return ".";
    std::string path(buffer.data(), static_cast<size_t>(length));
    return path.substr(0, path.find_last_of('/'));
}

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

std::string pluginName(const std::string& path) {
    std::string name = path.substr(path.find_last_of('/') + 1);
    return name.substr(0, name.find('.'));
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> plugins;
    std::string home = programDirectory();
    host::addScriptPath(home + "/../scripts");
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if ((arg == "--plugin" || arg == "--scripts") && i + 1 < argc) {
            std::string value = argv[++i];
            if (arg == "--plugin")
                plugins.push_back(value);
            else
                host::addScriptPath(value);
        } else if (arg == "--help" || arg == "-h") {
            std::cout << usage;
            return 0;
        } else {
            std::cerr << "quillo: unexpected argument '" << arg << "'\n" << usage;
            return 2;
        }
    }
    if (plugins.empty())
        plugins.push_back(home + "/../lib/quillo2013.so");

    host::Scene& scene = host::Scene::current();
    int result = 0;
    for (const std::string& path : plugins) {
        if (!scene.loadPlugin(path)) {
            result = 1;
            continue;
        }
        listTypes(pluginName(path));
        // One build at a time, as each Maya version loads only its own.
        if (plugins.size() > 1 && !scene.unloadPlugin(pluginName(path)))
            result = 1;
    }
    scene.exit();
    return result;
}
