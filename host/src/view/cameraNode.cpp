#include "view/cameraNode.h"

#include "graph/graph.h"
#include "graph/nodeType.h"

#include <maya/MFnEnumAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnTypedAttribute.h>

#include <cmath>

namespace host {

MObject CameraNode::focalLength, CameraNode::horizontalFilmAperture,
    CameraNode::verticalFilmAperture, CameraNode::filmFit, CameraNode::nearClipPlane,
    CameraNode::farClipPlane, CameraNode::orthographic, CameraNode::orthographicWidth,
    CameraNode::centerOfInterest;

namespace {

MObject addNumber(const char* name, const char* shortName, MFnNumericData::Type type,
                  double value) {
    MFnNumericAttribute numeric;
    MObject attribute = numeric.create(name, shortName, type, value);
    MPxNode::addAttribute(attribute);
    return attribute;
}

void addString(const char* name, const char* shortName) {
    MFnTypedAttribute typed;
    MPxNode::addAttribute(typed.create(name, shortName, MFnData::kString));
}

double number(Node& node, const MObject& attribute) {
    PlugRef plug{&node, attributeDef(attribute), {}};
    Slot* slot = Graph::instance().pull(plug);
    return slot ? slot->get(plug.attribute) : 0.0;
}

} // namespace

void CameraNode::initialize() {
    const Lens lens;
    focalLength = addNumber("focalLength", "fl", MFnNumericData::kDouble, lens.focalLength);
    // Files set the apertures one by one or together through their parent, as ".cap".
    MFnNumericAttribute numeric;
    horizontalFilmAperture = numeric.create("horizontalFilmAperture", "hfa",
                                            MFnNumericData::kDouble, lens.horizontalAperture);
    verticalFilmAperture = numeric.create("verticalFilmAperture", "vfa", MFnNumericData::kDouble,
                                          lens.verticalAperture);
    addAttribute(
        numeric.create("cameraAperture", "cap", horizontalFilmAperture, verticalFilmAperture));
    MObject horizontalOffset =
        numeric.create("horizontalFilmOffset", "hfo", MFnNumericData::kDouble, 0.0);
    MObject verticalOffset =
        numeric.create("verticalFilmOffset", "vfo", MFnNumericData::kDouble, 0.0);
    addAttribute(numeric.create("filmOffset", "fio", horizontalOffset, verticalOffset));
    MFnEnumAttribute fit;
    filmFit = fit.create("filmFit", "ff", static_cast<short>(lens.filmFit));
    const char* fits[] = {"Fill", "Horizontal", "Vertical", "Overscan"};
    for (short i = 0; i < 4; ++i)
        fit.addField(fits[i], i);
    addAttribute(filmFit);
    nearClipPlane = addNumber("nearClipPlane", "ncp", MFnNumericData::kDouble, lens.nearClip);
    farClipPlane = addNumber("farClipPlane", "fcp", MFnNumericData::kDouble, lens.farClip);
    orthographic =
        addNumber("orthographic", "o", MFnNumericData::kBoolean, lens.orthographic ? 1.0 : 0.0);
    orthographicWidth =
        addNumber("orthographicWidth", "ow", MFnNumericData::kDouble, lens.orthographicWidth);
    centerOfInterest = addNumber("centerOfInterest", "coi", MFnNumericData::kDouble, 5.0);

    addNumber("overscan", "ovr", MFnNumericData::kDouble, 1.0);
    addNumber("lensSqueezeRatio", "lsr", MFnNumericData::kDouble, 1.0);
    addNumber("cameraScale", "cs", MFnNumericData::kDouble, 1.0);
    addNumber("depthOfField", "dof", MFnNumericData::kBoolean, 0.0);
    addNumber("focusDistance", "fd", MFnNumericData::kDouble, 5.0);
    addNumber("fStop", "fs", MFnNumericData::kDouble, 5.6);
    addNumber("shutterAngle", "sa", MFnNumericData::kDouble, 144.0);
    addNumber("locatorScale", "lls", MFnNumericData::kDouble, 1.0);
    addNumber("renderable", "rnd", MFnNumericData::kBoolean, 1.0);
    MFnNumericAttribute pivot;
    addAttribute(pivot.createPoint("tumblePivot", "tp"));
    addString("imageName", "imn");
    addString("depthName", "den");
    addString("maskName", "man");
    addString("homeCommand", "hc");
}

void registerCameraType(TypeRegistry& registry) {
    // Maya's own id for the type ('DCAM'), outside the ranges plug-ins are given.
    registry.registerBuiltin("camera", MTypeId(0x4443414d), &CameraNode::creator,
                             MPxNode::kDependNode, MFn::kCamera, true, true,
                             &CameraNode::initialize);
}

Node* cameraShapeOf(Node* node) {
    if (!node || !node->alive())
        return nullptr;
    if (node->type()->api == MFn::kCamera)
        return node;
    if (!node->hasFn(MFn::kTransform))
        return nullptr;
    for (Node* child : node->children())
        if (child->alive() && child->type()->api == MFn::kCamera)
            return child;
    return nullptr;
}

Lens lensOf(Node& camera) {
    const Lens defaults;
    Lens lens;
    auto positive = [&](const MObject& attribute, double fallback) {
        double value = number(camera, attribute);
        return std::isfinite(value) && value > 0.0 ? value : fallback;
    };
    lens.focalLength = positive(CameraNode::focalLength, defaults.focalLength);
    lens.horizontalAperture =
        positive(CameraNode::horizontalFilmAperture, defaults.horizontalAperture);
    lens.verticalAperture = positive(CameraNode::verticalFilmAperture, defaults.verticalAperture);
    lens.filmFit = static_cast<int>(number(camera, CameraNode::filmFit));
    lens.orthographic = number(camera, CameraNode::orthographic) != 0.0;
    lens.orthographicWidth = positive(CameraNode::orthographicWidth, defaults.orthographicWidth);
    lens.nearClip = positive(CameraNode::nearClipPlane, defaults.nearClip);
    lens.farClip = number(camera, CameraNode::farClipPlane);
    if (!std::isfinite(lens.farClip) || !(lens.farClip > lens.nearClip))
        lens.farClip = lens.nearClip * 1e4;
    return lens;
}

} // namespace host
