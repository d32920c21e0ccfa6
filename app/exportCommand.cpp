// quillo export: opens a scene, evaluates every feather holder (the plug whose compute builds
// a feather node's feathers or prepares a system's build) and writes their feathers, as JSON,
// RIB or OBJ, through the plug-in's quilloExportFeathers command, as a user or the render
// scripts would inside Maya. A system's feathers are built while they are written, a chunk at a
// time. --part K/N writes one part of a split job, --node NAME one node.

#include "commandLine.h"
#include "commands.h"
#include "exitCodes.h"
#include "featherBuilds.h"
#include "frameLoop.h"
#include "programPaths.h"
#include "progressBar.h"
#include "session.h"

#include "export/exportPart.h"

#include <host/mel.h>
#include <host/scene.h>

#include <iostream>

namespace quillo {

int exportCommand(const std::vector<std::string>& arguments) {
    CommandLine line("export", arguments);
    std::string scenePath, output, format = "json", plugin = defaultPluginPath();
    std::string partText, node;
    FrameChoice frames;
    while (line.more()) {
        const std::string& argument = line.next();
        if (takeFrameOption(line, argument, frames))
            continue;
        if (argument == "-o" || argument == "--output")
            line.value(argument, output);
        else if (argument == "--format")
            line.value(argument, format);
        else if (argument == "--part")
            line.value(argument, partText);
        else if (argument == "--node")
            line.value(argument, node);
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
    exportPart part;
    if (!partText.empty() && !parseExportPart(partText, part))
        line.error("--part takes K/N, whole numbers with 0 <= K < N <= " +
                   std::to_string(maxExportParts) + " (not '" + partText + "')");
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
    if (!node.empty() && !isFeatherHolder(node)) {
        bar.clear();
        std::cerr << "quillo export: " << scenePath << " has no feather node or system named '"
                  << node << "'\n";
        return kExitUsage;
    }

    // One pass per frame; a frame that fails stops the range, the frames before it written.
    for (size_t pass = 0; pass < frames.passes(); ++pass) {
        const std::string file = startFramePass(frames, pass, output);
        bar.stage(framePassLabel(frames, pass, "building feathers"), pass, frames.passes());
        const FeatherBuildReport built = buildFeatherHolders(bar, FeatherDepth::kEvaluated, node);
        if (built.failed()) {
            // A partial export must not replace a good one: the file is left as it was.
            bar.clear();
            std::cerr << built.summary() << "; " << file << " was not written\n";
            return kExitBuildFailed;
        }

        bar.stage(framePassLabel(frames, pass, "writing " + file), pass, frames.passes());
        host::MelValue written;
        std::string command =
            "quilloExportFeathers -format " + format + " -file " + melQuoted(file);
        if (!part.whole())
            command += " -part " + melQuoted(partText);
        if (!node.empty())
            command += " -node " + melQuoted(node);
        const MStatus exported = host::melExecute(command, &written);
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
