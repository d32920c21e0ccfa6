#include "fuzzDescription.h"

#include "featherFixtures.h"
#include "fuzzSupport.h"

#include "feather/barbules.h"
#include "feather/featherGenerator.h"

#include <maya/MFloatArray.h>
#include <maya/MIntArray.h>
#include <maya/MRampAttribute.h>

#include <cfloat>
#include <climits>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <limits>

namespace fuzz {
namespace {

// Mostly a value in [low, high]; now and then one a description should never hold.
float pickFloat(FuzzedDataProvider& in, float low, float high) {
    switch (in.ConsumeIntegralInRange<int>(0, 31)) {
    case 0:
        return std::numeric_limits<float>::quiet_NaN();
    case 1:
        return std::numeric_limits<float>::infinity();
    case 2:
        return -std::numeric_limits<float>::infinity();
    case 3:
        return FLT_MAX;
    case 4:
        return -FLT_MAX;
    case 5:
        return 1e-40f; // subnormal
    case 6:
        return 1e8f; // the noise lattice's edge
    case 7:
        return 3e9f;
    case 8:
        return -(high - low) * 1000.0f;
    case 9: {
        const uint32_t bits = in.ConsumeIntegral<uint32_t>();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    default:
        return in.ConsumeFloatingPointInRange(low, high);
    }
}

// Mostly in [low, high]; sometimes one of the edge values (minimums, int extremes, the first
// value past a build limit).
int pickInt(FuzzedDataProvider& in, int low, int high, std::initializer_list<int> edges) {
    if (in.ConsumeIntegralInRange<int>(0, 15) != 0 || edges.size() == 0)
        return in.ConsumeIntegralInRange(low, high);
    const size_t which = in.ConsumeIntegralInRange<size_t>(0, edges.size() - 1);
    return *(edges.begin() + which);
}

short pickShort(FuzzedDataProvider& in, std::initializer_list<short> values) {
    if (in.ConsumeIntegralInRange<int>(0, 15) == 0)
        return in.ConsumeIntegral<short>();
    return *(values.begin() + in.ConsumeIntegralInRange<size_t>(0, values.size() - 1));
}

MColor pickColor(FuzzedDataProvider& in) {
    return MColor(pickFloat(in, 0.0f, 1.0f), pickFloat(in, 0.0f, 1.0f), pickFloat(in, 0.0f, 1.0f),
                  pickFloat(in, 0.0f, 1.0f));
}

void fillRamp(FuzzedDataProvider& in, MRampAttribute ramp) {
    MIntArray indexes;
    MFloatArray positions, values;
    MIntArray interps;
    ramp.getEntries(indexes, positions, values, interps);
    if (indexes.length() > 0)
        ramp.deleteEntries(indexes);
    positions.clear();
    values.clear();
    interps.clear();
    const int entries = in.ConsumeIntegralInRange(0, 4);
    for (int e = 0; e < entries; ++e) {
        positions.append(pickFloat(in, 0.0f, 1.0f));
        values.append(pickFloat(in, 0.0f, 1.5f));
        interps.append(in.ConsumeIntegralInRange(-1, 4));
    }
    if (entries > 0)
        ramp.addEntries(positions, values, interps);
}

MObject rampNode() {
    static MObject node;
    if (node.isNull())
        node = fixtures::createRampNode();
    return node;
}

void decodeDescription(FuzzedDataProvider& in, featherInfo& info) {
    const MObject node = rampNode();
    fixtures::defaultDescription(info, node);
    info.curveType = pickShort(in, {0, 1});
    info.direction = pickShort(in, {0, 1});
    info.rachisPosition = pickFloat(in, 0.0f, 1.0f);
    info.rachisRenderAs = pickShort(in, {0, 1, 3});
    info.rachisPointCount = pickInt(in, 2, 48, {1, 0, -3, INT_MIN, INT_MAX, (1 << 20) + 1});
    info.rachisSides = pickInt(in, 3, 16, {0, 2, -1, INT_MIN, INT_MAX, 1 << 23});
    info.rachisThick = pickFloat(in, 0.0f, 2.0f);
    info.rachisStart = pickFloat(in, 0.0f, 1.0f);
    info.rachisEnd = pickFloat(in, 0.0f, 1.0f);
    info.barbuleNum = pickInt(in, 0, 48, {-1, INT_MAX});
    info.quality = pickFloat(in, 0.0f, 2.0f);
    info.barbuleCount = pickInt(in, 0, 40, {-1, INT_MIN, INT_MAX, (1 << 20) + 1});
    info.barbulePointCount = pickInt(in, 1, 20, {0, -1, INT_MIN, INT_MAX, (1 << 16) + 1});
    info.barbuleLength = pickFloat(in, 0.0f, 1.0f);
    info.barbuleLengthRandScale = pickFloat(in, 0.001f, 1.001f);
    info.forcePerSegment = pickFloat(in, 0.0f, 1.0f);
    info.turnAtForce = pickFloat(in, 0.0f, 2.0f);
    info.rotateDegree = pickFloat(in, -90.0f, 90.0f);
    info.upDownLength = pickFloat(in, -10.0f, 10.0f);
    info.upDownNoise = in.ConsumeBool();
    info.rachisNoiseFrequency = pickFloat(in, 0.0f, 50.0f);
    info.barbuleNoiseFrequency = pickFloat(in, 0.0f, 50.0f);
    info.noisePhase[0] = pickFloat(in, -10.0f, 10.0f);
    info.noisePhase[1] = pickFloat(in, -10.0f, 10.0f);
    info.barbuleGapFrequency = pickFloat(in, 0.0f, 20.0f);
    info.barbuleGapPhase = pickFloat(in, -10.0f, 10.0f);
    info.barbuleGapThreshold = pickFloat(in, 0.0f, 1.0f);
    info.barbuleGapSize = pickFloat(in, 0.0f, 90.0f);
    info.barbuleThick = pickFloat(in, 0.0f, 1.0f);
    info.barbuleRandThick = pickFloat(in, 0.0f, 1.0f);
    info.uniformWidth = in.ConsumeBool();
    for (float& margin : info.proxyBoundingBoxScale)
        margin = pickFloat(in, 0.0f, 1.0f);
    info.rachisRootColor = pickColor(in);
    info.rachisTipColor = pickColor(in);
    info.rootColor = pickColor(in);
    info.tipColor = pickColor(in);
    info.uvProjectScale = pickFloat(in, 0.0f, 2.0f);
    info.randSeed = in.ConsumeIntegral<int>();
    info.outputFeatherMesh = in.ConsumeBool();
    info.combineBarbules = in.ConsumeBool();
    info.barbuleLengthThreshold = pickFloat(in, 0.0f, 1.0f);

    keyBarbuleSettings& keys = info.keyBarbuleSet;
    keys.stepAngle = pickFloat(in, -90.0f, 90.0f);
    // Four keys of each kind as a rule, but any list may come short or long.
    const bool ragged = in.ConsumeIntegralInRange(0, 7) == 0;
    keys.keyPositions.resize(ragged ? in.ConsumeIntegralInRange(0, 5) : 4);
    for (float& position : keys.keyPositions)
        position = pickFloat(in, 0.0f, 1.0f);
    keys.startAngles.resize(ragged ? in.ConsumeIntegralInRange(0, 5) : 4);
    for (float& angle : keys.startAngles)
        angle = pickFloat(in, -90.0f, 90.0f);
    keys.rotateRamps.resize(ragged ? in.ConsumeIntegralInRange(0, 5) : 4);
    for (size_t k = 0; k < keys.rotateRamps.size(); ++k)
        keys.rotateRamps[k] = fixtures::ramp(node, 10 + static_cast<int>(k % 4));

    for (int r = 0; r < 14; ++r)
        if (in.ConsumeBool())
            fillRamp(in, fixtures::ramp(node, r));
}

void decodePath(FuzzedDataProvider& in, turtlePath& path) {
    const int frames = in.ConsumeIntegralInRange(0, 40);
    const bool curved = in.ConsumeBool();
    const turtlePath base =
        frames < 2 ? fixtures::straightPath(2, 3.0f)
                   : (curved ? fixtures::curvedPath(frames) : fixtures::straightPath(frames, 3.0f));
    path.reset();
    for (int f = 0; f < frames; ++f) {
        MFloatPoint position = base.frames[static_cast<size_t>(std::min(f, 1))].position;
        if (frames >= 2)
            position = base.frames[static_cast<size_t>(f)].position;
        MFloatVector normal(0.0f, 1.0f, 0.0f);
        switch (in.ConsumeIntegralInRange(0, 7)) {
        case 0: // moved
            position.x += pickFloat(in, -1.0f, 1.0f);
            position.y += pickFloat(in, -1.0f, 1.0f);
            position.z += pickFloat(in, -1.0f, 1.0f);
            break;
        case 1: // a normal of any length, zero and non-finite included
            normal = MFloatVector(pickFloat(in, -1.0f, 1.0f), pickFloat(in, -1.0f, 1.0f),
                                  pickFloat(in, -1.0f, 1.0f));
            break;
        case 2: // on top of the frame before
            if (!path.frames.empty())
                position = path.frames.back().position;
            break;
        default:
            break;
        }
        path.append(position, normal);
    }
    path.scale = pickFloat(in, 0.0f, 2.0f);
    path.growVertexID = in.ConsumeIntegral<int>();
}

bool isCleared(const featherGeometry& g) {
    return g.rachisPoints.length() == 0 && g.leftBarbules.empty() && g.rightBarbules.empty() &&
           g.rachisMesh.points.length() == 0 && g.barbuleMesh.points.length() == 0;
}

} // namespace

void buildFuzzedFeathers(FuzzedDataProvider& in, fuzzedFeathers& out) {
    decodeDescription(in, out.info);
    turtlePath path;
    decodePath(in, path);

    featherGenerator generator;
    generator.info = &out.info;
    const int count = in.ConsumeIntegralInRange(1, 3);
    out.feathers.assign(static_cast<size_t>(count), featherGeometry());
    for (featherGeometry& feather : out.feathers) {
        const bool built = buildFeather(generator, path, feather, in.ConsumeIntegral<unsigned>());
        if (!built)
            check(isCleared(feather), "a refused build leaves the geometry cleared");
        feather.u = pickFloat(in, 0.0f, 1.0f);
        feather.v = pickFloat(in, 0.0f, 1.0f);
        feather.mainColor = pickColor(in);
        feather.name = MString(in.ConsumeRandomLengthString(16).c_str());
        if (in.ConsumeBool())
            feather.dropBuildOnlyData();
        // Every other path: a different guide for each feather.
        if (in.ConsumeBool())
            decodePath(in, path);
    }

    out.node.name = in.ConsumeRandomLengthString(24);
    out.node.type = "quillo";
    out.node.feathers = &out.feathers;
    out.node.curveType = out.info.curveType;
    out.node.rachisRenderAs = out.info.rachisRenderAs;
    out.node.rachisThick = out.info.rachisThick;
    out.node.rachisSides = out.info.rachisSides;
    out.node.outputFeatherMesh = out.info.outputFeatherMesh;
}

} // namespace fuzz
