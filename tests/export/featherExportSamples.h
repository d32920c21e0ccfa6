#pragma once
// Small hand-built feathers for the RIB and OBJ writer tests: every count and value is known,
// so the tests can check the written data against it.

#include "export/featherExportNode.h"

#include <vector>

namespace samples {

// A feather along +x: a rachis of `rachisPoints` points at y = 0 with thickness 0.5 .. and
// normals +y; `left` barbules of 3 points going -z and `right` of 4 points going +z, barbule
// thickness per point (1, 0.5, 0.25, 0.125), thickness factor 2 per barbule. Everything sits
// at x in [0, 4], so boxes are easy to check. u, v = (0.25, 0.75).
inline featherGeometry featherAlongX(unsigned int rachisPoints, unsigned int left,
                                     unsigned int right) {
    featherGeometry g;
    for (unsigned int k = 0; k < rachisPoints; ++k) {
        const float x = 4.0f * static_cast<float>(k) / static_cast<float>(rachisPoints - 1);
        g.rachisPoints.append(MFloatPoint(x, 0.0f, 0.0f));
        g.rachisNormals.append(MFloatVector(0.0f, 1.0f, 0.0f));
        g.rachisThickness.append(0.5f - 0.1f * static_cast<float>(k) /
                                            static_cast<float>(rachisPoints - 1));
    }
    g.rachisLength = 4.0f;
    const auto side = [&](unsigned int count, unsigned int points, float dz,
                          std::vector<MFloatPointArray>& curves,
                          std::vector<MFloatVectorArray>& normals, MFloatArray& positions,
                          MFloatArray& thickness, float positionStart) {
        for (unsigned int i = 0; i < count; ++i) {
            const float x = 0.5f + 3.0f * static_cast<float>(i) / static_cast<float>(count);
            MFloatPointArray curve;
            MFloatVectorArray up;
            for (unsigned int j = 0; j < points; ++j) {
                curve.append(MFloatPoint(x + 0.1f * static_cast<float>(j), 0.0f,
                                         dz * static_cast<float>(j)));
                up.append(MFloatVector(0.0f, 0.0f, 1.0f));
            }
            curves.push_back(curve);
            normals.push_back(up);
            positions.append(positionStart + x / 4.0f);
            thickness.append(2.0f);
        }
    };
    side(left, 3, -0.5f, g.leftBarbules, g.leftNormals, g.leftPositions, g.leftThickness, 0.0f);
    side(right, 4, 0.5f, g.rightBarbules, g.rightNormals, g.rightPositions, g.rightThickness, 1.0f);
    for (const float t : {1.0f, 0.5f, 0.25f, 0.125f})
        g.barbuleThickness.append(t);
    g.u = 0.25f;
    g.v = 0.75f;
    return g;
}

// A quad strip of `quads` faces along x, with UVs (one per point), for the meshes.
inline featherMeshData stripMesh(unsigned int quads, float y) {
    featherMeshData mesh;
    for (unsigned int q = 0; q <= quads; ++q)
        for (const float z : {-0.1f, 0.1f}) {
            mesh.points.append(MFloatPoint(static_cast<float>(q), y, z));
            mesh.uArray.append(z < 0.0f ? 0.0f : 1.0f);
            mesh.vArray.append(static_cast<float>(q) / static_cast<float>(quads));
        }
    for (unsigned int q = 0; q < quads; ++q) {
        const int a = static_cast<int>(2 * q);
        mesh.polygonCounts.append(4);
        for (const int c : {a, a + 1, a + 3, a + 2}) {
            mesh.polygonConnects.append(c);
            mesh.uvIds.append(c);
        }
    }
    return mesh;
}

} // namespace samples
