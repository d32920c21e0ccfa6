#include "feather/buildInputs.h"

#include <cmath>
#include <initializer_list>
#include <limits>
#include <string>

namespace {

const int maxBarbuleCount = 1 << 20;
const int maxBarbulePointCount = 1 << 16;
const long long maxBarbulePointsPerSide = 1LL << 22;
const int maxRachisPointCount = 1 << 20;
const float maxNoiseCoordinate = 1e8f;

// A float the builds read, with the attribute it comes from.
struct namedValue {
    float value;
    const char* attribute;
};

// The attribute of the first value that is NaN or infinite, or null.
const char* firstNonFinite(std::initializer_list<namedValue> values) {
    for (const namedValue& v : values) {
        if (!std::isfinite(v.value)) {
            return v.attribute;
        }
    }
    return nullptr;
}

// Noise is sampled at t * frequency + phase with t in [0, 1].
bool noiseInRange(float frequency, float phase) {
    return std::fabs(frequency) + std::fabs(phase) <= maxNoiseCoordinate;
}

std::string quoted(const char* attribute) {
    return std::string("\"") + attribute + "\"";
}

} // namespace

bool buildInputs::prepare(const featherInfo& info) {
    refusal.clear();
    const keyBarbuleSettings& keys = info.keyBarbuleSet;
    keyCount = keys.keyCount();
    if (const char* attribute =
            firstNonFinite({{info.rachisPosition, "rachisPosition"},
                            {info.rachisThick, "rachisThick"},
                            {info.rachisStart, "rachisStart"},
                            {info.rachisEnd, "rachisEnd"},
                            {info.barbuleLength, "barbuleLength"},
                            {info.barbuleLengthRandScale, "barbuleLengthRandScale"},
                            {info.forcePerSegment, "forcePerSegment"},
                            {info.turnAtForce, "turnAtForce"},
                            {info.rotateDegree, "rotateDegree"},
                            {info.upDownLength, "upDownLength"},
                            {info.rachisNoiseFrequency, "rachisNoiseFrequency"},
                            {info.barbuleNoiseFrequency, "barbuleNoiseFrequency"},
                            {info.noisePhase[0], "noisePhase"},
                            {info.noisePhase[1], "noisePhase"},
                            {info.barbuleGapFrequency, "barbuleGapFrequency"},
                            {info.barbuleGapPhase, "barbuleGapPhase"},
                            {info.barbuleGapThreshold, "barbuleGapThreshold"},
                            {info.barbuleGapSize, "barbuleGapSize"},
                            {info.barbuleThick, "barbuleThick"},
                            {info.barbuleRandThick, "barbuleRandThick"},
                            {info.proxyBoundingBoxScale[0], "proxyBoundingBoxScale"},
                            {info.proxyBoundingBoxScale[1], "proxyBoundingBoxScale"},
                            {info.proxyBoundingBoxScale[2], "proxyBoundingBoxScale"},
                            {info.uvProjectScale, "uvProjectScale"},
                            {info.barbuleLengthThreshold, "barbuleLengthThreshold"},
                            {keys.stepAngle, "keyBarbuleStepAngle"}})) {
        refusal = quoted(attribute) + " is not a finite number in single precision";
        return false;
    }
    for (unsigned int k = 0; k < keyCount; ++k) {
        if (!std::isfinite(keys.startAngles[k]) || !std::isfinite(keys.keyPositions[k])) {
            refusal = "\"keyBarbuleStartAngle" + std::to_string(k + 1) + "\" or \"keyBarbulePos" +
                      std::to_string(k + 1) + "\" is not a finite number in single precision";
            return false;
        }
    }
    const struct {
        float frequency, phase;
        const char *frequencyName, *phaseName;
    } noises[] = {
        {info.rachisNoiseFrequency, info.noisePhase[0], "rachisNoiseFrequency", "noisePhase"},
        {info.barbuleNoiseFrequency, info.noisePhase[1], "barbuleNoiseFrequency", "noisePhase"},
        {info.barbuleGapFrequency, info.barbuleGapPhase, "barbuleGapFrequency", "barbuleGapPhase"}};
    for (const auto& noise : noises) {
        if (!noiseInRange(noise.frequency, noise.phase)) {
            refusal = quoted(noise.frequencyName) + " and " + quoted(noise.phaseName) +
                      " reach noise coordinates beyond the limit of 1e+08";
            return false;
        }
    }

    rachisPointCount = info.rachisPointCount < 2 ? 2 : info.rachisPointCount;
    barbuleCount = info.barbuleCount < 0 ? 0 : info.barbuleCount;
    barbulePointCount = info.barbulePointCount < 1 ? 1 : info.barbulePointCount;
    const long long sidePoints = (static_cast<long long>(barbuleCount) + 1) * barbulePointCount;
    if (rachisPointCount > maxRachisPointCount) {
        refusal = "\"rachisSegment\" gives " + std::to_string(rachisPointCount) +
                  " rachis points, more than the limit of " + std::to_string(maxRachisPointCount);
    } else if (barbuleCount > maxBarbuleCount) {
        refusal = "\"barbuleNum\" (times the quality) gives " + std::to_string(barbuleCount) +
                  " barbules per side, more than the limit of " + std::to_string(maxBarbuleCount);
    } else if (barbulePointCount > maxBarbulePointCount) {
        refusal = "\"barbuleSegments\" gives " + std::to_string(barbulePointCount) +
                  " points per barbule, more than the limit of " +
                  std::to_string(maxBarbulePointCount);
    } else if (sidePoints > maxBarbulePointsPerSide) {
        refusal = "\"barbuleNum\" and \"barbuleSegments\" give " + std::to_string(sidePoints) +
                  " barbule points per side, more than the limit of " +
                  std::to_string(maxBarbulePointsPerSide);
    }
    if (!refusal.empty()) {
        return false;
    }

    const struct {
        rampSnapshot& snapshot;
        const MRampAttribute& ramp;
        const char* attribute;
    } ramps[] = {{rachisThickScale, info.rachisThickScale, "rachisThickScale"},
                 {barbuleDensity, info.barbuleDensity, "barbuleDensity"},
                 {leftBarbuleLengthScale, info.leftBarbuleLengthScale, "leftBarbuleLengthScale"},
                 {rightBarbuleLengthScale, info.rightBarbuleLengthScale, "rightBarbuleLengthScale"},
                 {forceRotateScale, info.forceRotateScale, "forceRotateScale"},
                 {forcePerSegmentScale, info.forcePerSegmentScale, "forcePerSegmentScale"},
                 {barbuleUpDownBarbule, info.barbuleUpDownBarbule, "barbuleUpDownBarbule"},
                 {barbuleUpDownRachis, info.barbuleUpDownRachis, "barbuleUpDownRachis"},
                 {barbuleThickScale, info.barbuleThickScale, "barbuleThickScale"},
                 {barbuleThickAdjust, info.barbuleThickAdjust, "barbuleThickAdjust"}};
    for (const auto& ramp : ramps) {
        if (!ramp.snapshot.read(ramp.ramp) && refusal.empty()) {
            refusal = "a ramp entry of " + quoted(ramp.attribute) + " is not a finite number";
        }
    }
    const MRampAttribute none;
    for (unsigned int k = 0; k < 4; ++k) {
        if (!rotateRamps[k].read(k < keyCount ? keys.rotateRamps[k] : none) && refusal.empty()) {
            refusal =
                "a ramp entry of \"kbRotate" + std::to_string(k + 1) + "\" is not a finite number";
        }
    }
    return refusal.empty();
}

long long featherPointCount(const buildInputs& inputs) {
    return inputs.rachisPointCount +
           2 * (static_cast<long long>(inputs.barbuleCount) + 1) * inputs.barbulePointCount;
}

std::string rachisTubeProblem(const buildInputs& inputs, int rachisSides, bool wanted) {
    const unsigned long long vertices =
        static_cast<unsigned long long>(inputs.rachisPointCount) *
        static_cast<unsigned long long>(rachisSides > 0 ? rachisSides : 0);
    if (!wanted || vertices <= maxRachisTubeVertices) {
        return std::string();
    }
    return "\"rachisSegment\" and \"rachisSides\" give " + std::to_string(vertices) +
           " rachis tube vertices, more than the limit of " +
           std::to_string(maxRachisTubeVertices) + "; the rachis meshes are not built";
}

bool pathIsFinite(const turtlePath& path) {
    for (const turtleFrame& f : path.frames) {
        for (const float v :
             {f.position.x, f.position.y, f.position.z, f.normal.x, f.normal.y, f.normal.z}) {
            if (!std::isfinite(v)) {
                return false;
            }
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

float narrowToFloat(double value) {
    const double largest = std::numeric_limits<float>::max();
    if (value > largest) {
        return std::numeric_limits<float>::infinity();
    }
    if (value < -largest) {
        return -std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(value);
}
