#include "feather/featherMeshData.h"

void featherMeshData::clear() {
    polygonCounts.clear();
    polygonConnects.clear();
    points.clear();
    uArray.clear();
    vArray.clear();
    uvIds.clear();
}

namespace {

// Appends source, each element plus offset. One resize and indexed writes: the array classes'
// append is an out-of-line call per element.
template <typename Array> void appendShifted(Array& target, const Array& source, int offset) {
    const unsigned int base = target.length();
    const unsigned int n = source.length();
    target.setLength(base + n);
    for (unsigned int i = 0; i < n; ++i) {
        target[base + i] = source[i] + offset;
    }
}

template <typename Array> void appendAll(Array& target, const Array& source) {
    const unsigned int base = target.length();
    const unsigned int n = source.length();
    target.setLength(base + n);
    for (unsigned int i = 0; i < n; ++i) {
        target[base + i] = source[i];
    }
}

} // namespace

void featherMeshData::append(const featherMeshData& other) {
    const int pointOffset = static_cast<int>(points.length());
    const int uvOffset = static_cast<int>(uArray.length());
    appendShifted(polygonCounts, other.polygonCounts, 0);
    appendShifted(polygonConnects, other.polygonConnects, pointOffset);
    appendAll(points, other.points);
    appendShifted(uvIds, other.uvIds, uvOffset);
    appendAll(uArray, other.uArray);
    appendAll(vArray, other.vArray);
}

void appendStripPair(featherMeshData& strip, const turtleState& turtle, float rampPosition,
                     float width) {
    const MFloatVector offset = (turtle.up ^ turtle.heading) * width / 2.0f;
    strip.points.append(turtle.position + offset);
    strip.uArray.append(0.0f);
    strip.vArray.append(rampPosition);
    strip.points.append(turtle.position - offset);
    strip.uArray.append(1.0f);
    strip.vArray.append(rampPosition);
}

namespace {

void appendQuad(featherMeshData& mesh, int a, int b, int c, int d) {
    mesh.polygonCounts.append(4);
    for (int id : {a, b, c, d}) {
        mesh.polygonConnects.append(id);
        mesh.uvIds.append(id);
    }
}

} // namespace

void appendStripFaces(featherMeshData& strip) {
    const int pairs = static_cast<int>(strip.points.length() / 2);
    for (int q = 0; q + 1 < pairs; ++q) {
        appendQuad(strip, 2 * q, 2 * q + 1, 2 * q + 3, 2 * q + 2);
    }
}

void appendCombinedFaces(featherMeshData& sheet, unsigned int barbules,
                         unsigned int pointsPerBarbule, const MFloatArray& keptLengths,
                         float threshold) {
    if (pointsPerBarbule < 2) {
        return;
    }
    const int p = static_cast<int>(pointsPerBarbule);
    for (unsigned int a = 0; a + 1 < barbules && a < keptLengths.length(); ++a) {
        if (!(keptLengths[a] >= threshold)) {
            continue;
        }
        const int row = static_cast<int>(a) * p;
        for (int j = 0; j + 1 < p; ++j) {
            appendQuad(sheet, j + row, j + 1 + row, j + 1 + row + p, j + row + p);
        }
    }
}
