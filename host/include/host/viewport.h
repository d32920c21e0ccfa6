#pragma once
// Drawing the current scene the way Maya's viewport does, offscreen, for the quillo program
// and the tests. The drawing itself is described in <maya/M3dView.h>; this is the host's way
// in: set the active view up, draw, take the pixels.

#include <host/image.h>

#include <maya/M3dView.h>
#include <maya/MStatus.h>

#include <functional>
#include <string>

namespace host {

// The largest width or height of a view, in pixels.
constexpr int maxViewSize = 8192;

struct ViewSettings {
    // Image size in pixels, each from 1 to maxViewSize.
    int width = 640;
    int height = 480;
    // A camera shape, or a transform with a camera shape under it. Empty: the scene's "persp"
    // camera when it has one, else a camera of the view's own that frames everything drawn.
    std::string camera;
    M3dView::DisplayStyle style = M3dView::kWireFrame;
};

// Told the number of shapes drawn so far and how many will be.
using DrawProgress = std::function<void(int done, int total)>;

// Sets the active view up as the settings say, evaluates what the drawing needs (the outputs of
// each locator drawn; surfaces and meshes through their function sets), draws the scene and
// returns the view's pixels. A missing camera (kInvalidParameter), a bad size
// (kInvalidParameter) or an OpenGL context that cannot be made (kFailure) is reported through
// MGlobal::displayError.
MStatus renderView(const ViewSettings& settings, Image& image,
                   const DrawProgress& progress = DrawProgress());

} // namespace host
