#pragma once
// The 2-D ramp texture: colours placed along a parameter computed from (u, v).
//
// Attributes (as files write them): type "t", interpolation "in", and colorEntryList "cel",
// an array of entries each holding position "ep" and color "ec". Entries may be sparse and in
// any order; they are sorted by position (by logical index among equal positions). An entry's
// colour may be fed by another texture, sampled at the same sample.
//
// The parameter t of each type, for texture coordinates (u, v):
//   0 V:        t = v
//   1 U:        t = u
//   2 diagonal: t = (u + v) / 2
//   3 radial:   t = frac(atan2(v − 0.5, u − 0.5) / 2π): 0 along +u from the centre, rising
//               counter-clockwise to just below 1
//   4 circular: t = 2 · |(u, v) − (0.5, 0.5)|: 0 at the centre, 1 on the inscribed circle,
//               √2 in the corners (beyond the last entry, so its colour); not clamped
//   5 box:      t = 2 · max(|u − 0.5|, |v − 0.5|)
//   6 UV:       t = u · v
//   7 four corner: the ramp at t = 0, 1/3, 2/3 and 1 gives the colours of the corners
//               (0, 0), (1, 0), (0, 1) and (1, 1), blended bilinearly in u and v (clamped to
//               [0, 1])
//   8 tartan:   the mean of the ramp at t = u and at t = v
// An unknown type is V.
//
// Between entries a (position pa) and b (pb), with f = (t − pa) / (pb − pa), the colour is
// a + w · (b − a) where w is, for each interpolation:
//   0 none: 0 (each entry holds until the next one's position)
//   1 linear: f
//   2 exponential up: f²
//   3 exponential down: 1 − (1 − f)²
//   4 smooth: f² (3 − 2f)
//   5 bump: f, with each component then raised by 0.5 · |b − a| · sin(π f): a hump midway
//   6 spike: f, with each component then lowered by 0.5 · |b − a| · sin(π f): a dip midway
// An unknown interpolation is linear. Before the first entry's position the colour is the
// first entry's, at or beyond the last it is the last's; at an entry's own position it is that
// entry's. A ramp without entries is black. outAlpha is the luminance of the colour.

#include <maya/MFloatVector.h>

#include <vector>

namespace host {

class TypeRegistry;

struct RampEntry {
    float position = 0.0f;
    MFloatVector color;
};

// The ramp parameter of a type at (u, v) (types 0 to 6; others give v).
float rampParameter(int type, float u, float v);
// The colour at t of entries sorted by position.
MFloatVector rampColor(const std::vector<RampEntry>& sorted, int interpolation, float t);

// Registers the node type and its sampler.
void registerRampType(TypeRegistry& registry);

} // namespace host
