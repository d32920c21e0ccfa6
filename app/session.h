#pragma once
// What the scene commands share: loading the plug-in build the scene needs, and opening the
// scene file.

#include <string>

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

} // namespace quillo
