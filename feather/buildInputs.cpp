#include "feather/buildInputs.h"

#include <cmath>
#include <initializer_list>

namespace {

const int maxBarbuleCount = 1 << 20;
const int maxBarbulePointCount = 1 << 16;
const long long maxBarbulePointsPerSide = 1LL << 22;
const int maxRachisPointCount = 1 << 20;
const float maxNoiseCoordinate = 1e8f;

bool allFinite(std::initializer_list<float> values) {
    for (float v : values) {
        if (!std::isfinite(v)) {
            return false;
        }
    }
    return true;
}

// Noise is sampled at t * frequency + phase with t in [0, 1].
bool noiseInRange(float frequency, float phase) {
    return std::fabs(frequency) + std::fabs(phase) <= maxNoiseCoordinate;
}

} // namespace

bool buildInputs::prepare(const featherInfo& info) {
    const keyBarbuleSettings& keys = info.keyBarbuleSet;
    keyCount = keys.keyCount();
    if (!allFinite({info.rachisPosition,
                    info.rachisThick,
                    info.rachisStart,
                    info.rachisEnd,
                    info.barbuleLength,
                    info.barbuleLengthRandScale,
                    info.forcePerSegment,
                    info.turnAtForce,
                    info.rotateDegree,
                    info.upDownLength,
                    info.rachisNoiseFrequency,
                    info.barbuleNoiseFrequency,
                    info.noisePhase[0],
                    info.noisePhase[1],
                    info.barbuleGapFrequency,
                    info.barbuleGapPhase,
                    info.barbuleGapThreshold,
                    info.barbuleGapSize,
                    info.barbuleThick,
                    info.barbuleRandThick,
                    info.proxyBoundingBoxScale[0],
                    info.proxyBoundingBoxScale[1],
                    info.proxyBoundingBoxScale[2],
                    info.uvProjectScale,
                    info.barbuleLengthThreshold,
                    keys.stepAngle})) {
        return false;
    }
    for (unsigned int k = 0; k < keyCount; ++k) {
        if (!allFinite({keys.startAngles[k], keys.keyPositions[k]})) {
            return false;
        }
    }
    if (!noiseInRange(info.rachisNoiseFrequency, info.noisePhase[0]) ||
        !noiseInRange(info.barbuleNoiseFrequency, info.noisePhase[1]) ||
        !noiseInRange(info.barbuleGapFrequency, info.barbuleGapPhase)) {
        return false;
    }

    rachisPointCount = info.rachisPointCount < 2 ? 2 : info.rachisPointCount;
    barbuleCount = info.barbuleCount < 0 ? 0 : info.barbuleCount;
    barbulePointCount = info.barbulePointCount < 1 ? 1 : info.barbulePointCount;
    if (rachisPointCount > maxRachisPointCount || barbuleCount > maxBarbuleCount ||
        barbulePointCount > maxBarbulePointCount ||
        (static_cast<long long>(barbuleCount) + 1) * barbulePointCount > maxBarbulePointsPerSide) {
        return false;
    }

    bool ok = rachisThickScale.read(info.rachisThickScale);
    ok = barbuleDensity.read(info.barbuleDensity) && ok;
    ok = leftBarbuleLengthScale.read(info.leftBarbuleLengthScale) && ok;
    ok = rightBarbuleLengthScale.read(info.rightBarbuleLengthScale) && ok;
    ok = forceRotateScale.read(info.forceRotateScale) && ok;
    ok = forcePerSegmentScale.read(info.forcePerSegmentScale) && ok;
    ok = barbuleUpDownBarbule.read(info.barbuleUpDownBarbule) && ok;
    ok = barbuleUpDownRachis.read(info.barbuleUpDownRachis) && ok;
    ok = barbuleThickScale.read(info.barbuleThickScale) && ok;
    ok = barbuleThickAdjust.read(info.barbuleThickAdjust) && ok;
    for (unsigned int k = 0; k < 4; ++k) {
        ok = (k < keyCount ? rotateRamps[k].read(keys.rotateRamps[k])
                           : rotateRamps[k].read(MRampAttribute())) &&
             ok;
    }
    return ok;
}

bool pathIsFinite(const turtlePath& path) {
    for (const turtleFrame& f : path.frames) {
        if (!allFinite(
                {f.position.x, f.position.y, f.position.z, f.normal.x, f.normal.y, f.normal.z})) {
            return false;
        }
    }
    return true;
}

int truncateToInt(float value) {
    if (!(value == value)) {
        return 0;
    }
    if (value >= 2147483648.0f) {
        return 2147483647;
    }
    if (value <= -2147483648.0f) {
        return -2147483647 - 1;
    }
    return static_cast<int>(value);
}
