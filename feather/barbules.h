#pragma once
// The two final feather builds: rachis plus both rows of barbules, each barbule a turtle walk
// bent by key-barbule angles, random lengths, noise-driven force turns, gaps and up/down
// bending, with optional polygon meshes.
//
// Both read generator.info (set by the caller, kept alive during the build) and run on the
// generator's turtle and random engine. A feather is a pure function of the description, the
// guide and the seed: the engine is reseeded at the start, and every random number is drawn in
// a fixed order before any barbule is placed, so a barbule's draws depend only on its index
// (changing the density ramp drops barbules without changing the survivors).
//
// Per side, in index order i, the draws are: density, thickness, length, one force draw per
// barbule point, then one gap draw when the gap noise at t opens a gap there. The left side's
// draws come first; the right side's continue the same stream.
//
// Refused inputs (see buildInputs.h: non-finite values, out-of-range counts and noise
// coordinates; and here a path with a non-finite frame) return false with the geometry
// cleared; nothing is ever read or written out of range. Time and memory are linear in
// (barbuleCount + 1) * barbulePointCount per side.

#include "feather/buildInputs.h"
#include "feather/featherGenerator.h"
#include "feather/featherGeometry.h"
#include "feather/turtlePath.h"

#include <maya/MObject.h>

// Grows a feather along a world-space guide path, appending to geometry. Barbule index i of
// barbuleCount c sits at t = i / c, for i = 0 .. c on each side (c + 1 barbules, one at each
// end of the rachis); left positions are t, right ones t + 1. The full barbule length is
// barbuleLength times the rachis length.
//
// Returns false without touching geometry when the path has no frames; false with geometry
// cleared when the input is refused or the rachis is shorter than 1e-5; true otherwise (with
// the rachis only when barbuleCount < 1 or barbuleLength < 1e-5). Stores `seed` in
// geometry.seed. Clears the generator's clamp.
bool buildFeather(featherGenerator& generator, const turtlePath& path, featherGeometry& geometry,
                  unsigned int seed);

// buildFeather with the description's inputs already checked and read (buildInputs::prepare
// returned true for generator.info): reads no ramp, so it never calls into the host and many
// of them may run at once, each on its own generator, sharing `inputs`, the description and
// the path read-only. Gives what buildFeather gives for the same description.
bool buildPreparedFeather(featherGenerator& generator, const buildInputs& inputs,
                          const turtlePath& path, featherGeometry& geometry, unsigned int seed);

// The first stage of buildPreparedFeather alone: the sampled rachis, its length and the extent
// box grown by the barbules' reach (no thickness, tube or barbules). What it gives is what the
// whole build gives for those fields, so a caller can tell beforehand whether a feather's
// positions stay finite (extentIsFinite). Same returns as buildFeather; reads no ramp.
bool buildPreparedRachis(const featherInfo& info, const buildInputs& inputs, const turtlePath& path,
                         featherGeometry& geometry);

// Grows a feather in the parameter space of a guide NURBS surface (domain [0, 1] both ways)
// and projects every point onto it; world-space results. The rachis runs along `direction` at
// rachisPosition; the left barbules fill the parameter range on one side of it, the right ones
// the other, c indices per side at t = i / c for i = 0 .. c - 1. A side exists only when it has
// room (1 - rachisPosition >= 1e-5 on the left, rachisPosition >= 1e-5 on the right); a missing
// side draws no random numbers, so removing the left side shifts the right side's draws.
// Up/down bending moves points along the surface normal instead of turning the turtle.
// Seeded with guideIndex + randSeed.
//
// The caller clears geometry first. False, with geometry cleared, when the input is refused,
// the object is not a NURBS surface or a surface sample fails; true otherwise. Sets the
// generator's clamp.
bool buildSurfaceFeather(featherGenerator& generator, const MObject& surface,
                         featherGeometry& geometry, int guideIndex);
