#pragma once
// What the scene commands share: loading the plug-in build the scene needs, and opening the
// scene file.

#include <string>
#include <vector>

namespace quillo {

// Loads one plug-in build; the host reports why when it cannot.
bool loadPlugin(const std::string& path);
enum class SceneOpened { kClean, kWithErrors, kUnreadable };

// Opens a Maya ASCII scene in the host, replacing the current scene. A file that cannot be read
// at all is reported here, naming it (kUnreadable); errors inside the file are reported by the
// host's reader with the file name and line (kWithErrors: the scene holds what could be read).
SceneOpened openScene(const std::string& path);

class ProgressBar;
// Loads the plug-in build, then opens the scene, showing both stages on the bar. Returns 0, or
// the exit code the command should stop with; opened tells how the scene was read.
int startScene(ProgressBar& bar, const std::string& plugin, const std::string& scene,
               SceneOpened& opened);

// 0, or kExitWriteFailed after saying why ("quillo COMMAND: 'a.ma' is the scene being read;
// nothing was written"), when one of `outputs` is one of the files the open scene reads
// (sceneInputs.h). Asked before anything is built.
int refuseInputAsOutput(ProgressBar& bar, const std::string& command,
                        const std::vector<std::string>& outputs, const std::string& scene);

} // namespace quillo
