#include "frameLoop.h"

#include "commandLine.h"
#include "frameRange.h"

#include <maya/MAnimControl.h>

#include <sstream>

namespace quillo {

bool takeFrameOption(CommandLine& line, const std::string& argument, FrameChoice& choice) {
    if (argument != "--frames" && argument != "--frame")
        return false;
    std::string value, error;
    if (!line.value(argument, value))
        return true;
    if (choice.given)
        line.error("give one --frames or --frame");
    choice.given = true;
    if (argument == "--frames") {
        if (!parseFrameRange(value, choice.frames, error))
            line.error("--frames: " + error);
    } else {
        double frame = 0.0;
        if (parseFrame(value, frame, error))
            choice.frames = {frame};
        else
            line.error("--frame: " + error);
    }
    return true;
}

void checkFrameOutput(CommandLine& line, const FrameChoice& choice, const std::string& output) {
    if (choice.frames.size() > 1 && !output.empty() && !hasFramePlaceholder(output))
        line.error("several frames need a '#' in the output's file name for the frame number "
                   "(for example out.####.rib), not '" +
                   output + "'");
}

std::string startFramePass(const FrameChoice& choice, size_t k, const std::string& output) {
    if (!choice.given)
        return output;
    const double frame = choice.frames[k];
    MAnimControl::setCurrentTime(MTime(frame, MTime::uiUnit()));
    return frameFileName(output, frame);
}

std::vector<std::string> frameOutputs(const FrameChoice& choice, const std::string& output) {
    if (!choice.given)
        return {output};
    std::vector<std::string> files;
    for (const double frame : choice.frames)
        files.push_back(frameFileName(output, frame));
    return files;
}

std::string framePassLabel(const FrameChoice& choice, size_t k, const std::string& what) {
    if (!choice.given)
        return what;
    std::ostringstream label;
    label << "frame " << choice.frames[k];
    if (choice.frames.size() > 1)
        label << " (" << k + 1 << " of " << choice.frames.size() << ")";
    label << ": " << what;
    return label.str();
}

} // namespace quillo
