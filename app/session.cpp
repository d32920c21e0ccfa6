#include "session.h"

#include "exitCodes.h"
#include "programPaths.h"
#include "progressBar.h"
#include "sceneInputs.h"

#include <host/messages.h>
#include <host/scene.h>

#include <iostream>

namespace quillo {

bool loadPlugin(const std::string& path) {
    return host::Scene::current().loadPlugin(path);
}

SceneOpened openScene(const std::string& path) {
    // Errors shown while reading count too, whatever status the reader gives. A file that
    // cannot be read at all (missing, a folder, a FIFO, binary) is named by the reader.
    const size_t errorsBefore = host::displayedErrorCount();
    if (!host::Scene::current().openFile(path))
        return SceneOpened::kUnreadable;
    return host::displayedErrorCount() == errorsBefore ? SceneOpened::kClean
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

int refuseInputAsOutput(ProgressBar& bar, const std::string& command,
                        const std::vector<std::string>& outputs, const std::string& scene) {
    const std::vector<SceneInput> inputs = sceneInputs(scene);
    for (const std::string& output : outputs) {
        const std::string clash = outputIsInput(output, inputs);
        if (clash.empty())
            continue;
        bar.clear();
        std::cerr << "quillo " << command << ": " << clash << "; nothing was written\n";
        return kExitWriteFailed;
    }
    return 0;
}

} // namespace quillo
