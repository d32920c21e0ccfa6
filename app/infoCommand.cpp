// quillo info: the nodes of a scene and their types, in the order the scene holds them. DAG
// nodes are shown by their full path (|parent|child), others by name. With --build, instead:
// every feather node and system is built, one after another in scene order, as drawing would
// build it, and each is listed with its feathers, barbule points, build time and the memory its
// feathers hold; nothing is written.

#include "commandLine.h"
#include "commands.h"
#include "exitCodes.h"
#include "featherBuilds.h"
#include "programPaths.h"
#include "progressBar.h"
#include "session.h"

#include <host/mel.h>
#include <host/messages.h>
#include <host/scene.h>

#include <maya/MObject.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <utility>

namespace quillo {

namespace {

std::string megabytes(double bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", bytes / 1e6);
    return text;
}

std::string seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f s", value);
    return text;
}

// Builds each feather node and system through the plug-in's quilloBuildReport and prints a
// table of what each holds.
int buildReport(ProgressBar& bar, SceneOpened opened) {
    struct row {
        std::string node, type, feathers, points, time, memory;
    };
    std::vector<row> rows = {
        {"node", "type", "feathers", "barbule points", "build time", "memory held"}};
    FeatherBuildReport report;
    const std::vector<std::string> holders = featherHolderNames();
    report.holders = static_cast<int>(holders.size());
    double totalSeconds = 0.0, totalBytes = 0.0;
    bar.stage("building feathers");
    for (size_t i = 0; i < holders.size(); ++i) {
        host::MessageCapture capture(bar.shown() ? host::MessageCapture::Echo::kSilent
                                                 : host::MessageCapture::Echo::kPassThrough);
        host::MelValue result;
        const auto start = std::chrono::steady_clock::now();
        const bool built = host::melExecute("quilloBuildReport " + melQuoted(holders[i]), &result);
        const double elapsed =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const std::vector<std::string> errors = capture.texts(host::MessageKind::kError);
        if (!built || !errors.empty())
            report.failures.push_back(
                {holders[i], errors.empty() ? "it could not be built" : errors.front()});
        const std::vector<double> values = result.asFloatArray();
        const auto value = [&](size_t k) { return k < values.size() ? values[k] : 0.0; };
        rows.push_back({holders[i], host::Scene::current().typeOf(holders[i]),
                        std::to_string(static_cast<long long>(value(0))),
                        std::to_string(static_cast<long long>(value(1))), seconds(elapsed),
                        megabytes(value(2))});
        totalSeconds += elapsed;
        totalBytes += value(2);
        bar.update(static_cast<double>(i + 1) / static_cast<double>(holders.size()));
    }
    bar.clear();

    size_t widths[6] = {};
    for (const row& r : rows) {
        const std::string* cells[6] = {&r.node,   &r.type, &r.feathers,
                                       &r.points, &r.time, &r.memory};
        for (size_t c = 0; c < 6; ++c)
            widths[c] = std::max(widths[c], cells[c]->size());
    }
    for (const row& r : rows) {
        const std::string* cells[6] = {&r.node,   &r.type, &r.feathers,
                                       &r.points, &r.time, &r.memory};
        for (size_t c = 0; c < 6; ++c) {
            const std::string pad(widths[c] - cells[c]->size(), ' ');
            // Names left-aligned, numbers right-aligned.
            std::cout << (c < 2 ? *cells[c] + pad : pad + *cells[c]) << (c < 5 ? "  " : "\n");
        }
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::cout << holders.size()
              << (holders.size() == 1 ? " feather node or system" : " feather nodes and systems")
              << " built in " << seconds(totalSeconds) << ", holding " << megabytes(totalBytes)
              << "; peak memory of the process "
              << megabytes(1024.0 * static_cast<double>(usage.ru_maxrss)) << "\n";
    if (report.failed()) {
        std::cerr << report.summary() << "\n";
        return kExitBuildFailed;
    }
    return opened == SceneOpened::kClean ? kExitSuccess : kExitSceneFailed;
}

} // namespace

int infoCommand(const std::vector<std::string>& arguments) {
    CommandLine line("info", arguments);
    std::string scenePath, plugin = defaultPluginPath();
    bool build = false;
    while (line.more()) {
        const std::string& argument = line.next();
        if (argument == "--build")
            build = true;
        else
            line.sceneArgument(argument, scenePath, plugin);
    }
    if (scenePath.empty())
        line.error("no scene file given");
    if (line.failed())
        return line.usageExit();

    ProgressBar bar;
    SceneOpened opened = SceneOpened::kClean;
    if (const int stop = startScene(bar, plugin, scenePath, opened))
        return stop;
    if (build)
        return buildReport(bar, opened);
    bar.clear();

    host::Scene& scene = host::Scene::current();
    std::vector<std::pair<std::string, std::string>> rows;
    size_t width = 0;
    for (const std::string& node : scene.nodeNames()) {
        rows.emplace_back(scene.fullPathOf(node), scene.typeOf(node));
        width = std::max(width, rows.back().first.size());
    }
    for (const auto& [name, type] : rows)
        std::cout << name << std::string(width + 2 - name.size(), ' ') << type << "\n";
    std::cout << rows.size() << (rows.size() == 1 ? " node" : " nodes") << " in " << scenePath
              << "\n";
    return opened == SceneOpened::kClean ? kExitSuccess : kExitSceneFailed;
}

} // namespace quillo
