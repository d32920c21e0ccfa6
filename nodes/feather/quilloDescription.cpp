#include "nodes/feather/quilloDescription.h"

#include "feather/buildInputs.h"
#include "feather/featherInfo.h"
#include "nodes/feather/quillo.h"

#include <maya/MDataHandle.h>
#include <maya/MRampAttribute.h>

#include <climits>

namespace {

// Plain copies, by the type of the description field. Doubles are stored as floats.
struct shortField {
    MObject* attribute;
    short featherInfo::*field;
};
struct boolField {
    MObject* attribute;
    bool featherInfo::*field;
};
struct intField {
    MObject* attribute;
    int featherInfo::*field;
};
struct floatField {
    MObject* attribute;
    float featherInfo::*field;
};
struct colourField {
    MObject* attribute;
    MColor featherInfo::*field;
};
struct rampField {
    MObject* attribute;
    MRampAttribute featherInfo::*field;
};

const shortField shortFields[] = {
    {&quillo::direction, &featherInfo::direction},
    {&quillo::curveType, &featherInfo::curveType},
    {&quillo::rachisRenderAs, &featherInfo::rachisRenderAs},
};

const boolField boolFields[] = {
    {&quillo::outputFeatherMesh, &featherInfo::outputFeatherMesh},
    {&quillo::combineBarbules, &featherInfo::combineBarbules},
    {&quillo::uniformWidth, &featherInfo::uniformWidth},
    {&quillo::upDownNoise, &featherInfo::upDownNoise},
};

const intField intFields[] = {
    {&quillo::rachisSides, &featherInfo::rachisSides},
    {&quillo::barbuleNum, &featherInfo::barbuleNum},
    {&quillo::randSeed, &featherInfo::randSeed},
};

const floatField floatFields[] = {
    {&quillo::barbuleLengthThreshold, &featherInfo::barbuleLengthThreshold},
    {&quillo::rachisPosition, &featherInfo::rachisPosition},
    {&quillo::rachisThick, &featherInfo::rachisThick},
    {&quillo::barbuleRandThick, &featherInfo::barbuleRandThick},
    {&quillo::rachisStart, &featherInfo::rachisStart},
    {&quillo::rachisEnd, &featherInfo::rachisEnd},
    {&quillo::forcePerSegment, &featherInfo::forcePerSegment},
    {&quillo::turnAtForce, &featherInfo::turnAtForce},
    {&quillo::rotateDegree, &featherInfo::rotateDegree},
    {&quillo::rachisNoiseFrequency, &featherInfo::rachisNoiseFrequency},
    {&quillo::barbuleNoiseFrequency, &featherInfo::barbuleNoiseFrequency},
    {&quillo::upDownLength, &featherInfo::upDownLength},
    {&quillo::barbuleGapThreshold, &featherInfo::barbuleGapThreshold},
    {&quillo::barbuleGapFrequency, &featherInfo::barbuleGapFrequency},
    {&quillo::barbuleGapPhase, &featherInfo::barbuleGapPhase},
    {&quillo::barbuleGapSize, &featherInfo::barbuleGapSize},
    {&quillo::barbuleLength, &featherInfo::barbuleLength},
    {&quillo::barbuleThick, &featherInfo::barbuleThick},
    {&quillo::uvProjectScale, &featherInfo::uvProjectScale},
};

const colourField colourFields[] = {
    {&quillo::rootColor, &featherInfo::rootColor},
    {&quillo::tipColor, &featherInfo::tipColor},
    {&quillo::rachisRootColor, &featherInfo::rachisRootColor},
    {&quillo::rachisTipColor, &featherInfo::rachisTipColor},
};

const rampField rampFields[] = {
    {&quillo::barbuleUpDownBarbule, &featherInfo::barbuleUpDownBarbule},
    {&quillo::barbuleUpDownRachis, &featherInfo::barbuleUpDownRachis},
    {&quillo::rachisThickScale, &featherInfo::rachisThickScale},
    {&quillo::barbuleThickScale, &featherInfo::barbuleThickScale},
    {&quillo::barbuleThickAdjust, &featherInfo::barbuleThickAdjust},
    {&quillo::barbuleDensity, &featherInfo::barbuleDensity},
    {&quillo::forceRotateScale, &featherInfo::forceRotateScale},
    {&quillo::forcePerSegmentScale, &featherInfo::forcePerSegmentScale},
    {&quillo::leftBarbuleLengthScale, &featherInfo::leftBarbuleLengthScale},
};

// The four key barbules, in the order 1 to 4.
struct keyBarbuleAttributes {
    MObject* position;
    MObject* startAngle;
    MObject* rotateRamp;
};
const keyBarbuleAttributes keyBarbules[] = {
    {&quillo::keyBarbulePos1, &quillo::keyBarbuleStartAngle1, &quillo::kbRotate1},
    {&quillo::keyBarbulePos2, &quillo::keyBarbuleStartAngle2, &quillo::kbRotate2},
    {&quillo::keyBarbulePos3, &quillo::keyBarbuleStartAngle3, &quillo::kbRotate3},
    {&quillo::keyBarbulePos4, &quillo::keyBarbuleStartAngle4, &quillo::kbRotate4},
};

// A count of segments as a count of points; the largest int stays as it is.
int pointsOf(int segments) {
    return segments == INT_MAX ? INT_MAX : segments + 1;
}

} // namespace

void readDescription(const MObject& node, MDataBlock& data, featherInfo& info) {
    for (const shortField& f : shortFields)
        info.*f.field = data.inputValue(*f.attribute).asShort();
    for (const boolField& f : boolFields)
        info.*f.field = data.inputValue(*f.attribute).asBool();
    for (const intField& f : intFields)
        info.*f.field = data.inputValue(*f.attribute).asInt();
    for (const floatField& f : floatFields)
        info.*f.field = static_cast<float>(data.inputValue(*f.attribute).asDouble());
    for (const colourField& f : colourFields) {
        const float3& rgb = data.inputValue(*f.attribute).asFloat3();
        info.*f.field = MColor(rgb[0], rgb[1], rgb[2], 1.0f);
    }
    for (const rampField& f : rampFields)
        info.*f.field = MRampAttribute(node, *f.attribute);

    info.rachisPointCount = pointsOf(data.inputValue(quillo::rachisSegment).asInt());
    info.barbulePointCount = pointsOf(data.inputValue(quillo::barbuleSegments).asInt());
    info.quality = static_cast<float>(data.inputValue(quillo::displayQuality).asInt()) / 100.0f;
    info.barbuleCount = truncateToInt(static_cast<float>(info.barbuleNum) * info.quality);
    info.barbuleLengthRandScale =
        static_cast<float>(data.inputValue(quillo::barbuleLengthRandScale).asDouble() + 0.001);

    const double2& phase = data.inputValue(quillo::noisePhase).asDouble2();
    info.noisePhase[0] = static_cast<float>(phase[0]);
    info.noisePhase[1] = static_cast<float>(phase[1]);
    const double3& margins = data.inputValue(quillo::proxyBoundingBoxScale).asDouble3();
    for (int k = 0; k < 3; ++k)
        info.proxyBoundingBoxScale[k] = static_cast<float>(margins[k]);

    keyBarbuleSettings& keys = info.keyBarbuleSet;
    keys.clear();
    keys.stepAngle = static_cast<float>(data.inputValue(quillo::keyBarbuleStepAngle).asDouble());
    for (const keyBarbuleAttributes& key : keyBarbules)
        keys.keyPositions.push_back(static_cast<float>(data.inputValue(*key.position).asDouble()));
    for (const keyBarbuleAttributes& key : keyBarbules)
        keys.startAngles.push_back(static_cast<float>(data.inputValue(*key.startAngle).asDouble()));
    for (const keyBarbuleAttributes& key : keyBarbules)
        keys.rotateRamps.push_back(MRampAttribute(node, *key.rotateRamp));

    const bool symmetric = data.inputValue(quillo::shapeSymmetry).asBool();
    info.rightBarbuleLengthScale = MRampAttribute(
        node, symmetric ? quillo::leftBarbuleLengthScale : quillo::rightBarbuleLengthScale);
}
