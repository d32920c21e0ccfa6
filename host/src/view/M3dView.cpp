#include <maya/M3dView.h>

#include "graph/node.h"
#include "graph/statusOut.h"
#include "view/cameraNode.h"
#include "view/sceneDrawing.h"
#include "view/view.h"

#include <maya/MColor.h>
#include <maya/MDagPath.h>
#include <maya/MGlobal.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>
#include <maya/MVector.h>

#include <cmath>

using host::report;

namespace {

MStatus fail(const std::string& error) {
    MGlobal::displayError(("M3dView: " + error).c_str());
    return MS::kFailure;
}

MStatus readMatrix(const host::View* view, GLenum which, MMatrix& matrix) {
    if (!view || !view->inGL())
        return MS::kFailure;
    glGetDoublev(which, &matrix.matrix[0][0]);
    return MS::kSuccess;
}

} // namespace

M3dView M3dView::active3dView(MStatus* status) {
    report(status, MS::kSuccess);
    return host::View::active().handle();
}

unsigned int M3dView::numberOf3dViews() {
    return 1;
}

MStatus M3dView::get3dView(const unsigned int index, M3dView& view) {
    if (index != 0)
        return MS::kInvalidParameter;
    view = active3dView();
    return MS::kSuccess;
}

MStatus M3dView::beginGL() {
    if (!view_)
        return MS::kFailure;
    std::string error;
    return view_->beginGL(error) ? MStatus(MS::kSuccess) : fail(error);
}

MStatus M3dView::endGL() {
    if (!view_)
        return MS::kFailure;
    view_->endGL();
    return MS::kSuccess;
}

MStatus M3dView::getCamera(MDagPath& camera) {
    if (!view_)
        return MS::kFailure;
    host::Node* shape = nullptr;
    std::string error;
    if (!view_->cameraShape(shape, error))
        return fail(error);
    if (!shape)
        return MS::kFailure;
    return MDagPath::getAPathTo(shape->object(), camera);
}

MStatus M3dView::setCamera(MDagPath& camera) {
    host::Node* node = host::nodeOf(camera.node());
    if (!view_ || !node)
        return MS::kInvalidParameter;
    if (!host::cameraShapeOf(node))
        return MS::kInvalidParameter;
    view_->setCameraName(node->name());
    return MS::kSuccess;
}

int M3dView::portWidth(MStatus* status) {
    report(status, view_ ? MS::kSuccess : MS::kFailure);
    return view_ ? view_->width() : 0;
}

int M3dView::portHeight(MStatus* status) {
    report(status, view_ ? MS::kSuccess : MS::kFailure);
    return view_ ? view_->height() : 0;
}

MStatus M3dView::viewport(unsigned int& x, unsigned int& y, unsigned int& width,
                          unsigned int& height) const {
    if (!view_)
        return MS::kFailure;
    x = 0;
    y = 0;
    width = static_cast<unsigned int>(view_->width());
    height = static_cast<unsigned int>(view_->height());
    return MS::kSuccess;
}

M3dView::DisplayStyle M3dView::displayStyle(MStatus* status) const {
    report(status, view_ ? MS::kSuccess : MS::kFailure);
    return view_ ? view_->style() : kWireFrame;
}

M3dView::DisplayStatus M3dView::displayStatus(const MDagPath& path, MStatus* status) {
    host::Node* node = host::nodeOf(path.node());
    report(status, node ? MS::kSuccess : MS::kInvalidParameter);
    return node ? host::displayStatusOf(*node) : kNoStatus;
}

MStatus M3dView::refresh(bool, bool) {
    if (!view_)
        return MS::kFailure;
    std::string error;
    return view_->refresh(error) ? MStatus(MS::kSuccess) : fail(error);
}

MStatus M3dView::projectionMatrix(MMatrix& projection) const {
    return readMatrix(view_, GL_PROJECTION_MATRIX, projection);
}

MStatus M3dView::modelViewMatrix(MMatrix& modelView) const {
    return readMatrix(view_, GL_MODELVIEW_MATRIX, modelView);
}

bool M3dView::worldToView(const MPoint& worldPoint, short& x, short& y, MStatus* status) const {
    host::ViewCamera camera;
    std::string error;
    if (!view_ || !view_->currentCamera(camera, error)) {
        report(status, MS::kFailure);
        return false;
    }
    report(status, MS::kSuccess);
    const MPoint clip = MPoint(worldPoint.x, worldPoint.y, worldPoint.z) * camera.viewMatrix() *
                        camera.projection();
    if (clip.w <= 0.0)
        return false;
    const double px = (clip.x / clip.w + 1.0) * 0.5 * view_->width();
    const double py = (clip.y / clip.w + 1.0) * 0.5 * view_->height();
    x = static_cast<short>(std::floor(px));
    y = static_cast<short>(std::floor(py));
    return px >= 0.0 && py >= 0.0 && px < view_->width() && py < view_->height();
}

MStatus M3dView::viewToWorld(short x, short y, MPoint& worldPoint, MVector& worldVector) const {
    host::ViewCamera camera;
    std::string error;
    if (!view_ || !view_->currentCamera(camera, error))
        return MS::kFailure;
    const double nx = 2.0 * x / view_->width() - 1.0;
    const double ny = 2.0 * y / view_->height() - 1.0;
    MPoint point;
    MVector direction(0.0, 0.0, -1.0);
    if (camera.orthographic) {
        point = MPoint(nx * camera.halfWidth, ny * camera.halfHeight, -camera.nearClip);
    } else {
        direction = MVector(nx * camera.halfWidth, ny * camera.halfHeight, -1.0);
        point = MPoint(direction * camera.nearClip);
        direction.normalize();
    }
    worldPoint = point * camera.world;
    worldVector = direction * camera.world;
    return MS::kSuccess;
}

MStatus M3dView::setDrawColor(const MColor& color) {
    if (!view_ || !view_->inGL())
        return MS::kFailure;
    glColor4f(color.r, color.g, color.b, color.a);
    return MS::kSuccess;
}
