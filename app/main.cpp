// quillo: runs the plug-in without Maya. It loads a plug-in build the way Maya does, then runs
// one command: list what the build registered, draw a scene to a PNG, list a scene's nodes, or
// export its feathers as JSON, RIB or OBJ.
// Leaving the program empties the scene, sends kMayaExiting and unloads the plug-in.

#include "commands.h"
#include "exitCodes.h"
#include "exitOnSignal.h"
#include "programPaths.h"

#include "feather/buildWorkers.h"

#include <host/mel.h>
#include <host/scene.h>

#include <cstdlib>
#include <iostream>
#include <new>
#include <string>
#include <vector>

namespace {

const char* const usage =
    "usage: quillo [COMMAND] [ARGUMENTS] [--plugin PATH] [--scripts DIR] [--trust-scene]\n"
    "              [--reference-path DIR] [--workers N]\n"
    "\n"
    "Commands:\n"
    "  render SCENE.ma -o OUT.png [--size WxH] [--camera NAME] [--shaded] [FRAMES]\n"
    "                  draw the scene as Maya's viewport shows it (surfaces and meshes as\n"
    "                  wireframes, then each locator's own drawing) and write a PNG;\n"
    "                  640x480 by default, through the camera named (a camera shape or its\n"
    "                  transform), else the scene's persp camera, else one that frames all\n"
    "  info SCENE.ma [--build]\n"
    "                  list the scene's nodes (DAG nodes by full path) and their types;\n"
    "                  with --build, build every feather node and system and list each\n"
    "                  one's feathers, barbule points, build time and memory held\n"
    "  export SCENE.ma -o FILE [--format json|rib|obj] [--part K/N] [--node NAME] [FRAMES]\n"
    "                  build every feather of the scene and write them all: json (the\n"
    "                  default: rachis, barbules, normals, thickness, colours, boxes, meshes\n"
    "                  when built), rib (RenderMan curves and meshes, following the scene's\n"
    "                  quilloGlobals node) or obj (Wavefront polylines and meshes).\n"
    "                  --part K/N writes only part K (0 to N-1) of N: the K-th slice of\n"
    "                  every node's feathers; --node NAME writes only that node\n"
    "  join PART... -o FILE\n"
    "                  put the parts of a split export back together: json and obj into\n"
    "                  the file the whole export writes, rib into a main file that reads\n"
    "                  each part as a delayed archive\n"
    "  batch SCENE.ma [-c MEL]... [--save OUT.ma] [--render OUT.png [--size WxH]\n"
    "                  [--camera NAME] [--shaded]] [--export FILE [--format F] [--part K/N]\n"
    "                  [--node NAME]] [FRAMES]\n"
    "                  open the scene (as safely as every command), run each MEL command\n"
    "                  in order (the user's own: fully trusted, plug-in commands and the\n"
    "                  Quillo menu's procedures included), then save the scene, render it\n"
    "                  and export its feathers, as render and export do; --save may\n"
    "                  write over the scene itself, never over a file the scene reads\n"
    "  plugins         load each plug-in build in turn, list the node and data types it\n"
    "                  registered and unload it (what quillo does with no command)\n"
    "\n"
    "Options:\n"
    "  --plugin PATH   the plug-in build to load, by default quillo2013 from the lib/\n"
    "                  folder beside the program (plugins: repeat to load several)\n"
    "  --scripts DIR   an extra folder on the MEL script path\n"
    "  --trust-scene   run everything the scene file holds, as Maya does (plug-in\n"
    "                  commands, eval, source, procedures). Without it a scene runs only\n"
    "                  the commands that describe it and the rest is skipped with a\n"
    "                  warning. A trusted scene can write files and run any command:\n"
    "                  use it only for files from a source you trust\n"
    "  --reference-path DIR\n"
    "                  a folder where the files a scene references are looked for, after\n"
    "                  the folders of the scene and of the referencing file and before\n"
    "                  those of QUILLO_REFERENCE_PATH (repeat for several); a folder also\n"
    "                  finds a reference by its file name alone\n"
    "  --shaded        draw locators with the flat-shaded display style, not wireframe\n"
    "  --frames A:B[:STEP], --frame F (FRAMES)\n"
    "                  render or export at each frame from A to B (every STEP, 1 by\n"
    "                  default), or at frame F, one file per frame: the last run of #\n"
    "                  in the output's file name takes the frame number, zero-padded to\n"
    "                  its length (out.####.rib: out.0012.rib); a file per frame is the\n"
    "                  same whatever range or order it was made in. Without them, the\n"
    "                  scene's saved time\n"
    "  --workers N     build feathers on N threads, 1 to 1024 (1: one after another); by\n"
    "                  default QUILLO_WORKERS when set, else one per hardware thread. The\n"
    "                  feathers are the same for any N\n"
    "  --help          this text\n"
    "\n"
    "Environment:\n"
    "  QUILLO_WORKERS     the build threads when --workers is not given\n"
    "  QUILLO_MAX_POINTS  the build budget: the most points one feather node or feather\n"
    "                     system may build (default 250000000)\n"
    "  QUILLO_REFERENCE_PATH  folders where referenced files are looked for, ':' between\n"
    "                     them (after --reference-path)\n"
    "\n"
    "Exit codes:\n"
    "  0    done\n"
    "  1    a plug-in build could not be loaded or unloaded\n"
    "  2    the command line is wrong\n"
    "  3    the scene file cannot be read, or reading it reported errors (render still\n"
    "       writes the image of what was read, info still lists it)\n"
    "  4    the view cannot be drawn (no such camera, no OpenGL context)\n"
    "  5    the output (image or export file) cannot be written, or it is one of the\n"
    "       files the scene reads; an earlier file under its name is left as it was\n"
    "  6    a feather node or system reported an error while building (a refused value,\n"
    "       a file it could not read, the build budget, memory running out): export\n"
    "       writes nothing for that frame, render writes the image of what built; the\n"
    "       range stops there and the last line names the nodes and why\n"
    "  7    join: a part cannot be read, is not a part of an export, or does not fit\n"
    "       the others (missing, twice, from another export)\n"
    "  8    batch: a -c command failed (the error above says why); nothing was saved,\n"
    "       rendered or exported\n"
    "  129  interrupted by SIGHUP, 130 by SIGINT, 143 by SIGTERM (128 + the signal's\n"
    "       number); a file being written is removed, an earlier one left as it was\n";

// A worker count: digits only, from 1 to maxBuildWorkers.
bool isWorkerCount(const std::string& text) {
    if (text.empty() || text.size() > 4 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const int count = std::stoi(text);
    return count >= 1 && count <= static_cast<int>(maxBuildWorkers);
}

} // namespace

int main(int argc, char** argv) {
    quillo::exitOnSignal();
    host::addScriptPath(quillo::programDirectory() + "/../scripts");
    // Scene commands (createNode, ls, connectAttr...) for scene files and the plug-in's menu.
    host::Scene::registerMelCommands();
    std::vector<std::string> arguments(argv + 1, argv + argc);

    // --scripts, --trust-scene, --reference-path and --workers apply to every command,
    // wherever they stand;
    // --help wins over everything.
    std::vector<std::string> rest;
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--help" || arguments[i] == "-h") {
            std::cout << usage;
            return quillo::kExitSuccess;
        }
        if (arguments[i] == "--scripts" && i + 1 < arguments.size()) {
            host::addScriptPath(arguments[++i]);
        } else if (arguments[i] == "--reference-path" && i + 1 < arguments.size()) {
            host::Scene::addReferencePath(arguments[++i]);
        } else if (arguments[i] == "--trust-scene") {
            host::Scene::setTrustScenes(true);
        } else if (arguments[i] == "--workers") {
            // Through the environment: the plug-in library reads it at every build.
            if (i + 1 >= arguments.size() || !isWorkerCount(arguments[i + 1])) {
                std::cerr << "quillo: --workers takes a whole number from 1 to " << maxBuildWorkers
                          << (i + 1 < arguments.size() ? ", not '" + arguments[i + 1] + "'" : "")
                          << "\n"
                          << usage;
                host::Scene::current().exit();
                return quillo::kExitUsage;
            }
            setenv("QUILLO_WORKERS", arguments[++i].c_str(), 1);
        } else
            rest.push_back(arguments[i]);
    }

    std::string command = "plugins";
    if (!rest.empty() && !rest.front().empty() && rest.front()[0] != '-') {
        command = rest.front();
        rest.erase(rest.begin());
    }
    int result;
    try {
        if (command == "plugins") {
            result = quillo::pluginsCommand(rest);
        } else if (command == "render") {
            result = quillo::renderCommand(rest);
        } else if (command == "info") {
            result = quillo::infoCommand(rest);
        } else if (command == "export") {
            result = quillo::exportCommand(rest);
        } else if (command == "join") {
            result = quillo::joinCommand(rest);
        } else if (command == "batch") {
            result = quillo::batchCommand(rest);
        } else {
            std::cerr << "quillo: unknown command '" << command << "'\n";
            result = quillo::kExitUsage;
        }
    } catch (const std::bad_alloc&) {
        // Builds catch their own; this is memory running out anywhere else (reading, drawing).
        std::cerr << "quillo " << command << ": out of memory\n";
        result = quillo::kExitBuildFailed;
    }
    if (result == quillo::kExitUsage)
        std::cerr << usage;
    host::Scene::current().exit();
    return result;
}
