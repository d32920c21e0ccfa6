#include "nodes/system/systemBuildPlan.h"

#include "feather/barbules.h"
#include "feather/buildWorkers.h"
#include "nodes/system/systemFeathers.h"

#include <maya/MFloatVectorArray.h>
#include <maya/MString.h>

#include <algorithm>

namespace {

// Offset of the baldness draws from the system's seed; the shortening draws use the seed.
constexpr unsigned int baldnessSeedOffset = 661u;

enum textureSlot { scaleTexture = 0, baldnessTexture = 1, colorTexture = 2, radiusTexture = 3 };

MString textureName(const systemParams& params, textureSlot slot) {
    const unsigned int index = static_cast<unsigned int>(slot);
    return index < params.textureNames.length() ? params.textureNames[index] : MString();
}

// One colour per root, or false when there is no texture, no root, or sampling fails (a
// failing texture counts as absent).
bool sampleAtRoots(const MString& network, const featherRoots& roots, MFloatVectorArray& colors) {
    if (network.length() == 0 || roots.length() == 0) {
        return false;
    }
    MFloatVectorArray transparencies;
    if (sampleTexture(network, roots.rootU, roots.rootV, colors, transparencies) != MS::kSuccess) {
        return false;
    }
    return colors.length() == roots.length();
}

float meanOf(const MFloatVector& color) {
    return (color.x + color.y + color.z) / 3.0f;
}

// Single precision on purpose: neighbour order and weights are defined on this value.
float squaredDistance(const MFloatPoint& root, const guideEntry& guide) {
    const float dx = root.x - static_cast<float>(guide.position[0]);
    const float dy = root.y - static_cast<float>(guide.position[1]);
    const float dz = root.z - static_cast<float>(guide.position[2]);
    return dx * dx + dy * dy + dz * dz;
}

} // namespace

// What one worker reuses from root to root.
struct systemBuildPlan::rootScratch {
    std::vector<guideEntry> hits;
    std::vector<guideNeighbour> neighbours;
    turtlePath path;
    featherGeometry geometry;
};

systemBuildPlan::systemBuildPlan() : guides_(16) {}

systemBuildPlan::~systemBuildPlan() = default;

bool systemBuildPlan::prepareGuides(const idRegistry& guides) {
    const std::vector<int>& ids = description_.turtleIds;
    guideKeys_.reset(new int[ids.size()]);
    for (size_t i = 0; i < ids.size(); ++i) {
        guideKeys_[i] = ids[i];
        const auto* guide = static_cast<const turtlePath*>(guides.find(&guideKeys_[i]));
        if (!guide)
            continue;
        guidePaths_.push_back(std::make_unique<turtlePath>(*guide));
        if (!guides_.insert(&guideKeys_[i], guidePaths_.back().get()))
            return false;
        if (!guide->frames.empty()) {
            const MFloatPoint& start = guide->frames[0].position;
            index_.insert(start.x, start.y, start.z, ids[i]);
        }
    }
    // A tree that cannot be built finds nothing, so every root is skipped.
    index_.build();
    return true;
}

bool systemBuildPlan::prepare(featherGenerator& generator, const idRegistry& guides,
                              const featherRoots& roots) {
    featherInfo* info = generator.info;
    const systemParams& params = generator.systemParams;
    if (!info || params.radius <= 0.0f || params.globalScale <= 0.0f) {
        return false;
    }
    if (info->turtleIds.empty()) {
        return false;
    }
    info->outputFeatherMesh = params.outputFeatherMesh;

    const unsigned int rootCount =
        std::min({roots.rootPositions.length(), roots.rootU.length(), roots.rootV.length()});
    featherRoots equalLengthRoots;
    const featherRoots* placed = &roots;
    if (roots.rootU.length() != rootCount || roots.rootV.length() != rootCount ||
        roots.rootPositions.length() != rootCount) {
        for (unsigned int k = 0; k < rootCount; ++k) {
            equalLengthRoots.append(roots.rootPositions[k], roots.rootU[k], roots.rootV[k]);
        }
        placed = &equalLengthRoots;
    }

    // Unsigned arithmetic: seeds wrap instead of overflowing near the int range's ends.
    const unsigned int seed = static_cast<unsigned int>(params.randomSeed);

    generator.seed(seed + baldnessSeedOffset);
    MFloatVectorArray samples;
    if (sampleAtRoots(textureName(params, baldnessTexture), *placed, samples)) {
        for (unsigned int k = 0; k < rootCount; ++k) {
            const float draw = generator.randomFloat();
            if (draw <= samples[k].x) {
                kept_.append(placed->rootPositions[k], placed->rootU[k], placed->rootV[k]);
            }
        }
    } else {
        kept_ = *placed;
    }
    const unsigned int keptCount = kept_.length();

    if (sampleAtRoots(textureName(params, colorTexture), kept_, samples)) {
        for (unsigned int k = 0; k < keptCount; ++k) {
            colors_.push_back(MColor(samples[k].x, samples[k].y, samples[k].z, 1.0f));
        }
    }
    if (sampleAtRoots(textureName(params, scaleTexture), kept_, samples)) {
        for (unsigned int k = 0; k < keptCount; ++k) {
            scaleFactors_.push_back(meanOf(samples[k]));
        }
    }
    if (sampleAtRoots(textureName(params, radiusTexture), kept_, samples)) {
        for (unsigned int k = 0; k < keptCount; ++k) {
            radiusFactors_.push_back(meanOf(samples[k]));
        }
    }

    description_ = *info;
    if (!prepareGuides(guides)) {
        return false;
    }

    // All shortening draws come before any build, which reseeds the engine per feather.
    generator.seed(seed);
    shortening_.resize(keptCount);
    for (unsigned int k = 0; k < keptCount; ++k) {
        shortening_[k] = generator.randomFloat() * params.randScale;
    }

    // Ramps are read here, once, so that the builds never call into the host.
    if (!inputs_.prepare(description_)) {
        return false; // every build would be refused
    }
    generator_ = generator;
    generator_.info = &description_;
    seed_ = seed;
    workers_ = buildWorkerCount();
    keptCount_ = keptCount;
    nonFinitePaths_ = countNonFinitePaths();
    return true;
}

bool systemBuildPlan::blendPath(unsigned int k, rootScratch& own) const {
    own.neighbours.clear();
    own.path.reset();
    const MFloatPoint& root = kept_.rootPositions[k];
    const double point[3] = {root.x, root.y, root.z};
    const float radiusFactor = radiusFactors_.size() == keptCount_ ? radiusFactors_[k] : 1.0f;
    const float searchRadius = radiusFactor * generator_.systemParams.radius;
    index_.radiusQuery(point, searchRadius, own.hits);
    for (const guideEntry& hit : own.hits) {
        own.neighbours.push_back(guideNeighbour{hit.id, squaredDistance(root, hit)});
    }
    if (!own.neighbours.empty()) {
        std::sort(own.neighbours.begin(), own.neighbours.end(),
                  [](const guideNeighbour& a, const guideNeighbour& b) {
                      return a.distanceSquared < b.distanceSquared;
                  });
    } else {
        // Every root gets a feather as long as there is a guide at all.
        guideEntry nearest;
        if (!index_.nearest(point, nearest)) {
            return false;
        }
        own.neighbours.push_back(guideNeighbour{nearest.id, squaredDistance(root, nearest)});
    }
    const float scaleFactor = scaleFactors_.size() == keptCount_ ? scaleFactors_[k] : 1.0f;
    const float featherScale = (1.0f - shortening_[k]) * scaleFactor;
    return interpolateGuides(generator_.systemParams, guides_, root, own.neighbours, featherScale,
                             own.path);
}

unsigned int systemBuildPlan::countNonFinitePaths() const {
    std::vector<unsigned char> nonFinite(keptCount_, 0);
    std::vector<rootScratch> scratch(std::max(1u, workers_));
    runOnWorkers(keptCount_, workers_, [&](size_t item, unsigned int worker) {
        rootScratch& own = scratch[worker];
        const unsigned int k = static_cast<unsigned int>(item);
        if (!blendPath(k, own))
            return;
        // As the build finds it: the path, then the rachis and extent sampled along it.
        own.geometry.clear();
        nonFinite[k] = !pathIsFinite(own.path) ||
                       (buildPreparedRachis(description_, inputs_, own.path, own.geometry) &&
                        !extentIsFinite(own.geometry));
    });
    return static_cast<unsigned int>(std::count(nonFinite.begin(), nonFinite.end(), 1));
}

void systemBuildPlan::build(size_t first, size_t end, const delivery& deliver) const {
    end = std::min(end, keptCount_);
    if (first >= end) {
        return;
    }
    const size_t count = end - first;
    // Every build reseeds its engine, so which worker builds a root does not matter.
    const unsigned int workers = static_cast<unsigned int>(std::min<size_t>(workers_, count));
    std::vector<featherGenerator> engines(workers, generator_);
    std::vector<rootScratch> scratch(workers);
    runOnWorkers(count, workers, [&](size_t item, unsigned int worker) {
        const unsigned int k = static_cast<unsigned int>(first + item);
        rootScratch& own = scratch[worker];
        own.geometry.clear();
        if (!blendPath(k, own) || !pathIsFinite(own.path)) {
            return;
        }
        own.geometry.u = kept_.rootU[k];
        own.geometry.v = kept_.rootV[k];
        own.geometry.mainColor =
            colors_.size() == keptCount_ ? colors_[k] : MColor(1.0f, 1.0f, 1.0f, 1.0f);
        if (!buildPreparedFeather(engines[worker], inputs_, own.path, own.geometry, seed_ + k)) {
            return;
        }
        if (!extentIsFinite(own.geometry)) {
            return; // counted by prepare()
        }
        deliver(k, own.geometry, worker);
    });
}
