#pragma once
// What a build takes from its description, checked and read once: the counts the loops run
// over, clamped or refused, and every ramp as a snapshot.
//
// A description is refused (the build then returns false with a cleared geometry) when:
// - any float field a build reads, or any ramp entry, is NaN or infinite;
// - a noise frequency or phase is so large (above 1e8) that noise coordinates leave the int
//   lattice the noise is defined on;
// - a count is beyond what a feather can sensibly hold: more than 2^20 barbule indices per
//   side, more than 2^16 points per barbule, more than 2^22 barbule points per side, or more
//   than 2^20 rachis points.
// Counts below their minimum are clamped instead: rachisPointCount to 2, barbulePointCount to
// 1, a negative barbuleCount to 0 (rachis only). A rachis tube of more than 2^22 vertices is
// not built (the feather is).

#include "feather/featherInfo.h"
#include "feather/rampSnapshot.h"
#include "feather/turtlePath.h"

#include <string>

struct buildInputs {
    int rachisPointCount = 2;
    int barbuleCount = 0;
    int barbulePointCount = 1;
    // Key barbules present in the description, at most 4; fewer than 4 switch the key-barbule
    // angles off in the final builds.
    unsigned int keyCount = 0;

    rampSnapshot rachisThickScale;
    rampSnapshot barbuleDensity;
    rampSnapshot leftBarbuleLengthScale;
    rampSnapshot rightBarbuleLengthScale;
    rampSnapshot forceRotateScale;
    rampSnapshot forcePerSegmentScale;
    rampSnapshot barbuleUpDownBarbule;
    rampSnapshot barbuleUpDownRachis;
    rampSnapshot barbuleThickScale;
    rampSnapshot barbuleThickAdjust;
    rampSnapshot rotateRamps[4];

    // Why prepare refused the description, naming the attribute and, for a count, the value
    // and the limit ("\"barbuleNum\" (times the quality) gives 100000000 barbules per side, more
    // than the limit of 1048576"); empty after a success.
    std::string refusal;

    // Checks the description and reads its ramps. False when it is refused.
    bool prepare(const featherInfo& info);
};

// The most points one feather of a prepared description holds: the rachis and, per side,
// barbuleCount + 1 barbules of barbulePointCount points. What the build budget counts.
long long featherPointCount(const buildInputs& inputs);

// The most rachis-tube vertices (rachis points times sides) a build makes.
constexpr unsigned int maxRachisTubeVertices = 1u << 22;

// Why the rachis tubes a prepared description asks for (`wanted`: "rachisRenderAs" is
// "Subdivision Mesh" or the meshes are output) will not be built, naming the attributes and
// the limit; "" when they will be or are not asked for.
std::string rachisTubeProblem(const buildInputs& inputs, int rachisSides, bool wanted);

// True when every frame of the path is finite.
bool pathIsFinite(const turtlePath& path);

// Float to int by truncation towards zero, saturating at the int range; NaN gives 0.
int truncateToInt(float value);
// Double to float as IEEE narrowing does it: beyond float range an infinity of the same sign
// (a plain cast of such a finite value is undefined), NaN stays NaN.
float narrowToFloat(double value);
