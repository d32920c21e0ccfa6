#pragma once
// Coherent 3-D value noise for the barbule builds (gaps, force turns, up/down bending).

// Smooth value noise at (x, y, z), in [-1, 1]. A pure function of its arguments: the lattice
// values come from `seed` and the integer cell around the point; between lattice points the
// value is blended with a cubic S-curve (libnoise's QUALITY_STD). Feather code calls it with
// y = 0. Map to a [0, 1] factor with (noise + 1) * 0.5. The lattice is indexed by int, so
// coordinates must stay within the int range.
double valueNoise3(double x, double y, double z, int seed);
