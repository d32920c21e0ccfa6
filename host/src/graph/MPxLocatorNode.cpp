#include <maya/MFnNumericAttribute.h>
#include <maya/MPxLocatorNode.h>

#include <string>

namespace {
MObject makeTriple(const char* name, const char* shortName, const char* childShort, double value,
                   MObject& x, MObject& y, MObject& z) {
    MFnNumericAttribute fn;
    std::string n(name), s(childShort);
    x = fn.create((n + "X").c_str(), (s + "x").c_str(), MFnNumericData::kDouble, value);
    y = fn.create((n + "Y").c_str(), (s + "y").c_str(), MFnNumericData::kDouble, value);
    z = fn.create((n + "Z").c_str(), (s + "z").c_str(), MFnNumericData::kDouble, value);
    return fn.create(name, shortName, x, y, z);
}
} // namespace

MObject MPxLocatorNode::localPositionX;
MObject MPxLocatorNode::localPositionY;
MObject MPxLocatorNode::localPositionZ;
MObject MPxLocatorNode::localPosition =
    makeTriple("localPosition", "lp", "lp", 0.0, MPxLocatorNode::localPositionX,
               MPxLocatorNode::localPositionY, MPxLocatorNode::localPositionZ);
MObject MPxLocatorNode::localScaleX;
MObject MPxLocatorNode::localScaleY;
MObject MPxLocatorNode::localScaleZ;
MObject MPxLocatorNode::localScale =
    makeTriple("localScale", "los", "ls", 1.0, MPxLocatorNode::localScaleX,
               MPxLocatorNode::localScaleY, MPxLocatorNode::localScaleZ);

MPxLocatorNode::MPxLocatorNode() = default;
MPxLocatorNode::~MPxLocatorNode() = default;

MPxNode::Type MPxLocatorNode::type() const {
    return kLocatorNode;
}

void MPxLocatorNode::draw(M3dView&, const MDagPath&, M3dView::DisplayStyle,
                          M3dView::DisplayStatus) {}

bool MPxLocatorNode::isBounded() const {
    return false;
}

MBoundingBox MPxLocatorNode::boundingBox() const {
    return MBoundingBox();
}

bool MPxLocatorNode::excludeAsLocator() const {
    return false;
}

bool MPxLocatorNode::isTransparent() const {
    return false;
}

// The host's status colours; in Maya they are user preferences.
MColor MPxLocatorNode::colorRGB(M3dView::DisplayStatus status) const {
    switch (status) {
    case M3dView::kLead:
        return MColor(0.26f, 1.0f, 0.64f);
    case M3dView::kActive:
        return MColor(1.0f, 1.0f, 1.0f);
    case M3dView::kDormant:
        return MColor(0.0f, 0.016f, 0.376f);
    case M3dView::kTemplate:
        return MColor(0.47f, 0.47f, 0.47f);
    case M3dView::kActiveTemplate:
        return MColor(1.0f, 0.47f, 0.47f);
    case M3dView::kHilite:
        return MColor(0.0f, 0.85f, 0.85f);
    case M3dView::kLive:
        return MColor(0.2f, 0.4f, 0.2f);
    case M3dView::kActiveAffected:
        return MColor(0.8f, 0.2f, 0.8f);
    default:
        return MColor(0.5f, 0.5f, 0.5f);
    }
}

int MPxLocatorNode::color(M3dView::DisplayStatus status) const {
    return static_cast<int>(status);
}
