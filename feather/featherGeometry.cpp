#include "feather/featherGeometry.h"

featherGeometry::featherGeometry() : mainColor(1.0f, 1.0f, 1.0f, 1.0f) {
    clear();
}

void featherGeometry::clear() {
    rachisPoints.clear();
    rachisThickness.clear();
    rachisNormals.clear();
    rachisLength = 0.0f;
    leftBarbules.clear();
    leftPositions.clear();
    leftLengths.clear();
    leftNormals.clear();
    leftThickness.clear();
    rightBarbules.clear();
    rightPositions.clear();
    rightLengths.clear();
    rightNormals.clear();
    rightThickness.clear();
    barbuleThickness.clear();
    u = 0.0f;
    v = 0.0f;
    mainColor = MColor(1.0f, 1.0f, 1.0f, 1.0f);
    name = MString();
    seed = 0;
    proxyBox.clear();
    meshBox.clear();
    rachisMesh.clear();
    barbuleMesh.clear();
}

void featherGeometry::dropBuildOnlyData() {
    // Assigned empty rather than cleared: clear() keeps the storage.
    leftPositions = MFloatArray();
    leftLengths = MFloatArray();
    rightPositions = MFloatArray();
    rightLengths = MFloatArray();
}
