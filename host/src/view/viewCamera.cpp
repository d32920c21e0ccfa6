#include "view/viewCamera.h"

#include <maya/MVector.h>

#include <algorithm>
#include <cmath>

namespace host {

namespace {
const double millimetresPerInch = 25.4;
} // namespace

const double framingMargin = 0.95;

MMatrix ViewCamera::projection() const {
    const double n = nearClip, f = farClip;
    MMatrix m;
    m(0, 0) = 1.0 / halfWidth;
    m(1, 1) = 1.0 / halfHeight;
    if (orthographic) {
        m(2, 2) = -2.0 / (f - n);
        m(3, 2) = -(f + n) / (f - n);
    } else {
        m(2, 2) = -(f + n) / (f - n);
        m(3, 2) = -2.0 * f * n / (f - n);
        m(2, 3) = -1.0;
        m(3, 3) = 0.0;
    }
    return m;
}

ViewCamera cameraFromLens(const MMatrix& world, const Lens& lens, double aspect) {
    ViewCamera camera;
    camera.world = world;
    camera.orthographic = lens.orthographic;
    // The film gate's half extents: at distance 1 through the lens, or in world units.
    const double filmAspect = lens.horizontalAperture / lens.verticalAperture;
    double gateWidth, gateHeight;
    if (lens.orthographic) {
        gateWidth = 0.5 * lens.orthographicWidth;
        gateHeight = gateWidth / filmAspect;
    } else {
        gateWidth = 0.5 * lens.horizontalAperture * millimetresPerInch / lens.focalLength;
        gateHeight = 0.5 * lens.verticalAperture * millimetresPerInch / lens.focalLength;
    }
    bool horizontal = lens.filmFit == Lens::kHorizontal;
    if (lens.filmFit == Lens::kFill)
        horizontal = aspect >= filmAspect;
    else if (lens.filmFit == Lens::kOverscan)
        horizontal = aspect < filmAspect;
    if (horizontal) {
        camera.halfWidth = gateWidth;
        camera.halfHeight = gateWidth / aspect;
    } else {
        camera.halfHeight = gateHeight;
        camera.halfWidth = gateHeight * aspect;
    }
    camera.nearClip = lens.nearClip;
    camera.farClip = lens.farClip;
    return camera;
}

ViewCamera framingCamera(const MBoundingBox& box, bool empty, double aspect) {
    const MPoint low = empty ? MPoint(-1.0, -1.0, -1.0) : box.min();
    const MPoint high = empty ? MPoint(1.0, 1.0, 1.0) : box.max();
    const MPoint center = low + (high - low) * 0.5;
    // A point (or a box too small to measure) still gets a sensible distance.
    const double size =
        std::max((high - low).length(), 1e-3 * std::max(1.0, MVector(center).length()));

    // Maya's default persp view looks from (28, 21, 28) at the origin.
    const MVector back = MVector(28.0, 21.0, 28.0).normal();
    const MVector right = (MVector(0.0, 1.0, 0.0) ^ back).normal();
    const MVector up = back ^ right;

    // The nearest distance back from the centre at which every corner lies inside the picture,
    // less a margin at its edges: a corner (x, y, z) in the camera's axes needs
    // |x| <= tan * (distance - z), and the same for y.
    const ViewCamera lens = cameraFromLens(MMatrix(), Lens(), aspect);
    const double tanWidth = framingMargin * lens.halfWidth;
    const double tanHeight = framingMargin * lens.halfHeight;
    double distance = 0.0, nearest = -1e300, farthest = 1e300;
    for (int corner = 0; corner < 8; ++corner) {
        const MVector c = MPoint(corner & 1 ? high.x : low.x, corner & 2 ? high.y : low.y,
                                 corner & 4 ? high.z : low.z) -
                          center;
        const double x = c * right, y = c * up, z = c * back;
        distance = std::max({distance, z + std::abs(x) / tanWidth, z + std::abs(y) / tanHeight});
        nearest = std::max(nearest, z);
        farthest = std::min(farthest, z);
    }
    // Never inside the box, whatever its shape.
    distance = std::max(distance, nearest + 0.05 * size);

    const MPoint eye = center + back * distance;
    double rows[4][4] = {{right.x, right.y, right.z, 0.0},
                         {up.x, up.y, up.z, 0.0},
                         {back.x, back.y, back.z, 0.0},
                         {eye.x, eye.y, eye.z, 1.0}};
    ViewCamera camera = lens;
    camera.world = MMatrix(rows);
    camera.nearClip = 0.5 * (distance - nearest);
    camera.farClip = 2.0 * (distance - farthest);
    return camera;
}

} // namespace host
