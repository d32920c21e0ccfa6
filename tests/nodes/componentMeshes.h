#pragma once
// Meshes for the component tests, as mesh data (world space is the data's own space).

#include <maya/MObject.h>
#include <maya/MString.h>
#include <maya/MVector.h>

#include <host/scene.h>

#include <string>

// A strip of `quads` unit quads along x in the y = 0 plane: vertex k at (k / 2, 0, k % 2),
// every normal +y, so 2 * (quads + 1) vertices. Map "map1" holds u = x / quads, v = z.
MObject stripMesh(int quads);
// One triangle: (0, 0, 0), (1, 0, 0), (0, 0, 1).
MObject triangleMesh();
// One 2 x 2 quad in y = 0 with corners (0,0,0) id 0, (2,0,0) id 1, (2,0,2) id 2, (0,0,2) id 3,
// listed in the polygon as 1 0 3 2; UVs in "map1" are (x / 2, z / 2).
MObject growQuad();

// A transform `name` at `offset` with a mesh shape under it holding the data's points, faces and
// "map1" UVs as its own attributes (a mesh without history). Returns the shape's name.
std::string addMeshShape(host::Scene& scene, const std::string& name, MObject data,
                         const MVector& offset = MVector());
