#pragma once
// One built feather: the rachis, both rows of barbules and, on request, their polygon meshes.
// World space. A value type: nodes keep vectors of it and copy it. Builds append into it, so a
// caller clears it before reusing it for another feather.

#include "feather/featherMeshData.h"

#include <maya/MBoundingBox.h>
#include <maya/MColor.h>
#include <maya/MFloatArray.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MString.h>

#include <vector>

struct featherGeometry {
    // Empty, with a white main colour.
    featherGeometry();

    // mainColor (1, 1, 1, 1), empty name, seed 0, rachisLength 0, u = v = 0, every array and
    // mesh emptied, both boxes emptied.
    void clear();
    // Empties what only the build needs (barbule positions and lengths along the rachis) and
    // frees its storage, so that feathers kept for drawing hold no more than they draw.
    void dropBuildOnlyData();
    // The memory the feather holds: the record and every array's elements (by length, so
    // spare capacity is not counted).
    size_t heldBytes() const;

    MFloatPointArray rachisPoints;
    MFloatArray rachisThickness;     // per rachis point
    MFloatVectorArray rachisNormals; // per rachis point
    float rachisLength = 0.0f;       // polyline length of rachisPoints

    // One curve per kept barbule, root first. The key-barbule previews put all their curves
    // here instead (see keyBarbules.h).
    std::vector<MFloatPointArray> leftBarbules;
    MFloatArray leftPositions;                  // t of each barbule along the rachis, [0, 1]
    MFloatArray leftLengths;                    // walked length / full barbule length
    std::vector<MFloatVectorArray> leftNormals; // turtle up (or surface normal) per point
    MFloatArray leftThickness;                  // thickness factor per barbule
    std::vector<MFloatPointArray> rightBarbules;
    MFloatArray rightPositions; // t + 1, [1, 2]
    MFloatArray rightLengths;
    std::vector<MFloatVectorArray> rightNormals;
    MFloatArray rightThickness;
    MFloatArray barbuleThickness; // per barbule point, shared by all barbules

    float u = 0.0f; // guide UV of the feather, set by the caller
    float v = 0.0f;
    MColor mainColor;
    MString name;
    int seed = 0; // the seed of the last buildFeather

    MBoundingBox proxyBox; // extent of rachis and barbules with the description's margins
    MBoundingBox meshBox;  // bounds of the rachis tube
    featherMeshData rachisMesh;
    featherMeshData barbuleMesh;
};

// True when the feather's rachis points, rachis length and extent box are finite numbers. A build
// from a guide or a scale that is huge but finite can still overflow single precision on the way;
// such a feather is no feather.
bool extentIsFinite(const featherGeometry& feather);
