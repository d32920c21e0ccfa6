#include "nodes/system/systemFeathers.h"

#include "feather/barbules.h"
#include "feather/buildInputs.h"
#include "feather/buildWorkers.h"
#include "feather/featherInfo.h"
#include "feather/idRegistry.h"
#include "nodes/system/guideIndex.h"

#include <maya/MColor.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MString.h>

#include <algorithm>
#include <cmath>

namespace {

// Weights never fall below this, so that a guide once chosen always shapes the feather.
constexpr float minimumWeight = 1e-7f;
// Offset of the baldness draws from the system's seed; the shortening draws use the seed.
constexpr unsigned int baldnessSeedOffset = 661u;

enum textureSlot { scaleTexture = 0, baldnessTexture = 1, colorTexture = 2, radiusTexture = 3 };

const turtlePath* findGuide(const idRegistry& guides, int id) {
    const int key = id;
    return static_cast<const turtlePath*>(guides.find(&key));
}

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

// What one worker reuses from root to root.
struct rootScratch {
    std::vector<guideEntry> hits;
    std::vector<guideNeighbour> neighbours;
    turtlePath path;
    featherGeometry geometry;
};

} // namespace

systemBuildReport buildSystemFeathers(featherGenerator& generator, const idRegistry& guides,
                                      const featherRoots& roots,
                                      std::vector<featherGeometry>& feathers) {
    systemBuildReport report;
    featherInfo* info = generator.info;
    const systemParams& params = generator.systemParams;
    if (!info || params.radius <= 0.0f || params.globalScale <= 0.0f) {
        return report;
    }
    if (info->turtleIds.empty()) {
        return report;
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
    featherRoots bald;
    const featherRoots* kept = placed;
    if (sampleAtRoots(textureName(params, baldnessTexture), *placed, samples)) {
        for (unsigned int k = 0; k < rootCount; ++k) {
            const float draw = generator.randomFloat();
            if (draw <= samples[k].x) {
                bald.append(placed->rootPositions[k], placed->rootU[k], placed->rootV[k]);
            }
        }
        kept = &bald;
    }
    const unsigned int keptCount = kept->length();
    report.roots = keptCount;

    std::vector<MColor> colors;
    if (sampleAtRoots(textureName(params, colorTexture), *kept, samples)) {
        for (unsigned int k = 0; k < keptCount; ++k) {
            colors.push_back(MColor(samples[k].x, samples[k].y, samples[k].z, 1.0f));
        }
    }
    std::vector<float> scaleFactors;
    if (sampleAtRoots(textureName(params, scaleTexture), *kept, samples)) {
        for (unsigned int k = 0; k < keptCount; ++k) {
            scaleFactors.push_back(meanOf(samples[k]));
        }
    }
    std::vector<float> radiusFactors;
    if (sampleAtRoots(textureName(params, radiusTexture), *kept, samples)) {
        for (unsigned int k = 0; k < keptCount; ++k) {
            radiusFactors.push_back(meanOf(samples[k]));
        }
    }

    guideIndex index;
    for (int id : info->turtleIds) {
        const turtlePath* guide = findGuide(guides, id);
        if (guide && !guide->frames.empty()) {
            const MFloatPoint& start = guide->frames[0].position;
            index.insert(start.x, start.y, start.z, id);
        }
    }
    // A tree that cannot be built finds nothing, so every root is skipped.
    index.build();

    // All shortening draws come before any build, which reseeds the engine per feather.
    generator.seed(seed);
    std::vector<float> shortening(keptCount);
    for (unsigned int k = 0; k < keptCount; ++k) {
        shortening[k] = generator.randomFloat() * params.randScale;
    }

    // Ramps are read here, once, so that the workers never call into the host.
    buildInputs inputs;
    if (!inputs.prepare(*info)) {
        return report; // every build would be refused
    }

    // Worker 0 is the calling thread and runs on the caller's generator; the others run on
    // copies of it (same description and system parameters). Every build reseeds its engine,
    // so which worker builds a root does not matter.
    const unsigned int workerCount = buildWorkerCount();
    std::vector<featherGenerator> spareGenerators(
        keptCount > 1 && workerCount > 1 ? std::min<size_t>(workerCount, keptCount) - 1 : 0,
        generator);
    std::vector<rootScratch> scratch(spareGenerators.size() + 1);

    // One slot per kept root, so that the feathers come out in root order.
    std::vector<featherGeometry> built(keptCount);
    std::vector<unsigned char> succeeded(keptCount, 0);
    std::vector<unsigned char> nonFinite(keptCount, 0);
    runOnWorkers(keptCount, workerCount, [&](size_t item, unsigned int worker) {
        const unsigned int k = static_cast<unsigned int>(item);
        rootScratch& own = scratch[worker];
        featherGenerator& engine = worker == 0 ? generator : spareGenerators[worker - 1];
        own.neighbours.clear();
        own.geometry.clear();
        own.path.reset();

        const MFloatPoint& root = kept->rootPositions[k];
        const double point[3] = {root.x, root.y, root.z};
        const float radiusFactor = radiusFactors.size() == keptCount ? radiusFactors[k] : 1.0f;
        const float searchRadius = radiusFactor * params.radius;
        index.radiusQuery(point, searchRadius, own.hits);
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
            if (!index.nearest(point, nearest)) {
                return;
            }
            own.neighbours.push_back(guideNeighbour{nearest.id, squaredDistance(root, nearest)});
        }

        const float scaleFactor = scaleFactors.size() == keptCount ? scaleFactors[k] : 1.0f;
        const float featherScale = (1.0f - shortening[k]) * scaleFactor;
        if (!interpolateGuides(params, guides, root, own.neighbours, featherScale, own.path)) {
            return;
        }
        if (!pathIsFinite(own.path)) {
            nonFinite[k] = 1;
            return;
        }

        own.geometry.u = kept->rootU[k];
        own.geometry.v = kept->rootV[k];
        own.geometry.mainColor =
            colors.size() == keptCount ? colors[k] : MColor(1.0f, 1.0f, 1.0f, 1.0f);
        if (!buildPreparedFeather(engine, inputs, own.path, own.geometry, seed + k)) {
            return;
        }
        if (!extentIsFinite(own.geometry)) {
            nonFinite[k] = 1; // overflowed on the way: no feather
            return;
        }
        // A copy, not a move: the copy's arrays are sized to their contents, while the scratch
        // keeps its larger storage for the worker's next root.
        built[k] = own.geometry;
        succeeded[k] = 1;
    });

    feathers.reserve(feathers.size() +
                     static_cast<size_t>(std::count(succeeded.begin(), succeeded.end(), 1)));
    for (unsigned int k = 0; k < keptCount; ++k) {
        if (succeeded[k]) {
            feathers.push_back(std::move(built[k]));
        }
    }
    report.nonFinitePaths =
        static_cast<unsigned int>(std::count(nonFinite.begin(), nonFinite.end(), 1));
    return report;
}

bool interpolateGuides(const systemParams& params, const idRegistry& guides,
                       const MFloatPoint& root, const std::vector<guideNeighbour>& neighbours,
                       float scaleFactor, turtlePath& path) {
    const size_t blended =
        params.guidsPerFeather < 1
            ? 0
            : std::min(static_cast<size_t>(params.guidsPerFeather), neighbours.size());
    if (blended == 0) {
        return false;
    }
    const turtlePath* nearestGuide = findGuide(guides, neighbours[0].id);
    if (!nearestGuide) {
        return false;
    }
    const float power = params.power;
    const float globalScale = params.globalScale;
    const size_t frameCount = nearestGuide->frames.size();
    for (size_t i = 0; i < frameCount; ++i) {
        MFloatVector normalSum(0.0f, 0.0f, 0.0f);
        MFloatVector segmentSum(0.0f, 0.0f, 0.0f);
        float lengthSum = 0.0f;
        float weightSum = 0.0f;
        for (size_t j = 0; j < blended; ++j) {
            const turtlePath* guide = findGuide(guides, neighbours[j].id);
            if (!guide) {
                return false;
            }
            // A guide shorter than the nearest one stops counting where it ends; the nearest
            // guide always has frame i, so the weight sum never stays zero.
            if (i >= guide->frames.size()) {
                continue;
            }
            const float distanceSquared = neighbours[j].distanceSquared;
            float weight = std::exp(-(power * distanceSquared * power));
            if (weight < minimumWeight) {
                weight = minimumWeight;
            }
            normalSum += weight * guide->frames[i].normal;
            if (i > 0) {
                const MFloatVector segment =
                    guide->frames[i].position - guide->frames[i - 1].position;
                segmentSum += weight * segment;
                lengthSum += weight * segment.length();
            }
            weightSum += weight;
        }

        MFloatPoint position = root;
        if (i > 0) {
            MFloatVector direction = segmentSum;
            direction.normalize();
            position = path.frames.back().position +
                       direction * (lengthSum / weightSum) * globalScale * scaleFactor;
        }
        MFloatVector normal = normalSum;
        normal.normalize();
        path.append(position, normal);
    }
    path.scale = scaleFactor * globalScale;
    return true;
}
