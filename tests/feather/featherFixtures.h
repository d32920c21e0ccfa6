#pragma once
// Scaffolding for feather tests and benchmarks: a node type holding one curve ramp per ramp of
// a description (ramps must live on a node), descriptions at the feather node's attribute
// defaults, straight and curved guide paths, and small NURBS surfaces. No test framework here,
// so the benchmark links it too.

#include "feather/featherInfo.h"
#include "feather/turtlePath.h"

#include <maya/MObject.h>
#include <maya/MRampAttribute.h>

#include <initializer_list>

namespace fixtures {

struct rampEntry {
    float position;
    float value;
    int interp; // MRampAttribute::MInterpolation
};

// A fresh node of a test type with fourteen curve ramps, each holding the host's one default
// entry, and a plain colour attribute "tint". Registers the type on first use.
MObject createRampNode();

// The node's ramp attributes, by the description field they stand for: 0 rachisThickScale,
// 1 barbuleDensity, 2 leftBarbuleLengthScale, 3 rightBarbuleLengthScale, 4 forceRotateScale,
// 5 forcePerSegmentScale, 6 barbuleUpDownBarbule, 7 barbuleUpDownRachis, 8 barbuleThickScale,
// 9 barbuleThickAdjust, 10..13 kbRotate1..4.
MRampAttribute ramp(const MObject& node, int which);

// Replaces every entry of the ramp.
void setRamp(MRampAttribute ramp, std::initializer_list<rampEntry> entries);
inline void setConstant(MRampAttribute r, float value) {
    setRamp(r, {{0.0f, value, MRampAttribute::kLinear}});
}

// The feather node's attribute defaults, with 100 barbules (quality 1) and ramps bound to
// `node`: density, length scales, force and thickness scales 1; rotate ramps 0.5 (no turn);
// up/down ramps 1; rachis thickness tapering from 1 to 0.2.
void defaultDescription(featherInfo& info, const MObject& node);

// Frames along +x from the origin, normals +y: `frames` frames over `length`.
turtlePath straightPath(int frames, float length);
// A gently curving path in the xz plane rising in y, normals tilting with it.
turtlePath curvedPath(int frames);

// Surface data of a bilinear patch: (u, v) -> (width * u, 0, depth * v); normal -y.
MObject planeSurface(double width, double depth);
// Surface data of a bicubic patch over [0, 1]^2 bulging in y.
MObject domeSurface();

} // namespace fixtures
