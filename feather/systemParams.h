#pragma once
// Feather-system parameters that the system's compute hands to the generator with each
// build. Only the feather-system side fills and reads them; defaults are the values a
// generator reset restores.

#include <maya/MString.h>
#include <maya/MStringArray.h>

struct systemParams {
    // Id of the borrowed description in the description registry; -1 when none.
    int featherId = -1;
    bool outputFeatherMesh = false;
    int guidsPerFeather = 1;
    float globalScale = 1.0f;
    bool useUVIFile = false;
    MString uviFile;
    // Never empty once filled: an empty set name becomes "map1".
    MString uvSetName;
    // Shift of every grid u and v.
    float uvTranslate[2] = {0.0f, 0.0f};
    // Random shortening of feathers, 0 to 1.
    float randScale = 0.0f;
    // Search radius for guides around a root, scene units; the attribute plus 1e-8.
    float radius = 10.0f;
    float power = 1.0f;
    int randomSeed = 0;
    // Source plug names of the scale, baldness, colour and radius textures, in that order.
    // Always four entries; they start empty and stay empty while unconnected.
    MStringArray textureNames = MStringArray(4, MString());
};
