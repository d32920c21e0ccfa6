#pragma once
// One node's feathers with the node settings the writers need, read from the scene
// by the export command; the defaults are the feather node's attribute defaults, used when a
// node has no description node to read them from.

#include "feather/featherGeometry.h"

#include <string>
#include <vector>

class featherSource;

struct featherExportNode {
    std::string name; // the node's name
    std::string type; // its type name ("quillo")
    // The feathers: built ones, else a source that builds them while they are written
    // (featherSource.h); both null: none.
    const std::vector<featherGeometry>* feathers = nullptr;
    const featherSource* source = nullptr;

    short curveType = 1;            // "curveType": 0 linear, 1 cubic
    short rachisRenderAs = 0;       // "rachisRenderAs": 0 curve, 1 subdivision mesh, 3 none
    float rachisThick = 0.5f;       // "rachisThick": the tube radius is thickness x rachisThick
    int rachisSides = 4;            // "rachisSides", for a tube the build did not make
    bool outputFeatherMesh = false; // "outputFeatherMesh": the OBJ carries the meshes
    std::string preFeatherRib, postFeatherRib;         // around each feather's curves
    std::string preFeatherMeshRib, postFeatherMeshRib; // around each rachis mesh
};

// Values of the "curveType" and "rachisRenderAs" enums.
constexpr short linearCurveType = 0;
constexpr short rachisAsCurve = 0;
constexpr short rachisAsSubdivisionMesh = 1;
