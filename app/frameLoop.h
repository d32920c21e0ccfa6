#pragma once
// The frame options render and export share (--frames A:B[:STEP], --frame F) and moving the
// scene to a frame. Without either option a command works on the scene at the time it was
// saved at, into the output named.

#include <string>
#include <vector>

namespace quillo {

class CommandLine;

struct FrameChoice {
    std::vector<double> frames; // in the scene's time unit
    bool given = false;         // --frames or --frame was on the command line

    // The frames to work through: the chosen ones, or one pass at the scene's own time.
    size_t passes() const { return given ? frames.size() : 1; }
};

// Takes --frames or --frame and its value when `argument` is one of them (true then), recording
// usage errors on the line.
bool takeFrameOption(CommandLine& line, const std::string& argument, FrameChoice& choice);
// Several frames need a '#' in the output's file name for the frame number.
void checkFrameOutput(CommandLine& line, const FrameChoice& choice, const std::string& output);

// Pass k: moves the scene to its frame (when frames were given) and gives the output file's
// name for it.
std::string startFramePass(const FrameChoice& choice, size_t k, const std::string& output);
// Every file the passes will write, in pass order, without moving the scene.
std::vector<std::string> frameOutputs(const FrameChoice& choice, const std::string& output);
// "frame 12 (3 of 24): what", or just what without frames.
std::string framePassLabel(const FrameChoice& choice, size_t k, const std::string& what);

} // namespace quillo
