// quillo batch: opens a scene (as safely as every command does), runs the user's own MEL
// commands on it in order (fully trusted: they are the user's, not the file's), then saves,
// renders and exports the result in the same run, through the same code as the other commands.

#include "commandLine.h"
#include "commands.h"
#include "exitCodes.h"
#include "programPaths.h"
#include "progressBar.h"
#include "sceneInputs.h"
#include "sceneWork.h"
#include "session.h"

#include <host/mel.h>
#include <host/scene.h>

#include <iostream>

namespace quillo {

namespace {

// A command as the bar shows it: its first line, cut short.
std::string shortened(const std::string& command) {
    std::string text = command.substr(0, command.find('\n'));
    return text.size() > 40 ? text.substr(0, 37) + "..." : text;
}

// The scene may be saved over itself (it has been read), never over another file it reads.
int refuseSavingOverInput(ProgressBar& bar, const std::string& saveAs, const std::string& scene) {
    std::vector<SceneInput> inputs = sceneInputs(scene);
    inputs.erase(inputs.begin());
    const std::string clash = outputIsInput(saveAs, inputs);
    if (clash.empty())
        return 0;
    bar.clear();
    std::cerr << "quillo batch: " << clash << "; nothing was written\n";
    return kExitWriteFailed;
}

} // namespace

int batchCommand(const std::vector<std::string>& arguments) {
    CommandLine line("batch", arguments);
    std::string scene, saveAs, plugin = defaultPluginPath();
    std::vector<std::string> commands;
    RenderJob render;
    ExportJob exported;
    FrameChoice frames;
    while (line.more()) {
        const std::string& argument = line.next();
        std::string value;
        if (takeFrameOption(line, argument, frames) || takeRenderOption(line, argument, render) ||
            takeExportOption(line, argument, exported))
            continue;
        if (argument == "-c" || argument == "--command") {
            if (line.value(argument, value))
                commands.push_back(value);
        } else if (argument == "--save") {
            line.value(argument, saveAs);
        } else if (argument == "--render") {
            line.value(argument, render.output);
        } else if (argument == "--export") {
            line.value(argument, exported.output);
        } else {
            line.sceneArgument(argument, scene, plugin);
        }
    }
    if (scene.empty())
        line.error("no scene file given");
    if (!exported.output.empty())
        checkExportJob(line, exported);
    for (const std::string* output : {&render.output, &exported.output})
        if (!output->empty())
            checkFrameOutput(line, frames, *output);
    if (frames.given && render.output.empty() && exported.output.empty())
        line.error("--frames and --frame need --render or --export");
    if (line.failed())
        return line.usageExit();

    ProgressBar bar;
    SceneOpened opened = SceneOpened::kClean;
    if (const int stop = startScene(bar, plugin, scene, opened))
        return stop;
    std::vector<std::string> outputs;
    for (const std::string* output : {&render.output, &exported.output})
        if (!output->empty())
            for (const std::string& file : frameOutputs(frames, *output))
                outputs.push_back(file);
    if (const int stop = refuseInputAsOutput(bar, "batch", outputs, scene))
        return stop;
    if (!saveAs.empty())
        if (const int stop = refuseSavingOverInput(bar, saveAs, scene))
            return stop;

    for (const std::string& command : commands) {
        bar.stage("running " + shortened(command));
        if (!host::melExecute(command)) {
            bar.clear();
            std::cerr << "quillo batch: the command '" << command
                      << "' failed; nothing was saved, rendered or exported\n";
            return kExitCommandFailed;
        }
    }
    bar.clear();
    if (!saveAs.empty()) {
        bar.stage("saving " + saveAs);
        const bool saved = host::Scene::current().saveFile(saveAs);
        bar.clear();
        if (!saved)
            return kExitWriteFailed;
        std::cout << "Wrote " << saveAs << "\n";
    }
    if (!render.output.empty())
        if (const int stop = renderOpenScene(bar, render, frames))
            return stop;
    if (!exported.output.empty())
        if (const int stop = exportOpenScene(bar, exported, frames, scene))
            return stop;
    return opened == SceneOpened::kClean ? kExitSuccess : kExitSceneFailed;
}

} // namespace quillo
