#pragma once
// The quillo program's commands. Each takes the arguments after its name and returns the
// program's exit code (exitCodes.h).

#include <string>
#include <vector>

namespace quillo {

// quillo plugins [--plugin PATH]... : loads each build in turn, lists what it registered.
int pluginsCommand(const std::vector<std::string>& arguments);
// quillo render SCENE.ma -o OUT.png [--size WxH] [--camera NAME] [--shaded] [--plugin PATH]
int renderCommand(const std::vector<std::string>& arguments);
// quillo info SCENE.ma [--plugin PATH] : the scene's nodes and their types.
int infoCommand(const std::vector<std::string>& arguments);
// quillo export SCENE.ma -o FILE [--format json|rib|obj] [--plugin PATH] : every feather of
// the scene as JSON, RIB or OBJ.
int exportCommand(const std::vector<std::string>& arguments);

} // namespace quillo
