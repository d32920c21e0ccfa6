#pragma once
// Exact evaluation of NURBS surfaces: points and partial derivatives from the B-spline basis
// (Cox-de Boor recursion) on homogeneous CVs (w x, w y, w z, w), divided through by the weight
// with the quotient rule. No tessellation is involved anywhere.
//
// Every function takes a surface that validateNurbsSurface accepted.

#include "geometry/nurbsSurface.h"

#include <maya/MMatrix.h>
#include <maya/MPoint.h>
#include <maya/MVector.h>

#include <vector>

namespace host {

// The textbook knot vector (numCVs + degree + 1 knots) of a direction: Maya's short list with
// one knot added at each end, repeating the end knot for open and closed directions and
// continuing the period's spacing for periodic ones. The outer knots never touch values inside
// the domain; they are there so that the usual formulas index the list as written.
std::vector<double> fullKnots(const std::vector<double>& shortKnots, int degree,
                              MFnNurbsSurface::Form form);

struct KnotDomain {
    double startU, endU, startV, endV;
};
// knot[degree - 1] to knot[numKnots - degree] of the short lists, in each direction.
KnotDomain knotDomain(const NurbsSurface& surface);

// A point of the surface with its partial derivatives (those above the order asked for are
// left zero).
struct SurfacePoint {
    MPoint point;
    MVector du, dv;
    MVector duu, duv, dvv;
};

// Evaluates the surface at (u, v) with derivatives up to `order` (0, 1 or 2). False, leaving
// `out` alone, when (u, v) lies outside the knot domain (a relative 1e-12 of slack is allowed
// at the ends, for parameters computed as start + t * (end - start)).
bool evaluateSurface(const NurbsSurface& surface, double u, double v, int order, SurfacePoint& out);

// The unit normal along du x dv; false where that product vanishes (relative to |du| |dv|) or
// (u, v) is outside the domain.
bool surfaceNormal(const NurbsSurface& surface, double u, double v, MVector& normal);

// Maps an evaluated point through an affine matrix (row vectors, p * M). NURBS are affine
// invariant, so this is exact; derivatives take the matrix's linear part.
SurfacePoint transformed(const SurfacePoint& point, const MMatrix& matrix);
// The same surface with every CV moved by the matrix (weights kept).
NurbsSurface transformed(const NurbsSurface& surface, const MMatrix& matrix);

// The parameters of the surface point nearest to `target`: the nearest of a grid of samples
// (degree + 1 per span), then Newton steps on the squared distance, kept inside the domain
// (wrapped around periodic directions), never moving away, until a step is below 1e-12 of the
// domain. A surface folding back closer than its sample spacing may yield a local minimum.
void closestParameters(const NurbsSurface& surface, const MPoint& target, double& u, double& v);

} // namespace host
