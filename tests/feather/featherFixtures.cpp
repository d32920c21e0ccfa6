#include "featherFixtures.h"

#include "graph/nodeType.h"

#include <host/scene.h>

#include <maya/MDoubleArray.h>
#include <maya/MFloatArray.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnNurbsSurface.h>
#include <maya/MFnNurbsSurfaceData.h>
#include <maya/MIntArray.h>
#include <maya/MPointArray.h>
#include <maya/MPxNode.h>

#include <cmath>
#include <string>

namespace fixtures {
namespace {

const int rampCount = 14;
const char* const rampNames[rampCount][2] = {{"rachisThickScale", "racthS"},
                                             {"barbuleDensity", "barden"},
                                             {"leftBarbuleLengthScale", "lbl"},
                                             {"rightBarbuleLengthScale", "rbl"},
                                             {"forceRotateScale", "forrs"},
                                             {"forcePerSegmentScale", "forpss"},
                                             {"barbuleUpDownBarbule", "barbudb"},
                                             {"barbuleUpDownRachis", "barbudrs"},
                                             {"barbuleThickScale", "barbts"},
                                             {"barbuleThickAdjust", "barbtadj"},
                                             {"kbRotate1", "kbr1"},
                                             {"kbRotate2", "kbr2"},
                                             {"kbRotate3", "kbr3"},
                                             {"kbRotate4", "kbr4"}};

class rampHolder : public MPxNode {
  public:
    static MObject ramps[rampCount];
    static MObject tint;
    static void* creator() { return new rampHolder; }
    static MStatus initialize() {
        for (int i = 0; i < rampCount; ++i) {
            ramps[i] = MRampAttribute::createCurveRamp(rampNames[i][0], rampNames[i][1]);
            addAttribute(ramps[i]);
        }
        MFnNumericAttribute numeric;
        tint = numeric.createColor("tint", "ti");
        addAttribute(tint);
        return MS::kSuccess;
    }
};
MObject rampHolder::ramps[rampCount];
MObject rampHolder::tint;

const char* const typeName = "featherTestRamps";

} // namespace

MObject createRampNode() {
    static bool registered = false;
    if (!registered) {
        std::string error;
        host::TypeRegistry::instance().registerNode(typeName, MTypeId(0x7f101),
                                                    &rampHolder::creator, &rampHolder::initialize,
                                                    MPxNode::kDependNode, nullptr, &error);
        registered = true;
    }
    host::Scene& scene = host::Scene::current();
    std::string name;
    scene.createNode(typeName, "", "", &name);
    return scene.findNode(name);
}

MRampAttribute ramp(const MObject& node, int which) {
    return MRampAttribute(node, rampHolder::ramps[which]);
}

void setRamp(MRampAttribute r, std::initializer_list<rampEntry> entries) {
    MIntArray indexes;
    MFloatArray positions;
    MFloatArray values;
    MIntArray interps;
    r.getEntries(indexes, positions, values, interps);
    if (indexes.length() > 0) {
        r.deleteEntries(indexes);
    }
    positions.clear();
    values.clear();
    interps.clear();
    for (const rampEntry& e : entries) {
        positions.append(e.position);
        values.append(e.value);
        interps.append(e.interp);
    }
    r.addEntries(positions, values, interps);
}

void defaultDescription(featherInfo& info, const MObject& node) {
    info.reset();
    info.curveType = 1;
    info.direction = 0;
    info.rachisPosition = 0.5f;
    info.rachisRenderAs = 0;
    info.rachisPointCount = 4 + 1;
    info.rachisSides = 4;
    info.rachisThick = 0.5f;
    info.rachisStart = 0.0f;
    info.rachisEnd = 1.0f;
    info.barbuleNum = 100;
    info.quality = 1.0f;
    info.barbuleCount = 100;
    info.barbulePointCount = 8 + 1;
    info.barbuleLength = 0.2f;
    info.barbuleLengthRandScale = 0.0f + 0.001f;
    info.forcePerSegment = 0.0f;
    info.turnAtForce = 1.0f;
    info.rotateDegree = 5.0f;
    info.rachisNoiseFrequency = 10.0f;
    info.barbuleNoiseFrequency = 20.0f;
    info.noisePhase[0] = 0.0f;
    info.noisePhase[1] = 0.0f;
    info.upDownLength = 0.0f;
    info.upDownNoise = true;
    info.barbuleGapThreshold = 1.0f;
    info.barbuleGapFrequency = 5.0f;
    info.barbuleGapPhase = 0.0f;
    info.barbuleGapSize = 5.0f;
    info.barbuleThick = 0.3f;
    info.barbuleRandThick = 0.0f;
    info.uniformWidth = true;
    info.randSeed = 4352;
    info.proxyBoundingBoxScale[0] = 0.0f;
    info.proxyBoundingBoxScale[1] = 0.0f;
    info.proxyBoundingBoxScale[2] = 0.1f;
    info.uvProjectScale = 1.0f;
    info.rootColor = MColor(0.7f, 0.7f, 0.7f, 1.0f);
    info.tipColor = MColor(1.0f, 1.0f, 1.0f, 1.0f);
    info.rachisRootColor = MColor(0.3f, 0.3f, 0.3f, 1.0f);
    info.rachisTipColor = MColor(0.8f, 0.8f, 0.8f, 1.0f);
    info.outputFeatherMesh = false;
    info.combineBarbules = false;
    info.barbuleLengthThreshold = 0.0f;

    keyBarbuleSettings& keys = info.keyBarbuleSet;
    keys.clear();
    keys.stepAngle = 10.0f;
    keys.keyPositions = {0.0f, 0.2f, 0.8f, 1.0f};
    keys.startAngles = {60.0f, 40.0f, 20.0f, 10.0f};
    for (int k = 0; k < 4; ++k) {
        keys.rotateRamps.push_back(ramp(node, 10 + k));
        setConstant(keys.rotateRamps.back(), 0.5f);
    }

    info.rachisThickScale = ramp(node, 0);
    setRamp(info.rachisThickScale,
            {{0.0f, 1.0f, MRampAttribute::kLinear}, {1.0f, 0.2f, MRampAttribute::kLinear}});
    MRampAttribute* ones[] = {
        &info.barbuleDensity,      &info.leftBarbuleLengthScale, &info.rightBarbuleLengthScale,
        &info.forceRotateScale,    &info.forcePerSegmentScale,   &info.barbuleUpDownBarbule,
        &info.barbuleUpDownRachis, &info.barbuleThickScale,      &info.barbuleThickAdjust};
    const int which[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    for (int i = 0; i < 9; ++i) {
        *ones[i] = ramp(node, which[i]);
        setConstant(*ones[i], 1.0f);
    }
}

turtlePath straightPath(int frames, float length) {
    turtlePath path;
    for (int i = 0; i < frames; ++i) {
        const float x = length * static_cast<float>(i) / static_cast<float>(frames - 1);
        path.append(MFloatPoint(x, 0.0f, 0.0f), MFloatVector(0.0f, 1.0f, 0.0f));
    }
    return path;
}

turtlePath curvedPath(int frames) {
    turtlePath path;
    for (int i = 0; i < frames; ++i) {
        const float s = static_cast<float>(i) / static_cast<float>(frames - 1);
        const float a = 0.8f * s;
        MFloatVector normal(-std::sin(a) * 0.3f, 1.0f, 0.2f * s);
        normal.normalize();
        path.append(MFloatPoint(3.0f * std::sin(a), 0.5f * s * s, 3.0f - 3.0f * std::cos(a)),
                    normal);
    }
    return path;
}

namespace {

MObject makeSurface(const MPointArray& cvs, const MDoubleArray& knotsU, const MDoubleArray& knotsV,
                    unsigned int degreeU, unsigned int degreeV) {
    MFnNurbsSurfaceData data;
    MObject owner = data.create();
    MFnNurbsSurface surface;
    surface.create(cvs, knotsU, knotsV, degreeU, degreeV, MFnNurbsSurface::kOpen,
                   MFnNurbsSurface::kOpen, false, owner);
    return owner;
}

} // namespace

MObject planeSurface(double width, double depth) {
    MPointArray cvs;
    cvs.append(MPoint(0.0, 0.0, 0.0));
    cvs.append(MPoint(0.0, 0.0, depth));
    cvs.append(MPoint(width, 0.0, 0.0));
    cvs.append(MPoint(width, 0.0, depth));
    MDoubleArray knots;
    knots.append(0.0);
    knots.append(1.0);
    return makeSurface(cvs, knots, knots, 1, 1);
}

MObject domeSurface() {
    MPointArray cvs;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            const double bulge = (i == 1 || i == 2) && (j == 1 || j == 2) ? 1.0 : 0.0;
            cvs.append(MPoint(2.0 * i, bulge + 0.1 * i * j, 1.5 * j));
        }
    }
    MDoubleArray knots;
    for (double k : {0.0, 0.0, 0.0, 1.0, 1.0, 1.0}) {
        knots.append(k);
    }
    return makeSurface(cvs, knots, knots, 3, 3);
}

} // namespace fixtures
