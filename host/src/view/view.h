#pragma once
// The host's one 3-D view: an offscreen OpenGL context of a chosen size, the camera it looks
// through, its display style, and the image of its last refresh. M3dView objects are handles
// to it.

#include "view/glContext.h"
#include "view/sceneDrawing.h"
#include "view/viewCamera.h"

#include <host/image.h>
#include <host/viewport.h>

#include <maya/M3dView.h>
#include <maya/MStatus.h>

#include <functional>
#include <string>
#include <vector>

namespace host {

class Node;

class View {
  public:
    static View& active();
    // A handle plug-ins get: M3dView::active3dView() and the view passed to a locator's draw.
    M3dView handle();

    // Each side from 1 to maxViewSize pixels; 640x480 until set.
    MStatus setSize(int width, int height, std::string& error);
    int width() const { return width_; }
    int height() const { return height_; }

    M3dView::DisplayStyle style() const { return style_; }
    void setStyle(M3dView::DisplayStyle style) { style_ = style; }

    // The camera to look through, by the name of a camera shape or of a transform above one.
    // Empty: the scene's "persp" camera when it has one, else a camera of the view's own that
    // frames everything drawn.
    void setCameraName(const std::string& name) { cameraName_ = name; }
    const std::string& cameraName() const { return cameraName_; }
    // The camera shape the view looks through now: null without an error when the view frames
    // the scene itself; false with an error when the named camera is missing or is no camera.
    bool cameraShape(Node*& camera, std::string& error) const;
    // The camera as the view would look through it now (during a refresh, the one it draws
    // with).
    bool currentCamera(ViewCamera& camera, std::string& error);

    // Makes the view's OpenGL context current; nested calls count.
    bool beginGL(std::string& error);
    void endGL();
    // Between beginGL and endGL (or inside a refresh), with the view's context current.
    bool inGL() const { return glDepth_ > 0 && context_.isCurrent(); }

    // Draws the scene: evaluates what the drawing needs, clears to the background, loads the
    // camera's projection, draws every shape (see sceneDrawing.h) and keeps the pixels.
    // kInvalidParameter when the named camera is missing; kFailure while the view is drawing or
    // when no OpenGL context can be made.
    MStatus refresh(std::string& error, const std::function<void(int, int)>& progress = nullptr);
    // The pixels of the last refresh, rows from the top.
    const Image& image() const { return image_; }
    // The camera the last refresh drew with.
    const ViewCamera& lastCamera() const { return camera_; }

    // The host's choices for what Maya leaves to preferences.
    static constexpr float background[3] = {0.63f, 0.63f, 0.63f};
    static constexpr float lineWidth = 1.0f;

  private:
    View() = default;
    double aspect() const { return static_cast<double>(width_) / height_; }
    // Looking through a camera shape, or framing the shapes.
    ViewCamera through(Node& cameraShape) const;
    ViewCamera framing(const std::vector<Drawable>& shapes) const;
    GLContext context_;
    int width_ = 640;
    int height_ = 480;
    M3dView::DisplayStyle style_ = M3dView::kWireFrame;
    std::string cameraName_;
    ViewCamera camera_;
    Image image_;
    int glDepth_ = 0;
    bool drawing_ = false;
};

} // namespace host
