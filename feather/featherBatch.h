#pragma once
// Many path feathers of one description built at once, as a feather node builds one per guide.
//
// The description's ramps are read once on the calling thread; the feathers are then built on
// buildWorkerCount() workers (buildWorkers.h), each on its own copy of the generator and of the
// description (the copies differ only in randSeed, set per feather), so the host is never
// called from a worker. Every feather lands in its own geometry, so the results do not depend
// on the worker count.

#include "feather/featherGenerator.h"
#include "feather/featherGeometry.h"
#include "feather/turtlePath.h"

#include <vector>

// One feather of a batch: what buildFeather would be called with, and the description's
// randSeed at that moment.
struct batchFeather {
    const turtlePath* path = nullptr;
    featherGeometry* geometry = nullptr;
    unsigned int seed = 0;
    int randSeed = 0;
};

// For every entry, in effect: generator.info->randSeed = entry.randSeed, then
// buildFeather(generator, *entry.path, *entry.geometry, entry.seed). Paths and geometries must
// be distinct objects kept alive by the caller; the paths are only read. Leaves
// generator.info->randSeed as it found it. Nothing happens without a description.
void buildFeatherBatch(featherGenerator& generator, const std::vector<batchFeather>& batch);
