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

namespace {

template <typename Array> size_t arrayBytes(const Array& a) {
    return a.length() * sizeof(a[0]);
}

size_t meshBytes(const featherMeshData& mesh) {
    return arrayBytes(mesh.polygonCounts) + arrayBytes(mesh.polygonConnects) +
           arrayBytes(mesh.points) + arrayBytes(mesh.uArray) + arrayBytes(mesh.vArray) +
           arrayBytes(mesh.uvIds);
}

} // namespace

size_t featherGeometry::heldBytes() const {
    size_t bytes = sizeof(featherGeometry) + arrayBytes(rachisPoints) +
                   arrayBytes(rachisThickness) + arrayBytes(rachisNormals) +
                   arrayBytes(leftPositions) + arrayBytes(leftLengths) + arrayBytes(leftThickness) +
                   arrayBytes(rightPositions) + arrayBytes(rightLengths) +
                   arrayBytes(rightThickness) + arrayBytes(barbuleThickness) +
                   meshBytes(rachisMesh) + meshBytes(barbuleMesh) + name.length();
    for (const auto* side : {&leftBarbules, &rightBarbules})
        for (const MFloatPointArray& curve : *side)
            bytes += sizeof(curve) + arrayBytes(curve);
    for (const auto* side : {&leftNormals, &rightNormals})
        for (const MFloatVectorArray& normals : *side)
            bytes += sizeof(normals) + arrayBytes(normals);
    return bytes;
}
