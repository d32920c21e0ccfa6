// quillo render: draws a scene as the viewport shows it (wireframes of surfaces and meshes, then
// every locator's own draw, the feathers among them) and writes the picture as a PNG.

#include "commandLine.h"
#include "commands.h"
#include "exitCodes.h"
#include "featherBuilds.h"
#include "frameLoop.h"
#include "programPaths.h"
#include "progressBar.h"
#include "sceneWork.h"
#include "session.h"

#include "export/outputFile.h"

#include <host/image.h>
#include <host/viewport.h>

#include <iostream>
#include <vector>

namespace quillo {

namespace {

// The image as a PNG file, written whole or not at all (export/outputFile.h).
bool writeImage(const std::string& file, const host::Image& image, std::string* why) {
    std::vector<unsigned char> png;
    return host::encodePng(image, png, why) &&
           writeFileAtomically(
               file, false,
               [&png](std::ostream& out) {
                   return out
                       .write(reinterpret_cast<const char*>(png.data()),
                              static_cast<std::streamsize>(png.size()))
                       .good();
               },
               why);
}

} // namespace

bool takeRenderOption(CommandLine& line, const std::string& argument, RenderJob& job) {
    std::string value;
    if (argument == "--size") {
        if (line.value(argument, value) &&
            (!parseSize(value, job.settings.width, job.settings.height) ||
             job.settings.width > host::maxViewSize || job.settings.height > host::maxViewSize))
            line.error("--size takes WIDTHxHEIGHT, each from 1 to " +
                       std::to_string(host::maxViewSize) + ", not '" + value + "'");
    } else if (argument == "--camera") {
        line.value(argument, job.settings.camera);
    } else if (argument == "--shaded") {
        job.settings.style = M3dView::kFlatShaded;
    } else {
        return false;
    }
    return true;
}

int renderOpenScene(ProgressBar& bar, const RenderJob& job, const FrameChoice& frames) {
    for (size_t pass = 0; pass < frames.passes(); ++pass) {
        const std::string file = startFramePass(frames, pass, job.output);
        // Built before drawing so that the nodes that fail are known; drawing shows the rest.
        bar.stage(framePassLabel(frames, pass, "building feathers"), pass, frames.passes());
        const FeatherBuildReport built = buildFeatherHolders(bar, FeatherDepth::kBuilt);
        bar.stage(framePassLabel(frames, pass, "drawing"), pass, frames.passes());
        host::Image image;
        const MStatus drawn = host::renderView(job.settings, image, [&bar](int done, int total) {
            bar.update(static_cast<double>(done) / total);
        });
        if (!drawn)
            return kExitDrawFailed;
        bar.stage(framePassLabel(frames, pass, "writing " + file), pass, frames.passes());
        std::string why;
        const bool written = writeImage(file, image, &why);
        bar.clear();
        if (!written) {
            std::cerr << "quillo render: cannot write '" << file << "': " << why << "\n";
            return kExitWriteFailed;
        }
        std::cout << "Wrote " << file << " (" << image.width << "x" << image.height << ")"
                  << std::endl;
        if (built.failed()) {
            // The image is written all the same, showing what did build; as with export, the
            // range stops at the frame that failed and the exit code says so.
            std::cerr << built.summary() << "; " << file << " shows the others\n";
            return kExitBuildFailed;
        }
    }
    return 0;
}

int renderCommand(const std::vector<std::string>& arguments) {
    CommandLine line("render", arguments);
    std::string scene, plugin = defaultPluginPath();
    RenderJob job;
    FrameChoice frames;
    while (line.more()) {
        const std::string& argument = line.next();
        if (takeFrameOption(line, argument, frames) || takeRenderOption(line, argument, job)) {
            continue;
        } else if (argument == "-o" || argument == "--output") {
            line.value(argument, job.output);
        } else {
            line.sceneArgument(argument, scene, plugin);
        }
    }
    if (scene.empty())
        line.error("no scene file given");
    else if (job.output.empty())
        line.error("no output image given (-o OUT.png)");
    checkFrameOutput(line, frames, job.output);
    if (line.failed())
        return line.usageExit();

    ProgressBar bar;
    SceneOpened opened = SceneOpened::kClean;
    if (const int stop = startScene(bar, plugin, scene, opened))
        return stop;
    if (const int stop =
            refuseInputAsOutput(bar, "render", frameOutputs(frames, job.output), scene))
        return stop;
    if (const int stop = renderOpenScene(bar, job, frames))
        return stop;
    return opened == SceneOpened::kClean ? kExitSuccess : kExitSceneFailed;
}

} // namespace quillo
