#include "geometry/nurbsSurface.h"

#include <algorithm>
#include <cmath>

namespace host {

namespace {

bool checkKnots(const char* direction, const std::vector<double>& knots, int degree, int numCVs,
                std::string& error) {
    const size_t expected = static_cast<size_t>(numCVs + degree - 1);
    if (knots.size() != expected) {
        error = std::string("expected ") + std::to_string(expected) + " knots in " + direction +
                " (CVs + degree - 1), got " + std::to_string(knots.size());
        return false;
    }
    for (size_t i = 0; i < knots.size(); ++i) {
        if (!std::isfinite(knots[i])) {
            error = std::string("knot ") + std::to_string(i) + " in " + direction +
                    " is not a finite number";
            return false;
        }
        if (i > 0 && knots[i] < knots[i - 1]) {
            error = std::string("expected non-decreasing knots in ") + direction + ", knot " +
                    std::to_string(i) + " is below the one before it";
            return false;
        }
    }
    const double start = knots[static_cast<size_t>(degree - 1)];
    const double end = knots[knots.size() - static_cast<size_t>(degree)];
    if (!(start < end)) {
        error = std::string("expected a non-empty knot domain in ") + direction;
        return false;
    }
    return true;
}

bool close(const MPoint& a, const MPoint& b, double tolerance) {
    return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance &&
           std::fabs(a.z - b.z) <= tolerance && std::fabs(a.w - b.w) <= 1e-6;
}

// Compares CV rows (or columns) `a` and `b` of a direction: for U the rows at u = a and u = b.
bool linesMatch(const NurbsSurface& s, bool inU, int a, int b, double tolerance) {
    const int count = inU ? s.numCVsV : s.numCVsU;
    for (int k = 0; k < count; ++k) {
        const MPoint& p = inU ? s.cv(a, k) : s.cv(k, a);
        const MPoint& q = inU ? s.cv(b, k) : s.cv(k, b);
        if (!close(p, q, tolerance))
            return false;
    }
    return true;
}

bool checkForm(const NurbsSurface& s, bool inU, double tolerance, std::string& error) {
    const MFnNurbsSurface::Form form = inU ? s.formU : s.formV;
    const int numCVs = inU ? s.numCVsU : s.numCVsV;
    const int degree = inU ? s.degreeU : s.degreeV;
    const char* direction = inU ? "U" : "V";
    switch (form) {
    case MFnNurbsSurface::kOpen:
        return true;
    case MFnNurbsSurface::kClosed:
        if (!linesMatch(s, inU, 0, numCVs - 1, tolerance)) {
            error = std::string("a surface closed in ") + direction +
                    " needs its first and last CVs to coincide";
            return false;
        }
        return true;
    case MFnNurbsSurface::kPeriodic:
        if (numCVs < 2 * degree) {
            error = std::string("a surface periodic in ") + direction + " needs at least " +
                    std::to_string(2 * degree) + " CVs (2 x degree), got " + std::to_string(numCVs);
            return false;
        }
        for (int k = 0; k < degree; ++k)
            if (!linesMatch(s, inU, k, numCVs - degree + k, tolerance)) {
                error = std::string("a surface periodic in ") + direction + " needs its last " +
                        std::to_string(degree) + " CVs to repeat its first " +
                        std::to_string(degree);
                return false;
            }
        return true;
    default:
        error = std::string("form in ") + direction + " must be open, closed or periodic";
        return false;
    }
}

} // namespace

bool validateNurbsSurface(const NurbsSurface& s, std::string& error) {
    if (s.degreeU < 1 || s.degreeV < 1) {
        error = "expected degrees of at least 1, got " + std::to_string(s.degreeU) + " and " +
                std::to_string(s.degreeV);
        return false;
    }
    if (s.numCVsU < s.degreeU + 1 || s.numCVsV < s.degreeV + 1) {
        error = "expected at least degree + 1 CVs in each direction, got " +
                std::to_string(s.numCVsU) + " x " + std::to_string(s.numCVsV);
        return false;
    }
    const size_t count = static_cast<size_t>(s.numCVsU) * static_cast<size_t>(s.numCVsV);
    if (s.cvs.size() != count) {
        error = "expected " + std::to_string(count) + " CVs (" + std::to_string(s.numCVsU) + " x " +
                std::to_string(s.numCVsV) + "), got " + std::to_string(s.cvs.size());
        return false;
    }
    if (!checkKnots("U", s.knotsU, s.degreeU, s.numCVsU, error) ||
        !checkKnots("V", s.knotsV, s.degreeV, s.numCVsV, error))
        return false;
    double extent = 1.0;
    for (size_t i = 0; i < s.cvs.size(); ++i) {
        const MPoint& p = s.cvs[i];
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z) ||
            !std::isfinite(p.w)) {
            error = "CV " + std::to_string(i) + " is not made of finite numbers";
            return false;
        }
        if (s.rational ? !(p.w > 0.0) : p.w != 1.0) {
            error = "CV " + std::to_string(i) +
                    (s.rational ? " needs a positive weight"
                                : " of a non-rational surface needs w = 1");
            return false;
        }
        extent = std::max({extent, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
    }
    // Overlapping CVs come from files written with 17 digits; allow for rounding.
    const double tolerance = 1e-6 * extent;
    return checkForm(s, true, tolerance, error) && checkForm(s, false, tolerance, error);
}

} // namespace host
