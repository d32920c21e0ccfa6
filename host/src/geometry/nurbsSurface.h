#pragma once
// A NURBS surface as Maya stores it: degrees, forms, the short knot lists (numCVs + degree - 1
// per direction, without the two outer knots a textbook adds) and the CVs with V varying fastest.

#include <maya/MFnNurbsSurface.h>
#include <maya/MPoint.h>

#include <string>
#include <vector>

namespace host {

struct NurbsSurface {
    int degreeU = 1, degreeV = 1;
    MFnNurbsSurface::Form formU = MFnNurbsSurface::kOpen, formV = MFnNurbsSurface::kOpen;
    bool rational = false;
    std::vector<double> knotsU, knotsV;
    int numCVsU = 0, numCVsV = 0;
    // (x, y, z) is the point, w its weight (1 unless rational); index u * numCVsV + v.
    std::vector<MPoint> cvs;

    const MPoint& cv(int u, int v) const {
        return cvs[static_cast<size_t>(u) * static_cast<size_t>(numCVsV) + static_cast<size_t>(v)];
    }
    int spansU() const { return numCVsU - degreeU; }
    int spansV() const { return numCVsV - degreeV; }
};

// Checks that the surface can be evaluated: degrees >= 1, at least degree + 1 CVs, knot counts
// of numCVs + degree - 1, non-decreasing finite knots with a non-empty domain, finite CVs,
// positive weights (all 1 unless rational), a known form, first and last CVs in line for a
// closed direction and the last degree CVs repeating the first ones for a periodic direction.
// On failure `error` says what was expected.
bool validateNurbsSurface(const NurbsSurface& surface, std::string& error);

} // namespace host
