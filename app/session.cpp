#include "session.h"

#include "exitCodes.h"
#include "programPaths.h"
#include "progressBar.h"

#include <host/messages.h>
#include <host/scene.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>

namespace quillo {

bool loadPlugin(const std::string& path) {
    return host::Scene::current().loadPlugin(path);
}

SceneOpened openScene(const std::string& path) {
    // Asked first so that the message names the file and says why, whatever the reader says.
    struct stat info;
    const char* problem = nullptr;
    if (stat(path.c_str(), &info) != 0)
        problem = std::strerror(errno);
    else if (S_ISDIR(info.st_mode))
        problem = "it is a folder";
    else if (!std::ifstream(path))
        problem = std::strerror(errno);
    if (problem) {
        std::cerr << "quillo: cannot read the scene '" << path << "': " << problem << "\n";
        return SceneOpened::kUnreadable;
    }
    // Errors shown while reading count too, whatever status the reader gives.
    const size_t errorsBefore = host::displayedErrorCount();
    const bool read = host::Scene::current().openFile(path);
    return read && host::displayedErrorCount() == errorsBefore ? SceneOpened::kClean
                                                               : SceneOpened::kWithErrors;
}

int startScene(ProgressBar& bar, const std::string& plugin, const std::string& scene,
               SceneOpened& opened) {
    bar.stage("loading " + pluginName(plugin));
    if (!loadPlugin(plugin))
        return kExitPluginFailed;
    bar.stage("reading " + scene);
    opened = openScene(scene);
    return opened == SceneOpened::kUnreadable ? kExitSceneFailed : 0;
}

} // namespace quillo
