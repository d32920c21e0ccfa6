#include "feather/valueNoise.h"

#include <libnoise/interp.h>
#include <libnoise/noise.h>

namespace {

// libnoise's lattice value at an integer corner, in [-1, 1].
//
// Some builds of libnoise (Debian's among them) lose the final `& 0x7fffffff` of the lattice
// hash: the hash overflows a signed int and the optimiser drops the mask. ValueNoise3D then
// returns values in (-1, 3] and ValueCoherentNoise3D strays well outside [-1, 1]. The masked
// hash differs by exactly 2^31, i.e. by exactly 2 in the returned value, so folding back is
// exact in double and leaves a correct build's results unchanged.
double latticeValue(int x, int y, int z, int seed) {
    double v = noise::ValueNoise3D(x, y, z, seed);
    return v > 1.0 ? v - 2.0 : v;
}

// libnoise's cell rule, kept for identical results: an integer at or below 0 lands in the cell
// below it, with full weight on that cell's upper corner.
int cellFloor(double v) {
    return v > 0.0 ? static_cast<int>(v) : static_cast<int>(v) - 1;
}

} // namespace

// Same cell, weights and blend order as libnoise's ValueCoherentNoise3D at QUALITY_STD, so
// results match a correct build of the library.
double valueNoise3(double x, double y, double z, int seed) {
    const int x0 = cellFloor(x), x1 = x0 + 1;
    const int y0 = cellFloor(y), y1 = y0 + 1;
    const int z0 = cellFloor(z), z1 = z0 + 1;

    const double xs = noise::SCurve3(x - x0);
    const double ys = noise::SCurve3(y - y0);
    const double zs = noise::SCurve3(z - z0);

    double n0, n1, ix0, ix1;
    n0 = latticeValue(x0, y0, z0, seed);
    n1 = latticeValue(x1, y0, z0, seed);
    ix0 = noise::LinearInterp(n0, n1, xs);
    n0 = latticeValue(x0, y1, z0, seed);
    n1 = latticeValue(x1, y1, z0, seed);
    ix1 = noise::LinearInterp(n0, n1, xs);
    const double iy0 = noise::LinearInterp(ix0, ix1, ys);

    n0 = latticeValue(x0, y0, z1, seed);
    n1 = latticeValue(x1, y0, z1, seed);
    ix0 = noise::LinearInterp(n0, n1, xs);
    n0 = latticeValue(x0, y1, z1, seed);
    n1 = latticeValue(x1, y1, z1, seed);
    ix1 = noise::LinearInterp(n0, n1, xs);
    const double iy1 = noise::LinearInterp(ix0, ix1, ys);

    return noise::LinearInterp(iy0, iy1, zs);
}
