#pragma once
// The one generator that every feather build runs on: the description being built, the
// turtle frame the walks steer, the random engine and the noise.
//
// Reproducibility: every build seeds the engine itself (seed + 37 discards), so a feather
// depends only on its description, its guide and its seed. The order of draws inside a build
// is part of that contract.
//
// One instance per plug-in, used without locking from the dependency-graph thread; a build is
// never entered while another runs on it. Builds spread over worker threads give each other
// worker a copy (buildWorkers.h); a copy shares the description, read-only.

#include "feather/systemParams.h"
#include "feather/turtleState.h"

#include <random>

class featherInfo;

class featherGenerator {
  public:
    // Allocates and resets a generator; null if it cannot be allocated.
    static featherGenerator* create();
    // Resets and frees; null is ignored.
    static void destroy(featherGenerator* generator);

    // Starts in the reset state.
    featherGenerator();

    // Back to the start state: no description, default system parameters, the frame at
    // (0, 0, 0.5) heading (1, 0, 0) with up (0, 1, 0) (saved frame the same), clamping on,
    // and the engine seeded with 1.
    void resetGenerator();

    // Seeds the engine with s and discards 37 draws.
    void seed(unsigned int s);
    // One MT19937 output, 0 .. 2^32 - 1.
    unsigned int nextRandom();
    // nextRandom() / 2^32, computed in double (always below 1) and returned as float: draws of
    // 2^32 - 128 and above round to exactly 1.0f.
    float randomFloat();

    // Coherent value noise in [-1, 1]; a pure function of its arguments (see valueNoise.h).
    double valueNoise3(double x, double y, double z, int seed) const;

    // Turtle moves, all on `turtle`. Angles in degrees, single precision; rotations are
    // right-handed about the axis.
    // Turns heading about up; up is unchanged.
    void yaw(float degrees);
    // Turns heading and up about heading ^ up (not normalised).
    void pitch(float degrees);
    // position += heading * distance (w unchanged); with clampToUnitSquare, x and z are then
    // clamped into [0, 1]. y is never clamped.
    void forward(float distance);

    // The description the next build reads; not owned, kept alive by the caller during a build.
    featherInfo* info = nullptr;
    ::systemParams systemParams;
    turtleState turtle;
    // Lets the surface builds remember the walk along the rachis between barbules.
    turtleState savedTurtle;
    // Set while walking in surface parameter space, clear in world space.
    bool clampToUnitSquare = true;
    std::mt19937 random;
};
