#pragma once
// A feather system's build, prepared once and then run over any range of its kept roots.
//
// prepare() does everything that must happen on the calling thread, in order: the baldness
// draws, the colour, scale and radius texture samples, the guide index, the shortening draws
// and the description's ramps (systemFeathers.h describes the pass and its seeds). build()
// then builds any slots (kept roots) on the workers, as often as asked, and never calls the
// host: a root's feather is the same whether it is built alone, in a range or with every root.
// So a system can keep the plan and build its feathers when they are first needed, and an
// export can stream them a chunk at a time, or build only one part of them.
//
// The plan owns copies of what the builds read (the description as prepared, the guides it
// blends), so it stays usable however the scene changes after prepare().

#include "export/featherSource.h"
#include "feather/buildInputs.h"
#include "feather/featherGenerator.h"
#include "feather/featherInfo.h"
#include "feather/idRegistry.h"
#include "feather/turtlePath.h"
#include "nodes/system/featherRoots.h"
#include "nodes/system/guideIndex.h"

#include <maya/MColor.h>

#include <memory>
#include <vector>

class systemBuildPlan : public featherSource {
  public:
    systemBuildPlan();
    ~systemBuildPlan() override;
    systemBuildPlan(const systemBuildPlan&) = delete;
    systemBuildPlan& operator=(const systemBuildPlan&) = delete;

    // Prepares the pass over `roots` for generator.info (the borrowed description, read as it
    // is now) and generator.systemParams, drawing on `generator` exactly as a whole build does.
    // `guides` is the registry the description's guide ids live in. False, with no slots,
    // where buildSystemFeathers builds nothing (no description, radius or globalScale at or
    // below 0, no guides, a description the builds refuse).
    bool prepare(featherGenerator& generator, const idRegistry& guides, const featherRoots& roots);

    // The kept roots (after baldness), in build order.
    size_t slotCount() const override { return keptCount_; }
    unsigned int workerCount() const override { return workers_; }
    // Builds the feathers of slots [first, end); slot k is seeded randomSeed + k. Roots that
    // find no guide, whose feather is not finite (nonFinitePaths) or whose build fails deliver
    // nothing.
    void build(size_t first, size_t end, const delivery& deliver) const override;

    // Kept roots whose blended path, or the feather's rachis and extent along it, is not
    // finite in single precision: they give no feather. prepare() blends every path and
    // samples its rachis once (buildPreparedRachis) to count them, so that the node can report
    // them before anything is built.
    unsigned int nonFinitePaths() const { return nonFinitePaths_; }

  private:
    struct rootScratch;
    bool prepareGuides(const idRegistry& guides);
    // Blends root k's path into own.path; false when it finds no guide.
    bool blendPath(unsigned int k, rootScratch& own) const;
    unsigned int countNonFinitePaths() const;

    size_t keptCount_ = 0;
    unsigned int workers_ = 1;
    unsigned int seed_ = 0;
    featherInfo description_;
    featherGenerator generator_; // info points at description_
    buildInputs inputs_;
    featherRoots kept_;
    std::vector<MColor> colors_;
    std::vector<float> scaleFactors_;
    std::vector<float> radiusFactors_;
    std::vector<float> shortening_;
    // Copies of the blended guides, under their ids.
    std::vector<std::unique_ptr<turtlePath>> guidePaths_;
    std::unique_ptr<int[]> guideKeys_;
    idRegistry guides_;
    guideIndex index_;
    unsigned int nonFinitePaths_ = 0;
};
