#pragma once
// The polygon arrays of one feather mesh (the rachis tube or the barbule strips and sheets),
// in the order MFnMesh::create takes them. Faces are quads; uvIds index uArray / vArray and
// run parallel to polygonConnects.

#include "feather/turtleState.h"

#include <maya/MFloatArray.h>
#include <maya/MFloatPointArray.h>
#include <maya/MIntArray.h>

struct featherMeshData {
    MIntArray polygonCounts;
    MIntArray polygonConnects;
    MFloatPointArray points;
    MFloatArray uArray;
    MFloatArray vArray;
    MIntArray uvIds;

    // Empties all six arrays.
    void clear();
    // Appends other's faces, points and UVs; its connects are offset by this mesh's point
    // count and its uvIds by this mesh's UV count, both taken before the append.
    void append(const featherMeshData& other);
};

// One cross-section of a barbule strip at the turtle: side = up ^ heading (not normalised);
// appends position + side * width / 2 with u = 0 and position - side * width / 2 with u = 1,
// both at v = rampPosition.
void appendStripPair(featherMeshData& strip, const turtleState& turtle, float rampPosition,
                     float width);

// Closes a strip of 2k points (k pairs from appendStripPair) into k - 1 quads: for
// q = 0 .. k - 2 the quad (2q, 2q + 1, 2q + 3, 2q + 2), as connects and as uvIds.
void appendStripFaces(featherMeshData& strip);

// Faces of a side's combined sheet: `barbules` barbules of `pointsPerBarbule` points each,
// stored one after the other, point j of barbule a at j + a * pointsPerBarbule. For each
// barbule a but the last whose kept length is at least `threshold`, quads join it to the next
// barbule: (j + aP, j + 1 + aP, j + 1 + (a + 1)P, j + (a + 1)P), as connects and as uvIds.
// keptLengths holds one entry per barbule. Fewer than 2 points per barbule make no faces.
void appendCombinedFaces(featherMeshData& sheet, unsigned int barbules,
                         unsigned int pointsPerBarbule, const MFloatArray& keptLengths,
                         float threshold);
