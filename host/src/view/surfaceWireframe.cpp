#include "view/surfaceWireframe.h"

#include <maya/MDoubleArray.h>
#include <maya/MFnNurbsSurface.h>
#include <maya/MPointArray.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace host {

namespace {

// The distinct knot values from start to end, both included.
std::vector<double> spanBoundaries(const MDoubleArray& knots, double start, double end) {
    std::vector<double> values{start};
    for (unsigned int i = 0; i < knots.length(); ++i)
        if (knots[i] > values.back() && knots[i] < end)
            values.push_back(knots[i]);
    if (end > start)
        values.push_back(end);
    return values;
}

// The parameters a line along one direction passes through: each span cut into `steps` pieces.
std::vector<double> samples(const std::vector<double>& boundaries, int steps) {
    std::vector<double> values{boundaries.front()};
    for (size_t i = 1; i < boundaries.size(); ++i)
        for (int s = 1; s <= steps; ++s) {
            double t = static_cast<double>(s) / steps;
            values.push_back(s == steps
                                 ? boundaries[i]
                                 : boundaries[i - 1] + t * (boundaries[i] - boundaries[i - 1]));
        }
    return values;
}

void strip(const MFnNurbsSurface& surface, bool alongV, double fixed,
           const std::vector<double>& params) {
    glBegin(GL_LINE_STRIP);
    for (double t : params) {
        MPoint p;
        if (surface.getPointAtParam(alongV ? fixed : t, alongV ? t : fixed, p))
            glVertex3d(p.x, p.y, p.z);
    }
    glEnd();
}

} // namespace

void drawSurfaceWireframe(const MDagPath& shape, int curvePrecision) {
    MStatus status;
    MFnNurbsSurface surface(shape, &status);
    double startU, endU, startV, endV;
    if (!status || !surface.getKnotDomain(startU, endU, startV, endV))
        return;
    MDoubleArray knotsU, knotsV;
    surface.getKnotsInU(knotsU);
    surface.getKnotsInV(knotsV);
    const std::vector<double> linesU = spanBoundaries(knotsU, startU, endU);
    const std::vector<double> linesV = spanBoundaries(knotsV, startV, endV);
    const int steps = std::max(1, curvePrecision);
    const std::vector<double> alongU = samples(linesU, steps);
    const std::vector<double> alongV = samples(linesV, steps);
    for (double u : linesU)
        strip(surface, true, u, alongV);
    for (double v : linesV)
        strip(surface, false, v, alongU);
}

bool addSurfaceBounds(const MDagPath& shape, MBoundingBox& box) {
    MStatus status;
    MFnNurbsSurface surface(shape, &status);
    MPointArray cvs;
    if (!status || !surface.getCVs(cvs, MSpace::kWorld) || cvs.length() == 0)
        return false;
    bool found = false;
    for (unsigned int i = 0; i < cvs.length(); ++i)
        if (std::isfinite(cvs[i].x) && std::isfinite(cvs[i].y) && std::isfinite(cvs[i].z)) {
            box.expand(MPoint(cvs[i].x, cvs[i].y, cvs[i].z));
            found = true;
        }
    return found;
}

} // namespace host
