// quillo export: opens a scene, builds every feather holder's feathers (by evaluating the plug
// whose compute builds them) and writes them all, as JSON, RIB or OBJ, through the plug-in's
// quilloExportFeathers command, as a user or the render scripts would inside Maya.

#include "commandLine.h"
#include "commands.h"
#include "exitCodes.h"
#include "featherBuilds.h"
#include "frameLoop.h"
#include "programPaths.h"
#include "progressBar.h"
#include "session.h"

#include <host/mel.h>
#include <host/scene.h>

#include <iostream>

namespace quillo {

namespace {

// A MEL string literal holding the text.
std::string melQuoted(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

} // namespace

int exportCommand(const std::vector<std::string>& arguments) {
    CommandLine line("export", arguments);
    std::string scenePath, output, format = "json", plugin = defaultPluginPath();
    FrameChoice frames;
    while (line.more()) {
        const std::string& argument = line.next();
        if (takeFrameOption(line, argument, frames))
            continue;
        if (argument == "-o" || argument == "--output")
            line.value(argument, output);
        else if (argument == "--format")
            line.value(argument, format);
        else if (argument == "--plugin")
            line.value(argument, plugin);
        else if (!argument.empty() && argument[0] == '-')
            line.error("unknown option '" + argument + "'");
        else if (scenePath.empty())
            scenePath = argument;
        else
            line.error("one scene at a time ('" + scenePath + "', then '" + argument + "')");
    }
    if (scenePath.empty())
        line.error("no scene file given");
    else if (output.empty())
        line.error("no output file given (-o FILE)");
    else if (format != "json" && format != "rib" && format != "obj")
        line.error("unknown format '" + format + "' (json, rib or obj)");
    checkFrameOutput(line, frames, output);
    if (line.failed()) {
        std::cerr << line.message() << "\n";
        return kExitUsage;
    }

    ProgressBar bar;
    SceneOpened opened = SceneOpened::kClean;
    if (const int stop = startScene(bar, plugin, scenePath, opened))
        return stop;
    if (const int stop =
            refuseInputAsOutput(bar, "export", frameOutputs(frames, output), scenePath))
        return stop;

    // One pass per frame; a frame that fails stops the range, the frames before it written.
    for (size_t pass = 0; pass < frames.passes(); ++pass) {
        const std::string file = startFramePass(frames, pass, output);
        bar.stage(framePassLabel(frames, pass, "building feathers"), pass, frames.passes());
        const FeatherBuildReport built = buildFeatherHolders(bar);
        if (built.failed()) {
            // A partial export must not replace a good one: the file is left as it was.
            bar.clear();
            std::cerr << built.summary() << "; " << file << " was not written\n";
            return kExitBuildFailed;
        }

        bar.stage(framePassLabel(frames, pass, "writing " + file), pass, frames.passes());
        host::MelValue written;
        const MStatus exported = host::melExecute(
            "quilloExportFeathers -format " + format + " -file " + melQuoted(file), &written);
        bar.clear();
        if (!exported)
            return kExitWriteFailed;
        const int count = written.asInt();
        std::cout << "Wrote " << file << " (" << count << (count == 1 ? " feather" : " feathers")
                  << ")\n";
    }
    return opened == SceneOpened::kClean ? kExitSuccess : kExitSceneFailed;
}

} // namespace quillo
