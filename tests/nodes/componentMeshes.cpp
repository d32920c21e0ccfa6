#include "componentMeshes.h"

#include <maya/MFloatArray.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnMesh.h>
#include <maya/MFnMeshData.h>
#include <maya/MIntArray.h>

#include <gtest/gtest.h>

namespace {

MObject meshOf(const MFloatPointArray& points, const MIntArray& counts, const MIntArray& connects,
               const MFloatArray& u, const MFloatArray& v) {
    MFnMeshData dataFn;
    MObject data = dataFn.create();
    MFnMesh fn;
    MStatus status;
    fn.create(static_cast<int>(points.length()), static_cast<int>(counts.length()), points, counts,
              connects, u, v, data, &status);
    EXPECT_TRUE(status) << "test mesh refused";
    MIntArray uvIds;
    for (unsigned int k = 0; k < connects.length(); ++k)
        uvIds.append(connects[k]);
    EXPECT_TRUE(fn.assignUVs(counts, uvIds));
    return data;
}

} // namespace

MObject stripMesh(int quads) {
    MFloatPointArray points;
    MFloatArray u, v;
    for (int k = 0; k < 2 * (quads + 1); ++k) {
        points.append(MFloatPoint(static_cast<float>(k / 2), 0.0f, static_cast<float>(k % 2)));
        u.append(quads > 0 ? static_cast<float>(k / 2) / static_cast<float>(quads) : 0.0f);
        v.append(static_cast<float>(k % 2));
    }
    MIntArray counts, connects;
    for (int j = 0; j < quads; ++j) {
        counts.append(4);
        for (int id : {2 * j, 2 * j + 1, 2 * j + 3, 2 * j + 2})
            connects.append(id);
    }
    return meshOf(points, counts, connects, u, v);
}

MObject triangleMesh() {
    MFloatPointArray points;
    points.append(MFloatPoint(0, 0, 0));
    points.append(MFloatPoint(1, 0, 0));
    points.append(MFloatPoint(0, 0, 1));
    MIntArray counts, connects;
    counts.append(3);
    for (int id : {0, 2, 1})
        connects.append(id);
    MFloatArray u, v;
    for (int k = 0; k < 3; ++k) {
        u.append(0.0f);
        v.append(0.0f);
    }
    return meshOf(points, counts, connects, u, v);
}

MObject growQuad() {
    MFloatPointArray points;
    MFloatArray u, v;
    for (const MFloatPoint& p :
         {MFloatPoint(0, 0, 0), MFloatPoint(2, 0, 0), MFloatPoint(2, 0, 2), MFloatPoint(0, 0, 2)}) {
        points.append(p);
        u.append(p.x / 2.0f);
        v.append(p.z / 2.0f);
    }
    MIntArray counts, connects;
    counts.append(4);
    for (int id : {1, 0, 3, 2})
        connects.append(id);
    return meshOf(points, counts, connects, u, v);
}

std::string addMeshShape(host::Scene& scene, const std::string& name, MObject data,
                         const MVector& offset) {
    EXPECT_TRUE(scene.createNode("transform", name)) << scene.lastError();
    EXPECT_TRUE(scene.setAttr(name + ".t", std::vector<double>{offset.x, offset.y, offset.z}));
    // The shape stores the mesh as its own attributes, as a mesh without history does.
    MFnMesh source(data);
    MFloatPointArray points;
    MIntArray counts, connects, uvCounts, uvIds;
    MFloatArray u, v;
    source.getPoints(points);
    source.getVertices(counts, connects);
    source.getUVs(u, v);
    source.getAssignedUVs(uvCounts, uvIds);
    MObject parent = scene.findNode(name);
    MFnMesh fn;
    MStatus status;
    MObject shape = fn.create(static_cast<int>(points.length()), static_cast<int>(counts.length()),
                              points, counts, connects, u, v, parent, &status);
    EXPECT_TRUE(status);
    EXPECT_TRUE(fn.assignUVs(uvCounts, uvIds));
    return MFnDependencyNode(shape).name().asChar();
}
