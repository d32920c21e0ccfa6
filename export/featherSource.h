#pragma once
// Where a node's feathers come from when they are written: feathers already built and held
// (featherListSource), or a build that makes them on demand, slot by slot, so that a writer
// never needs all of them at once (a feather system's roots, nodes/system/systemBuildPlan.h).
//
// A slot is one place in the node's build order: a feather system's kept root, a feather
// node's feather. A slot whose build fails holds no feather and is skipped.

#include "feather/featherGeometry.h"

#include <cstddef>
#include <functional>
#include <vector>

class featherSource {
  public:
    // Called once per feather built, on the worker that built it (worker 0 is the calling
    // thread); the feather is only valid during the call.
    using delivery =
        std::function<void(size_t slot, const featherGeometry& feather, unsigned int worker)>;

    virtual ~featherSource() = default;
    virtual size_t slotCount() const = 0;
    // The largest worker number deliver() may be called with, plus one.
    virtual unsigned int workerCount() const = 0;
    // Builds slots [first, end) on the build workers (buildWorkers.h) and delivers each feather
    // that builds, in any order; returns when all are done. Never calls the host from a worker.
    virtual void build(size_t first, size_t end, const delivery& deliver) const = 0;
};

// Feathers already built, one per slot; delivered on the build workers so that formatting them
// spreads over the workers too.
class featherListSource : public featherSource {
  public:
    explicit featherListSource(const std::vector<featherGeometry>& feathers);
    size_t slotCount() const override { return feathers_.size(); }
    unsigned int workerCount() const override { return workers_; }
    void build(size_t first, size_t end, const delivery& deliver) const override;

  private:
    const std::vector<featherGeometry>& feathers_;
    unsigned int workers_;
};

// Builds every slot of `source` and appends the feathers that build to `feathers`, in slot
// order. Each is a copy, sized to its contents.
void collectFeathers(const featherSource& source, std::vector<featherGeometry>& feathers);
