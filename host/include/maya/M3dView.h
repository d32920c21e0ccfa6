#pragma once
// A 3-D view. Locators draw into it with legacy OpenGL between beginGL and endGL; the view has
// already loaded the camera's projection and, as the modelview, the camera's view matrix times
// the world matrix of the shape's parent, so a locator draws in its own object space.
//
// The host has one 3-D view, drawn offscreen (M3dView::active3dView). What the host chooses
// where Maya leaves it to user preferences:
//   - background (0.63, 0.63, 0.63), cleared before every refresh, with a depth buffer;
//   - line width 1, no line smoothing, no multisampling, no blending, no dithering, no
//     lighting: a line covers exactly the pixels OpenGL's line rasterisation gives it;
//   - NURBS surfaces are drawn as iso-parametric lines at their span boundaries in
//     (0, 0.016, 0.376), meshes as their polygon edges in black; then every locator's draw,
//     with status kDormant (or kTemplate under a templated node) and the view's display style
//     (kWireFrame unless the view was set to another);
//   - hidden nodes (".v" off, on the shape or any transform above it) and intermediate
//     objects (".io" on) are not drawn.
// A default-constructed view is not attached to any view: its calls fail with kFailure.

#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <GL/gl.h>

class MColor;
class MDagPath;
class MMatrix;
class MPoint;
class MString;
class MVector;

namespace host {
class View;
}

class OPENMAYA_EXPORT M3dView {
  public:
    enum DisplayStyle { kBoundingBox, kFlatShaded, kGouraudShaded, kWireFrame, kPoints };
    enum DisplayStatus {
        kActive = 0,
        kLive = 1,
        kDormant = 2,
        kInvisible = 3,
        kHilite = 4,
        kTemplate = 5,
        kActiveTemplate = 6,
        kActiveComponent = 7,
        kLead = 8,
        kIntermediateObject = 9,
        kActiveAffected = 10,
        kNoStatus = 11
    };
    enum ColorTable {
        kActiveColors = 0,
        kDormantColors = 2,
        kTemplateColor = 3,
        kBackgroundColor = 4
    };

    M3dView() = default;
    virtual ~M3dView() = default;

    // The view the host draws (there is one), and the list of 3-D views.
    static M3dView active3dView(MStatus* status = nullptr);
    static unsigned int numberOf3dViews();
    static MStatus get3dView(const unsigned int index, M3dView& view);

    // Makes the view's OpenGL context current; calls nest. kFailure when no context can be made.
    MStatus beginGL();
    MStatus endGL();

    // The camera shape the view looks through. kFailure when the view frames the scene with a
    // camera of its own (a scene without a camera node).
    MStatus getCamera(MDagPath& camera);
    // Looks through the camera shape (or the transform above one); kInvalidParameter otherwise.
    MStatus setCamera(MDagPath& camera);

    // Size of the view in pixels.
    int portWidth(MStatus* status = nullptr);
    int portHeight(MStatus* status = nullptr);
    MStatus viewport(unsigned int& x, unsigned int& y, unsigned int& width,
                     unsigned int& height) const;

    DisplayStyle displayStyle(MStatus* status = nullptr) const;
    // The status the host draws a node with: kInvisible for hidden nodes, kIntermediateObject
    // for intermediate objects, kTemplate under a templated node, kDormant otherwise (the host
    // has no selection).
    static DisplayStatus displayStatus(const MDagPath& path, MStatus* status = nullptr);

    // Draws the view again (all and force change nothing: the host has one view and always
    // redraws it whole).
    MStatus refresh(bool all = false, bool force = false);

    // The OpenGL matrices in effect (inside a locator's draw: the view's projection, and the
    // modelview that includes the locator's world matrix).
    MStatus projectionMatrix(MMatrix& projection) const;
    MStatus modelViewMatrix(MMatrix& modelView) const;
    // A world point to view coordinates (pixels from the lower left corner); false when the
    // point is outside the view or behind the camera.
    bool worldToView(const MPoint& worldPoint, short& x, short& y, MStatus* status = nullptr) const;
    // The ray from the camera through a pixel, in world space.
    MStatus viewToWorld(short x, short y, MPoint& worldPoint, MVector& worldVector) const;

    MStatus setDrawColor(const MColor& color);

  private:
    host::View* view_ = nullptr;
    friend class host::View;
};
