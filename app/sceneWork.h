#pragma once
// What render and export do once a scene is open, shared by quillo render, quillo export and
// quillo batch (which changes the scene first): their options, and the work itself, frame by
// frame. Each returns 0, or the exit code to stop with (exitCodes.h), having said why.

#include "frameLoop.h"

#include "export/exportPart.h"

#include <host/viewport.h>

#include <string>

namespace quillo {

class CommandLine;
class ProgressBar;

struct RenderJob {
    std::string output; // the PNG, '#' for the frame number
    host::ViewSettings settings;
};
// --size WxH, --camera NAME, --shaded: true when `argument` was one of them.
bool takeRenderOption(CommandLine& line, const std::string& argument, RenderJob& job);
int renderOpenScene(ProgressBar& bar, const RenderJob& job, const FrameChoice& frames);

struct ExportJob {
    std::string output; // '#' for the frame number
    std::string format = "json";
    std::string partText, node; // --part K/N, --node NAME; "" for all
    exportPart part;
};
// --format F, --part K/N, --node NAME: true when `argument` was one of them.
bool takeExportOption(CommandLine& line, const std::string& argument, ExportJob& job);
// Records a wrong format or part on the line; reads the part.
void checkExportJob(CommandLine& line, ExportJob& job);
int exportOpenScene(ProgressBar& bar, const ExportJob& job, const FrameChoice& frames,
                    const std::string& scenePath);

} // namespace quillo
