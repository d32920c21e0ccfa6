#include "view/sceneDrawing.h"

#include "builtin/transformNode.h"
#include "graph/graph.h"
#include "view/meshWireframe.h"
#include "view/surfaceWireframe.h"

#include <maya/MColor.h>
#include <maya/MDagPath.h>
#include <maya/MPxLocatorNode.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace host {

namespace {

// A number attribute of the node by long name, evaluated; fallback when the node has none.
double number(Node& node, const char* name, double fallback) {
    const AttributeDef* attribute = node.findAttribute(name);
    if (!attribute || !attribute->isNumericLike())
        return fallback;
    Slot* slot = Graph::instance().pull(PlugRef{&node, attribute, {}});
    return slot ? slot->get(attribute) : fallback;
}

bool flag(Node& node, const char* name, bool fallback) {
    return number(node, name, fallback ? 1.0 : 0.0) != 0.0;
}

MDagPath pathTo(Node& node) {
    MDagPath path;
    MDagPath::getAPathTo(node.object(), path);
    return path;
}

bool finite(const MPoint& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// The host's wireframe colours: Maya's defaults for dormant NURBS surfaces and polygons.
MColor wireColor(const Drawable& shape) {
    if (shape.status == M3dView::kTemplate)
        return MColor(0.47f, 0.47f, 0.47f);
    return shape.kind == Drawable::kSurface ? MColor(0.0f, 0.016f, 0.376f)
                                            : MColor(0.0f, 0.0f, 0.0f);
}

// Segments per span of a surface's iso lines; kept within what a viewport could ever need.
int curvePrecision(Node& surface) {
    const double precision = number(surface, "curvePrecision", 4.0);
    return std::isfinite(precision) ? static_cast<int>(std::clamp(precision, 1.0, 64.0)) : 4;
}

void pullOutputs(Node& node) {
    for (const auto& attribute : node.type()->attributes)
        if (node.type()->isComputed(attribute.get()))
            Graph::instance().pull(
                PlugRef{&node, attribute.get(), std::vector<int>(attribute->arrayDepth(), -1)});
}

} // namespace

M3dView::DisplayStatus displayStatusOf(Node& node) {
    if (flag(node, "intermediateObject", false))
        return M3dView::kIntermediateObject;
    bool templated = false;
    for (Node* n = &node; n; n = n->parent()) {
        if (!flag(*n, "visibility", true))
            return M3dView::kInvisible;
        templated = templated || flag(*n, "template", false);
    }
    return templated ? M3dView::kTemplate : M3dView::kDormant;
}

std::vector<Drawable> drawnShapes() {
    std::vector<Drawable> shapes;
    for (Node* node : Graph::instance().nodes()) {
        if (!node->alive() || !node->type()->dag)
            continue;
        Drawable shape;
        shape.node = node;
        if (node->type()->api == MFn::kNurbsSurface)
            shape.kind = Drawable::kSurface;
        else if (node->type()->api == MFn::kMesh)
            shape.kind = Drawable::kMesh;
        else if (node->type()->kind == MPxNode::kLocatorNode && node->impl())
            shape.kind = Drawable::kLocator;
        else
            continue;
        shape.status = displayStatusOf(*node);
        if (shape.status != M3dView::kInvisible && shape.status != M3dView::kIntermediateObject)
            shapes.push_back(shape);
    }
    for (const Drawable& shape : shapes)
        if (shape.kind == Drawable::kLocator && shape.node->alive())
            pullOutputs(*shape.node);
    return shapes;
}

bool worldBounds(const std::vector<Drawable>& shapes, MBoundingBox& box) {
    box.clear();
    bool found = false;
    for (const Drawable& shape : shapes) {
        if (!shape.node->alive())
            continue;
        const MDagPath path = pathTo(*shape.node);
        if (shape.kind == Drawable::kSurface) {
            found = addSurfaceBounds(path, box) || found;
            continue;
        }
        if (shape.kind == Drawable::kMesh) {
            found = addMeshBounds(path, box) || found;
            continue;
        }
        auto* locator = static_cast<MPxLocatorNode*>(shape.node->impl());
        if (!locator || !locator->isBounded())
            continue;
        MBoundingBox local = locator->boundingBox();
        if (!finite(local.min()) || !finite(local.max()))
            continue;
        // A bounded locator with nothing to show gives an empty box, which adds nothing. An
        // MBoundingBox does not say whether it is empty, but an empty one leaves a fresh box
        // empty, and an empty box contains no point.
        MBoundingBox probe;
        probe.expand(local);
        if (!probe.contains(local.min()))
            continue;
        local.transformUsing(worldMatrix(*shape.node));
        box.expand(local);
        found = true;
    }
    return found;
}

void drawShapes(const std::vector<Drawable>& shapes, M3dView& view, const ViewCamera& camera,
                M3dView::DisplayStyle style, const std::function<void(int, int)>& progress) {
    const MMatrix viewMatrix = camera.viewMatrix();
    const int total = static_cast<int>(shapes.size());
    int done = 0;
    // Wireframes first, then the locators, each group in graph order.
    for (int pass = 0; pass < 2; ++pass)
        for (const Drawable& shape : shapes) {
            if ((shape.kind == Drawable::kLocator) != (pass == 1) || !shape.node->alive())
                continue;
            const MMatrix modelView = worldMatrix(*shape.node) * viewMatrix;
            glMatrixMode(GL_MODELVIEW);
            glLoadMatrixd(&modelView.matrix[0][0]);
            glPushAttrib(GL_ALL_ATTRIB_BITS);
            glPushMatrix();
            const MDagPath path = pathTo(*shape.node);
            if (shape.kind == Drawable::kLocator) {
                auto* locator = static_cast<MPxLocatorNode*>(shape.node->impl());
                locator->draw(view, path, style, shape.status);
                // A draw that left feedback or selection mode on would blank every later one.
                GLint mode = GL_RENDER;
                glGetIntegerv(GL_RENDER_MODE, &mode);
                if (mode != GL_RENDER)
                    glRenderMode(GL_RENDER);
            } else {
                const MColor color = wireColor(shape);
                glColor3f(color.r, color.g, color.b);
                if (shape.kind == Drawable::kSurface)
                    drawSurfaceWireframe(path, curvePrecision(*shape.node));
                else
                    drawMeshWireframe(path);
            }
            glMatrixMode(GL_MODELVIEW);
            glPopMatrix();
            glPopAttrib();
            if (progress)
                progress(++done, total);
        }
}

} // namespace host
