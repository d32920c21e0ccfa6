#pragma once
// How the view looks at the world. A camera looks down its own -Z axis with +Y up; its world
// matrix places it (row vectors, as every MMatrix). Extents are those of the picture: a
// perspective camera's as tangents of the half angles, an orthographic one's in world units.

#include <maya/MBoundingBox.h>
#include <maya/MMatrix.h>

namespace host {

// A camera shape's settings, with Maya's attribute defaults. Apertures are in inches, the
// focal length in millimetres.
struct Lens {
    enum FilmFit { kFill = 0, kHorizontal = 1, kVertical = 2, kOverscan = 3 };
    double focalLength = 35.0;
    double horizontalAperture = 1.41732;
    double verticalAperture = 0.94488;
    int filmFit = kFill;
    bool orthographic = false;
    double orthographicWidth = 30.0;
    double nearClip = 0.1;
    double farClip = 10000.0;
};

struct ViewCamera {
    MMatrix world; // camera space to world space
    bool orthographic = false;
    // Half the picture's width and height: at distance 1 for a perspective camera, in world
    // units for an orthographic one.
    double halfWidth = 1.0;
    double halfHeight = 1.0;
    double nearClip = 0.1;
    double farClip = 10000.0;

    // World space to camera space.
    MMatrix viewMatrix() const { return world.inverse(); }
    // The OpenGL projection (glFrustum or glOrtho) in MMatrix's row-vector layout, which is the
    // array glLoadMatrixd takes.
    MMatrix projection() const;
};

// The picture of a lens on an image of this aspect (width / height). The film gate is fitted to
// the image as the lens's film fit says: Fill fits the gate's narrower side (in proportion),
// Overscan the wider one. An orthographic gate is orthographicWidth wide with the film's aspect.
ViewCamera cameraFromLens(const MMatrix& world, const Lens& lens, double aspect);

// A perspective camera with the default lens that looks at the box's centre from above, to the
// right and in front (as Maya's default persp view does), as close as it can while every corner
// of the box stays inside framingMargin of the picture's half extents. An empty box is taken as
// the cube from -1 to 1.
extern const double framingMargin;
ViewCamera framingCamera(const MBoundingBox& box, bool empty, double aspect);

} // namespace host
