#include "nodes/system/systemFeathers.h"

#include "feather/idRegistry.h"
#include "nodes/system/systemBuildPlan.h"

#include <algorithm>
#include <cmath>

namespace {

// Weights never fall below this, so that a guide once chosen always shapes the feather.
constexpr float minimumWeight = 1e-7f;

const turtlePath* findGuide(const idRegistry& guides, int id) {
    const int key = id;
    return static_cast<const turtlePath*>(guides.find(&key));
}

} // namespace

systemBuildReport buildSystemFeathers(featherGenerator& generator, const idRegistry& guides,
                                      const featherRoots& roots,
                                      std::vector<featherGeometry>& feathers) {
    systemBuildReport report;
    systemBuildPlan plan;
    if (!plan.prepare(generator, guides, roots)) {
        report.roots = static_cast<unsigned int>(plan.slotCount());
        return report;
    }
    collectFeathers(plan, feathers);
    report.roots = static_cast<unsigned int>(plan.slotCount());
    report.nonFinitePaths = plan.nonFinitePaths();
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
