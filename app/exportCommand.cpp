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
#include "sceneWork.h"
#include "session.h"

#include "export/exportPart.h"

#include <host/mel.h>
#include <host/scene.h>

#include <iostream>

namespace quillo {

bool takeExportOption(CommandLine& line, const std::string& argument, ExportJob& job) {
    if (argument == "--format")
        line.value(argument, job.format);
    else if (argument == "--part")
        line.value(argument, job.partText);
    else if (argument == "--node")
        line.value(argument, job.node);
    else
        return false;
    return true;
}

void checkExportJob(CommandLine& line, ExportJob& job) {
    if (job.format != "json" && job.format != "rib" && job.format != "obj")
        line.error("unknown format '" + job.format + "' (json, rib or obj)");
    if (!job.partText.empty() && !parseExportPart(job.partText, job.part))
        line.error("--part takes K/N, whole numbers with 0 <= K < N <= " +
                   std::to_string(maxExportParts) + " (not '" + job.partText + "')");
}

int exportOpenScene(ProgressBar& bar, const ExportJob& job, const FrameChoice& frames,
                    const std::string& scenePath) {
    if (!job.node.empty() && !isFeatherHolder(job.node)) {
        bar.clear();
        std::cerr << "quillo export: " << scenePath << " has no feather node or system named '"
                  << job.node << "'\n";
        return kExitUsage;
    }
    // One pass per frame; a frame that fails stops the range, the frames before it written.
    for (size_t pass = 0; pass < frames.passes(); ++pass) {
        const std::string file = startFramePass(frames, pass, job.output);
        bar.stage(framePassLabel(frames, pass, "building feathers"), pass, frames.passes());
        const FeatherBuildReport built =
            buildFeatherHolders(bar, FeatherDepth::kEvaluated, job.node);
        if (built.failed()) {
            // A partial export must not replace a good one: the file is left as it was.
            bar.clear();
            std::cerr << built.summary() << "; " << file << " was not written\n";
            return kExitBuildFailed;
        }

        bar.stage(framePassLabel(frames, pass, "writing " + file), pass, frames.passes());
        host::MelValue written;
        std::string command =
            "quilloExportFeathers -format " + job.format + " -file " + melQuoted(file);
        if (!job.part.whole())
            command += " -part " + melQuoted(job.partText);
        if (!job.node.empty())
            command += " -node " + melQuoted(job.node);
        const MStatus exported = host::melExecute(command, &written);
        bar.clear();
        if (!exported)
            return kExitWriteFailed;
        const int count = written.asInt();
        std::cout << "Wrote " << file << " (" << count << (count == 1 ? " feather" : " feathers")
                  << ")\n";
    }
    return 0;
}

int exportCommand(const std::vector<std::string>& arguments) {
    CommandLine line("export", arguments);
    std::string scenePath, plugin = defaultPluginPath();
    ExportJob job;
    FrameChoice frames;
    while (line.more()) {
        const std::string& argument = line.next();
        if (takeFrameOption(line, argument, frames) || takeExportOption(line, argument, job))
            continue;
        if (argument == "-o" || argument == "--output")
            line.value(argument, job.output);
        else
            line.sceneArgument(argument, scenePath, plugin);
    }
    if (scenePath.empty())
        line.error("no scene file given");
    else if (job.output.empty())
        line.error("no output file given (-o FILE)");
    else
        checkExportJob(line, job);
    checkFrameOutput(line, frames, job.output);
    if (line.failed())
        return line.usageExit();

    ProgressBar bar;
    SceneOpened opened = SceneOpened::kClean;
    if (const int stop = startScene(bar, plugin, scenePath, opened))
        return stop;
    if (const int stop =
            refuseInputAsOutput(bar, "export", frameOutputs(frames, job.output), scenePath))
        return stop;
    if (const int stop = exportOpenScene(bar, job, frames, scenePath))
        return stop;
    return opened == SceneOpened::kClean ? kExitSuccess : kExitSceneFailed;
}

} // namespace quillo
