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
// quillo info SCENE.ma [--build] [--plugin PATH] : the scene's nodes and their types, or with
// --build what each feather node and system builds.
int infoCommand(const std::vector<std::string>& arguments);
// quillo export SCENE.ma -o FILE [--format json|rib|obj] [--part K/N] [--node NAME]
// [--plugin PATH] : every feather of the scene (or one part, or one node's) as JSON, RIB or OBJ.
int exportCommand(const std::vector<std::string>& arguments);
// quillo join PART... -o FILE : the parts of a split export as the whole export's file.
int joinCommand(const std::vector<std::string>& arguments);
// quillo batch SCENE.ma [-c MEL]... [--save OUT.ma] [--render OUT.png ...] [--export FILE ...]
// : the scene changed by the user's MEL commands, then saved, rendered and exported.
int batchCommand(const std::vector<std::string>& arguments);

} // namespace quillo
