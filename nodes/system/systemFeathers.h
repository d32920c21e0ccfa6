#pragma once
// The feather system's build pass: one feather per placed root, its path blended from the
// guides of the borrowed feather node.
//
// Per pass: roots are thinned by the baldness texture, coloured, scaled and given a search
// radius by the colour, scale and radius textures, and randomly shortened; each root then
// blends its nearest guides (a Gaussian of the distance, "power" as inverse width) into a path
// that starts at the root, and the generator builds the feather along it.
//
// Reproducibility: the engine is reseeded with randomSeed + 661 before the baldness draws and
// with randomSeed before the shortening draws, and every feather is built with seed
// randomSeed + k, k counting the roots kept after baldness. A pass therefore gives the same
// feathers for the same inputs whatever was drawn before it.
//
// Roots that find no guide, or whose guides have gone from the registry, or whose build
// fails, are skipped; those whose path is not finite are counted for the node to report.
//
// The roots are built on buildWorkerCount() workers (buildWorkers.h); the draws above stay on
// the calling thread, in order, and the feathers are appended in root order, so the result is
// the same for any worker count. The description's ramps and the textures are read on the
// calling thread before the workers start. The pass is a systemBuildPlan (systemBuildPlan.h)
// prepared and built whole; a plan can also build any range of the kept roots alone.

#include "feather/featherGenerator.h"
#include "feather/featherGeometry.h"
#include "feather/systemParams.h"
#include "feather/turtlePath.h"
#include "nodes/system/featherRoots.h"

#include <maya/MFloatPoint.h>

#include <vector>

class idRegistry;

// A guide near a root: its id in the guide registry and its root's squared distance from the
// feather root, in single precision.
struct guideNeighbour {
    int id;
    float distanceSquared;
};

// What a pass left out that the node reports.
struct systemBuildReport {
    unsigned int roots = 0; // roots kept after baldness
    // Roots whose blended path or built feather is not finite in single precision
    // ("gloalScale" or guides so large that positions overflow); they give no feather.
    unsigned int nonFinitePaths = 0;
};

// Builds the feathers of one placement pass and appends the successful ones to `feathers`.
// Reads generator.info (the borrowed description: its turtleIds; its outputFeatherMesh flag
// is overwritten with the system's) and generator.systemParams; the workers other than the
// calling thread run on copies of `generator`; `guides` is the registry the
// description's guide ids live in. Does nothing without a description, with radius or
// globalScale at or below 0, or when the description lists no guides. Root lists of unequal
// length are used up to the shortest.
systemBuildReport buildSystemFeathers(featherGenerator& generator, const idRegistry& guides,
                                      const featherRoots& roots,
                                      std::vector<featherGeometry>& feathers);

// Blends the first min(guidsPerFeather, neighbours) guides of `neighbours` (sorted nearest
// first) into `path`, which gets as many frames as the nearest guide: frame 0 at `root`, then
// each segment along the weighted mean segment direction with the weighted mean segment
// length, times globalScale and scaleFactor. Normals are the normalised weighted sums. Weights
// are exp(-(power * d² * power)), never below 1e-7, so far guides still count. A guide with
// fewer frames than the nearest one takes part only in the frames it has. The path's scale
// becomes scaleFactor * globalScale.
//
// False, with `path` incomplete, when no guide is to be blended (guidsPerFeather below 1 or no
// neighbours) or one of them is missing from `guides`. The caller resets `path` beforehand.
bool interpolateGuides(const systemParams& params, const idRegistry& guides,
                       const MFloatPoint& root, const std::vector<guideNeighbour>& neighbours,
                       float scaleFactor, turtlePath& path);
