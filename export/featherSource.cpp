#include "export/featherSource.h"

#include "feather/buildWorkers.h"

#include <algorithm>

featherListSource::featherListSource(const std::vector<featherGeometry>& feathers)
    : feathers_(feathers), workers_(buildWorkerCount()) {}

void featherListSource::build(size_t first, size_t end, const delivery& deliver) const {
    if (end <= first)
        return;
    runOnWorkers(end - first, workers_, [&](size_t item, unsigned int worker) {
        deliver(first + item, feathers_[first + item], worker);
    });
}

void collectFeathers(const featherSource& source, std::vector<featherGeometry>& feathers) {
    const size_t count = source.slotCount();
    // One place per slot, so that the feathers come out in slot order.
    std::vector<featherGeometry> built(count);
    std::vector<unsigned char> succeeded(count, 0);
    source.build(0, count, [&](size_t slot, const featherGeometry& feather, unsigned int) {
        // A copy, not a move: the copy's arrays are sized to their contents, while the
        // builder keeps its larger storage for the next slot.
        built[slot] = feather;
        succeeded[slot] = 1;
    });
    feathers.reserve(feathers.size() +
                     static_cast<size_t>(std::count(succeeded.begin(), succeeded.end(), 1)));
    for (size_t k = 0; k < count; ++k)
        if (succeeded[k])
            feathers.push_back(std::move(built[k]));
}
