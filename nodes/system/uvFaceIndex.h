#pragma once
// Which face of a mesh a u/v lies on: the first face, in iteration order, whose u/v polygon
// holds it (inside, on an edge or on a vertex, see uvInFace.h).
//
// `findFaceByScan` tests every face in order. `uvFaceIndex` gives the same answer for every
// u/v without the scan: a uniform grid of buckets over the faces' u/v bounding boxes narrows
// the faces to test, and the candidates are still tested in ascending iteration order, so the
// first hit is the scan's first hit. The boxes are closed, so a u/v on a shared edge or vertex
// finds every face that touches it, and the earliest of them wins as in the scan.

#include "nodes/system/faceUVPolygons.h"

#include <vector>

// Position (in iteration order) of the first face holding (u, v), or -1 when it lies outside
// every face. Non-finite u or v lie outside every face.
int findFaceByScan(const faceUVPolygons& polygons, float u, float v);

class uvFaceIndex {
  public:
    // Indexes `polygons`, which must stay alive and unchanged while the index is used.
    explicit uvFaceIndex(const faceUVPolygons& polygons);

    // Same result as findFaceByScan(polygons, u, v).
    int findFace(float u, float v) const;

  private:
    struct box {
        double uMin, uMax, vMin, vMax;
    };
    int bucketU(double u) const;
    int bucketV(double v) const;
    // Whether the face at `position` holds (u, v); the box check is exact for faces whose
    // u/v are finite: uvInFace finds nothing outside a polygon's closed bounding box.
    bool holds(unsigned int position, double u, double v) const;

    const faceUVPolygons& polygons;
    std::vector<box> boxes;
    // Faces tested for every u/v, in ascending position: those with a non-finite u/v (their
    // box says nothing) and those whose box spans too many buckets to list in each.
    std::vector<unsigned int> everywhere;
    // The u/v range of the bucketed faces and the grid over it.
    box bounds = {0.0, 0.0, 0.0, 0.0};
    int columns = 0, rows = 0;
    double columnScale = 0.0, rowScale = 0.0;
    // Bucket b (= row * columns + column) lists faces bucketFaces[bucketStart[b] ..
    // bucketStart[b + 1] - 1], in ascending position.
    std::vector<unsigned int> bucketStart;
    std::vector<unsigned int> bucketFaces;
};
