#pragma once
// The scene a benchmark program works on: the plug-in loaded into this process as Maya loads
// it (its MEL scripts sourced from the source tree), then a scene's text opened through a
// scratch file, as quillo opens one.

#include "plugin/plugin.h"

#include <host/mel.h>
#include <host/messages.h>
#include <host/scene.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

extern "C" MStatus initializePlugin(MObject obj);

inline host::Scene& openBenchScene(const std::string& text, const std::string& scratchFile) {
    host::MessageCapture quiet;
    host::addScriptPath(QUILLO_SOURCE_DIR "/mel");
    static MObject plugin(std::make_shared<host::Plugin>());
    host::Plugin::setActive(static_cast<host::Plugin*>(plugin.impl().get()));
    initializePlugin(plugin);
    host::Plugin::setActive(nullptr);
    host::Scene& scene = host::Scene::current();
    std::ofstream(scratchFile) << text;
    if (!scene.openFile(scratchFile))
        std::fprintf(stderr, "cannot open the bench scene: %s\n", scene.lastError().c_str());
    std::remove(scratchFile.c_str());
    return scene;
}
