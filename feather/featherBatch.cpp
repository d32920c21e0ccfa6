#include "feather/featherBatch.h"

#include "feather/barbules.h"
#include "feather/buildInputs.h"
#include "feather/buildWorkers.h"
#include "feather/featherInfo.h"

#include <algorithm>

void buildFeatherBatch(featherGenerator& generator, const std::vector<batchFeather>& batch) {
    featherInfo* info = generator.info;
    if (!info || batch.empty()) {
        return;
    }
    const int ownRandSeed = info->randSeed;

    buildInputs inputs;
    if (!inputs.prepare(*info)) {
        // Every build is refused; the one-by-one builds refuse each geometry the same way.
        for (const batchFeather& entry : batch) {
            info->randSeed = entry.randSeed;
            buildFeather(generator, *entry.path, *entry.geometry, entry.seed);
        }
        info->randSeed = ownRandSeed;
        return;
    }

    // Worker 0 (the calling thread) builds on the caller's generator and description too; the
    // others get copies, made here before any worker starts.
    const unsigned int workerCount = buildWorkerCount();
    const size_t spares = workerCount > 1 ? std::min<size_t>(workerCount, batch.size()) - 1 : 0;
    std::vector<featherInfo> spareInfos(spares, *info);
    std::vector<featherGenerator> spareGenerators(spares, generator);
    for (size_t k = 0; k < spares; ++k) {
        spareGenerators[k].info = &spareInfos[k];
    }

    runOnWorkers(batch.size(), workerCount, [&](size_t item, unsigned int worker) {
        featherGenerator& engine = worker == 0 ? generator : spareGenerators[worker - 1];
        const batchFeather& entry = batch[item];
        engine.info->randSeed = entry.randSeed;
        buildPreparedFeather(engine, inputs, *entry.path, *entry.geometry, entry.seed);
    });
    info->randSeed = ownRandSeed;
}
