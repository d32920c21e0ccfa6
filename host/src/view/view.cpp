#include "view/view.h"

#include "builtin/transformNode.h"
#include "graph/graph.h"
#include "view/cameraNode.h"

#include <GL/gl.h>

#include <algorithm>

namespace host {

View& View::active() {
    static View view;
    return view;
}

M3dView View::handle() {
    M3dView view;
    view.view_ = this;
    return view;
}

MStatus View::setSize(int width, int height, std::string& error) {
    if (width < 1 || height < 1 || width > maxViewSize || height > maxViewSize) {
        error = "A view is from 1x1 to " + std::to_string(maxViewSize) + "x" +
                std::to_string(maxViewSize) + " pixels, not " + std::to_string(width) + "x" +
                std::to_string(height) + ".";
        return MS::kInvalidParameter;
    }
    width_ = width;
    height_ = height;
    return MS::kSuccess;
}

bool View::cameraShape(Node*& camera, std::string& error) const {
    camera = nullptr;
    if (cameraName_.empty()) {
        camera = cameraShapeOf(Graph::instance().find("persp"));
        return true;
    }
    Node* node = Graph::instance().find(cameraName_);
    if (!node) {
        error = "There is no camera named '" + cameraName_ + "' in the scene.";
        return false;
    }
    camera = cameraShapeOf(node);
    if (!camera) {
        error = "'" + cameraName_ + "' is not a camera (it is a " + node->typeName() + ").";
        return false;
    }
    return true;
}

bool View::currentCamera(ViewCamera& camera, std::string& error) {
    if (drawing_) {
        camera = camera_;
        return true;
    }
    Node* shape = nullptr;
    if (!cameraShape(shape, error))
        return false;
    camera = shape ? through(*shape) : framing(drawnShapes());
    return true;
}

ViewCamera View::through(Node& cameraShape) const {
    return cameraFromLens(worldMatrix(cameraShape), lensOf(cameraShape), aspect());
}

ViewCamera View::framing(const std::vector<Drawable>& shapes) const {
    MBoundingBox box;
    const bool found = worldBounds(shapes, box);
    return framingCamera(box, !found, aspect());
}

bool View::beginGL(std::string& error) {
    if (glDepth_ == 0 && !context_.makeCurrent(width_, height_, error))
        return false;
    ++glDepth_;
    return true;
}

void View::endGL() {
    if (glDepth_ > 0)
        --glDepth_;
}

MStatus View::refresh(std::string& error, const std::function<void(int, int)>& progress) {
    if (drawing_ || glDepth_ > 0) {
        error = drawing_ ? "The view cannot be refreshed from inside its own drawing."
                         : "The view cannot be refreshed between beginGL and endGL.";
        return MS::kFailure;
    }
    Node* cameraNode = nullptr;
    if (!cameraShape(cameraNode, error))
        return MS::kInvalidParameter;
    const std::vector<Drawable> shapes = drawnShapes();
    const ViewCamera camera = cameraNode ? through(*cameraNode) : framing(shapes);
    if (!context_.makeCurrent(width_, height_, error))
        return MS::kFailure;

    glViewport(0, 0, width_, height_);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_DITHER);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_POINT_SMOOTH);
    glDisable(GL_LINE_STIPPLE);
    glDisable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glLineWidth(lineWidth);
    glPointSize(1.0f);
    glClearColor(background[0], background[1], background[2], 1.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    const MMatrix projection = camera.projection();
    glLoadMatrixd(&projection.matrix[0][0]);

    camera_ = camera;
    drawing_ = true;
    glDepth_ = 1;
    M3dView view = handle();
    drawShapes(shapes, view, camera, style_, progress);
    glDepth_ = 0;
    drawing_ = false;
    glFinish();

    // OpenGL's rows run from the bottom; an image's from the top.
    const std::vector<unsigned char>& buffer = context_.buffer();
    const size_t row = static_cast<size_t>(width_) * 4;
    image_.width = width_;
    image_.height = height_;
    image_.pixels.resize(row * static_cast<size_t>(height_));
    for (int y = 0; y < height_; ++y)
        std::copy_n(buffer.data() + static_cast<size_t>(height_ - 1 - y) * row, row,
                    image_.pixels.data() + static_cast<size_t>(y) * row);
    return MS::kSuccess;
}

} // namespace host
