#include "feather/featherGeometry.h"

#include <cmath>

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

bool extentIsFinite(const featherGeometry& feather) {
    const auto finite = [](double x, double y, double z) {
        return std::isfinite(x) && std::isfinite(y) && std::isfinite(z);
    };
    const MPoint low = feather.proxyBox.min(), high = feather.proxyBox.max();
    if (!std::isfinite(feather.rachisLength) || !finite(low.x, low.y, low.z) ||
        !finite(high.x, high.y, high.z))
        return false;
    for (unsigned int k = 0; k < feather.rachisPoints.length(); ++k) {
        const MFloatPoint& p = feather.rachisPoints[k];
        if (!finite(p.x, p.y, p.z))
            return false;
    }
    return true;
}
