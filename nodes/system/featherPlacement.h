#pragma once
// Where the feathers of a system stand: a jittered, staggered grid of u/v (or the u/v of a UV
// info file) mapped onto the growth NURBS surface or mesh, then thinned for the viewport.
//
// Every step keeps the order of the roots: that order is the order in which feathers are
// built and seeded. Results depend only on the settings, the geometry and the seed.

#include "nodes/system/featherRoots.h"

#include <maya/MFloatArray.h>
#include <maya/MStatus.h>

class MDagPath;
class MItMeshPolygon;
class featherGenerator;
struct systemParams;

// The grid settings, read from the system's attributes at each compute.
struct gridSettings {
    // Cells along u and along v; 0 or less gives no roots.
    int uSegment = 10;
    int vSegment = 10;
    // Jitter amplitude as a fraction of half a cell, and the noise frequency (per u/v unit).
    double jitterDistance = 0.1;
    double jitterFrequency = 15.0;
    // Seeds the jitter noise (and, through systemParams, the display thinning).
    int randomSeed = 5;
    // Stagger: rows (by v index) alternate -/+ uvOffset[0] in u, columns (by u index)
    // alternate -/+ uvOffset[1] in v.
    double uvOffset[2] = {0, 0};
};

// Grids larger than this many cells give no roots: so many feathers cannot be built anyway,
// and the lists alone would exhaust memory.
constexpr long long maxGridCells = 1LL << 26;

// Replaces u and v with uSegment x vSegment positions over [uMin, uMax] x [vMin, vMax], u-major
// (the v index runs fastest): cell centres moved by gradient noise (jitterDistance half-cells
// at most about, frequency jitterFrequency, seeds randomSeed and randomSeed + 3052), then
// staggered by uvOffset. Cells narrower than 1e-6 along either side, a non-finite range, a
// count of 0 or less, or more than maxGridCells cells give empty lists. False when the counts
// are what refused the grid (more than maxGridCells cells, or cells narrower than 1e-6 over a
// range that is not), so that the caller can say so; true otherwise.
bool placementGrid(const gridSettings& grid, double uMin, double uMax, double vMin, double vMax,
                   MFloatArray& u, MFloatArray& v);

// Roots on a NURBS surface shape: the grid over parameters [0, 1]^2 shifted by
// params.uvTranslate, or the u/v of params.uviFile when params.useUVIFile is on (face ids and
// the shift are then ignored). The u/v are surface parameters as they stand; pairs the surface
// cannot evaluate are skipped. Positions are in world space. A UV info file announcing more
// than maxFileRoots positions is refused before it is read (uvInfoFile.h).
// Fails, with `roots` empty, when the path is not a NURBS surface shape, or when the UV info
// file is wanted but unnamed or unreadable (the reader shows why); kInvalidParameter when the
// grid's counts are refused (placementGrid).
MStatus placeOnSurface(const MDagPath& surface, const gridSettings& grid,
                       const systemParams& params, featherRoots& roots,
                       unsigned long long maxFileRoots = ~0ull);

// Roots on the faces an iterator visits (made from a dag path, for world space): the grid over
// the faces' u/v range in the UV set params.uvSetName, shifted by params.uvTranslate, or the
// u/v of params.uviFile. Each u/v goes to the first face, in iteration order, whose u/v polygon
// holds it (inside, on an edge or on a vertex); a UV info file with face ids names the face
// directly (ids the iterator does not visit are skipped). u/v that no face holds, or where the
// face gives no point, are skipped. No u/v in the set at all gives no roots.
// Fails when reading the last face's u/v fails (a missing UV set, say), or when the UV info
// file is wanted but unnamed or unreadable; kInvalidParameter when the grid's counts are
// refused (placementGrid).
MStatus placeOnMesh(MItMeshPolygon& faces, const gridSettings& grid, const systemParams& params,
                    featherRoots& roots, unsigned long long maxFileRoots = ~0ull);

// Keeps a random share keepFraction (displayQuality / 100) of the roots, in order. Below 1 it
// seeds the generator's engine with seed + 3584 and draws one randomFloat per root, all before
// any root is dropped, keeping root k when keepFraction > draw k; from 1 up it keeps every root
// and leaves the engine untouched.
void thinForDisplay(featherRoots& roots, float keepFraction, int seed, featherGenerator& generator);
