#pragma once
// Reading Maya ASCII files: the commands of the file run one by one through the scene commands
// (sceneCommands.h). A command that fails is reported with the file and line, and reading goes
// on with the next, as Maya does.

#include <string>

namespace host {

// The text of a scene file; false with `error` naming the file and saying what is wrong when it
// cannot be read or is not text (a binary scene, for one).
bool readSceneText(const std::string& path, std::string& text, std::string& error);

// Runs the commands of a file's text into the current scene. Returns the number of errors
// reported. With importing, the scene's own units, file information and name stay.
int readScene(const std::string& path, const std::string& text, bool importing);

} // namespace host
