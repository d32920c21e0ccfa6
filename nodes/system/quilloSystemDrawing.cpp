// The feather system in the viewport: its feathers as coloured line strips, optionally their
// proxy boxes, and its bounds.

#include "nodes/feather/featherDrawing.h"
#include "nodes/system/quilloSystem.h"

#include <maya/MPlug.h>

void quilloSystem::draw(M3dView& view, const MDagPath&, M3dView::DisplayStyle,
                        M3dView::DisplayStatus status) {
    const std::vector<featherGeometry>& feathers = builtFeathers();
    if (feathers.empty())
        return;
    MObject self = thisMObject();
    parentMatrix = parentTransformation(self);

    MColor colours[4];
    for (unsigned int i = 0; i < 4 && i < featherColors.length(); ++i)
        colours[i] = featherColors[i];

    glLineWidth(1.0f);
    worldSpaceFeatherDraw bracket(view, parentMatrix);
    if (status == M3dView::kLead)
        drawFeathersShaded(feathers, 1.0f, colours);
    else if (status == M3dView::kDormant)
        drawFeathersShaded(feathers, 0.6f, colours);
    else
        drawFeathersPlain(feathers, colorRGB(status));
    if (MPlug(self, displayProxyBoundingBox).asBool())
        drawProxyBoxes(feathers, MColor(0.0f, 1.0f, 0.0f));
}

MBoundingBox quilloSystem::boundingBox() const {
    MBoundingBox box;
    for (const featherGeometry& feather : builtFeathers())
        box.expand(feather.proxyBox);
    return box;
}
