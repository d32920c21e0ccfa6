#include "feather/featherInfo.h"

#include "feather/errorReport.h"

#include <maya/M3dView.h>
#include <maya/MDagPath.h>
#include <maya/MFloatMatrix.h>
#include <maya/MMatrix.h>
#include <maya/MRenderUtil.h>

#include <algorithm>
#include <iostream>

void keyBarbuleSettings::clear() {
    stepAngle = 0.0f;
    startAngles.clear();
    keyPositions.clear();
    rotateRamps.clear();
}

unsigned int keyBarbuleSettings::keyCount() const {
    const size_t n = std::min(
        {startAngles.size(), keyPositions.size(), rotateRamps.size(), static_cast<size_t>(4)});
    return static_cast<unsigned int>(n);
}

featherInfo::featherInfo() {
    reset();
}

void featherInfo::reset() {
    turtleIds.clear();
    keyBarbuleSet.clear();

    // Fields the node always fills but that a reset leaves open start at the node's attribute
    // defaults, so that a reset record is fully defined.
    curveType = 1;
    direction = 0;
    rachisPosition = 0.5f;
    rachisRenderAs = 0;
    rachisPointCount = 10;
    rachisSides = 4;
    rachisThick = 1.0f;
    rachisStart = 0.0f;
    rachisEnd = 1.0f;
    rachisThickScale = MRampAttribute();

    barbuleCount = 100;
    barbuleNum = 100;
    quality = 1.0f;
    barbuleDensity = MRampAttribute();
    barbulePointCount = 10;
    barbuleLength = 1.0f;
    barbuleLengthRandScale = 0.1f;
    leftBarbuleLengthScale = MRampAttribute();
    rightBarbuleLengthScale = MRampAttribute();

    forcePerSegment = 2.0f;
    turnAtForce = 10.0f;
    rotateDegree = 1.0f;
    upDownLength = 1.0f;
    upDownNoise = true;
    barbuleUpDownBarbule = MRampAttribute();
    barbuleUpDownRachis = MRampAttribute();
    forceRotateScale = MRampAttribute();
    forcePerSegmentScale = MRampAttribute();
    rachisNoiseFrequency = 10.0f;
    barbuleNoiseFrequency = 20.0f;
    noisePhase[0] = 0.0f;
    noisePhase[1] = 0.0f;

    barbuleGapFrequency = 5.0f;
    barbuleGapPhase = 0.0f;
    barbuleGapThreshold = 1.0f;
    barbuleGapSize = 5.0f;

    barbuleThick = 1.0f;
    barbuleThickScale = MRampAttribute();
    barbuleThickAdjust = MRampAttribute();
    barbuleRandThick = 0.0f;
    uniformWidth = false;

    proxyBoundingBoxScale[0] = 1.0f;
    proxyBoundingBoxScale[1] = 1.0f;
    proxyBoundingBoxScale[2] = 1.0f;

    rachisRootColor = MColor(1.0f, 1.0f, 1.0f, 1.0f);
    rachisTipColor = MColor(1.0f, 1.0f, 1.0f, 1.0f);
    rootColor = MColor(1.0f, 1.0f, 1.0f, 1.0f);
    tipColor = MColor(1.0f, 1.0f, 1.0f, 1.0f);

    uvProjectScale = 1.0f;
    randSeed = 4352;
    outputFeatherMesh = false;
    combineBarbules = false;
    barbuleLengthThreshold = 0.0f;
}

MStatus sampleTexture(const MString& networkName, const MFloatArray& u, const MFloatArray& v,
                      MFloatVectorArray& colors, MFloatVectorArray& transparencies) {
    if (u.length() != v.length()) {
        const MStatus mismatch(MS::kInvalidParameter);
        reportApiError("featherInfo", __LINE__, mismatch);
        return mismatch;
    }
    // The shading network is sampled as seen from the active view's camera; without one the
    // identity stands in (the failure is reported, the sampling still runs).
    MFloatMatrix camera;
    MStatus viewStatus;
    M3dView view = M3dView::active3dView(&viewStatus);
    if (viewStatus != MS::kSuccess) {
        reportApiError("featherInfo", __LINE__, viewStatus);
    } else {
        MDagPath cameraPath;
        const MStatus cameraStatus = view.getCamera(cameraPath);
        if (cameraStatus != MS::kSuccess) {
            reportApiError("featherInfo", __LINE__, cameraStatus);
        } else {
            MStatus matrixStatus;
            const MMatrix world = cameraPath.inclusiveMatrix(&matrixStatus);
            if (matrixStatus != MS::kSuccess) {
                reportApiError("featherInfo", __LINE__, matrixStatus);
            } else {
                double rows[4][4];
                world.get(rows);
                camera = MFloatMatrix(rows);
            }
        }
    }

    // The sampler takes its inputs by non-const pointer.
    MFloatArray uCoords(u);
    MFloatArray vCoords(v);
    const MStatus status = MRenderUtil::sampleShadingNetwork(
        networkName, static_cast<int>(uCoords.length()), false, false, camera, nullptr, &uCoords,
        &vCoords, nullptr, nullptr, nullptr, nullptr, nullptr, colors, transparencies);
    if (status != MS::kSuccess) {
        reportApiError("featherInfo", __LINE__, status);
    }
    return status;
}
