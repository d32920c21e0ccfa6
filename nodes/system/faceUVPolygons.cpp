#include "nodes/system/faceUVPolygons.h"

#include <maya/MItMeshPolygon.h>

#include <algorithm>

void faceUVPolygons::clear() {
    faceIds.clear();
    offsets.assign(1, 0);
    polygonU.clear();
    polygonV.clear();
}

void faceUVPolygons::append(int faceId, const MFloatArray& u, const MFloatArray& v) {
    const unsigned int count = std::min(u.length(), v.length());
    for (unsigned int k = 0; k < count; ++k) {
        polygonU.push_back(u[k]);
        polygonV.push_back(v[k]);
    }
    faceIds.push_back(faceId);
    offsets.push_back(static_cast<unsigned int>(polygonU.size()));
}

MStatus readFaceUVPolygons(MItMeshPolygon& faces, const MString& uvSetName,
                           faceUVPolygons& polygons) {
    polygons.clear();
    MStatus last = MS::kSuccess;
    for (faces.reset(); !faces.isDone(); faces.next()) {
        MFloatArray u, v;
        last = faces.getUVs(u, v, &uvSetName);
        if (!last) {
            u.clear();
            v.clear();
        }
        polygons.append(static_cast<int>(faces.index()), u, v);
    }
    faces.reset();
    return last;
}
