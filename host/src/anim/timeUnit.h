#pragma once
// Maya's time units: the names scene files give them (currentUnit -t film) and their rates.

#include <maya/MTime.h>

#include <string>

namespace host {

// Frames per second of a unit name: "film" 24, "pal" 25, "ntsc" 30, "23.976fps" 24000/1001,
// "sec" 1, "min" 1/60 ... and the older field names ("ntscField" 60). 0 for an unknown name.
double framesPerSecond(const std::string& unit);
// Frames per second of an API unit; kUserDef is the scene's own rate (see sceneTime.h).
double framesPerSecond(MTime::Unit unit);
// The API unit of a rate, kUserDef when it has none.
MTime::Unit unitOfRate(double framesPerSecond);

// Maya's internal time step: times on a cycled curve fall on whole ticks.
constexpr double kTicksPerSecond = 141120000.0;

} // namespace host
