#pragma once
// The u/v polygon of every face a polygon iterator visits, read once and kept in iteration
// order, so that searches over many roots do not ask the mesh again for every root and face.

#include <maya/MFloatArray.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

#include <vector>

class MItMeshPolygon;

class faceUVPolygons {
  public:
    void clear();
    // Appends the next face in iteration order: its mesh face id and its u/v in vertex order
    // (the shorter list decides the vertex count; an empty polygon is outside every u/v).
    void append(int faceId, const MFloatArray& u, const MFloatArray& v);

    // Faces, in iteration order; `position` below is 0 .. count() - 1.
    unsigned int count() const { return static_cast<unsigned int>(faceIds.size()); }
    int faceId(unsigned int position) const { return faceIds[position]; }
    unsigned int vertexCount(unsigned int position) const {
        return offsets[position + 1] - offsets[position];
    }
    // The polygon's u and v, widened from float; vertexCount(position) entries each.
    const double* u(unsigned int position) const { return polygonU.data() + offsets[position]; }
    const double* v(unsigned int position) const { return polygonV.data() + offsets[position]; }

  private:
    std::vector<int> faceIds;
    // Face p's vertices are entries offsets[p] .. offsets[p + 1] - 1 of polygonU / polygonV.
    std::vector<unsigned int> offsets = {0};
    std::vector<double> polygonU, polygonV;
};

// Replaces `polygons` with the u/v polygons, in the UV set `uvSetName`, of every face of the
// iterator from its first. A face whose u/v cannot be read gets an empty polygon. Returns the
// status of the last face's u/v read (success when the iterator has no face); the iterator is
// left reset to its first face.
MStatus readFaceUVPolygons(MItMeshPolygon& faces, const MString& uvSetName,
                           faceUVPolygons& polygons);
