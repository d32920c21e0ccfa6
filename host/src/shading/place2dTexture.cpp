#include "shading/place2dTexture.h"

#include "graph/graph.h"
#include "graph/nodeType.h"
#include "shading/textureNode.h"

#include <maya/MFloatArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MFnNumericAttribute.h>

#include <cmath>

namespace host {

namespace {

void initializePlace2dTexture() {
    addFloatPair("coverage", "c", "coverageU", "cu", "coverageV", "cv", 1.0);
    addFloatPair("translateFrame", "tf", "translateFrameU", "tfu", "translateFrameV", "tfv", 0.0);
    addAngle("rotateFrame", "rf");
    addNumber("mirrorU", "mu", MFnNumericData::kBoolean, 0.0);
    addNumber("mirrorV", "mv", MFnNumericData::kBoolean, 0.0);
    addNumber("stagger", "s", MFnNumericData::kBoolean, 0.0);
    addNumber("wrapU", "wu", MFnNumericData::kBoolean, 1.0);
    addNumber("wrapV", "wv", MFnNumericData::kBoolean, 1.0);
    addFloatPair("repeatUV", "re", "repeatU", "reu", "repeatV", "rev", 1.0);
    addFloatPair("offset", "of", "offsetU", "ofu", "offsetV", "ofv", 0.0);
    addAngle("rotateUV", "r");
    addFloatPair("noiseUV", "n", "noiseU", "nu", "noiseV", "nv", 0.0);
    addFloatPair("uvCoord", "uv", "uCoord", "u", "vCoord", "v", 0.0);
    addFloatPair("uvFilterSize", "fs", "uvFilterSizeX", "fsx", "uvFilterSizeY", "fsy", 0.0);
    addFloatPair("outUV", "o", "outU", "ou", "outV", "ov", 0.0, false);
    addFloatPair("outUvFilterSize", "ofs", "outUvFilterSizeX", "ofsx", "outUvFilterSizeY", "ofsy",
                 0.0, false);
}

double frac(double x) {
    return x - std::floor(x);
}

} // namespace

Placement readPlacement(Node& node) {
    Placement p;
    p.coverage[0] = attributeNumber(node, "coverageU", 1.0);
    p.coverage[1] = attributeNumber(node, "coverageV", 1.0);
    p.translateFrame[0] = attributeNumber(node, "translateFrameU", 0.0);
    p.translateFrame[1] = attributeNumber(node, "translateFrameV", 0.0);
    p.repeat[0] = attributeNumber(node, "repeatU", 1.0);
    p.repeat[1] = attributeNumber(node, "repeatV", 1.0);
    p.offset[0] = attributeNumber(node, "offsetU", 0.0);
    p.offset[1] = attributeNumber(node, "offsetV", 0.0);
    p.rotate = attributeNumber(node, "rotateUV", 0.0);
    p.wrap[0] = attributeNumber(node, "wrapU", 1.0) != 0.0;
    p.wrap[1] = attributeNumber(node, "wrapV", 1.0) != 0.0;
    return p;
}

bool placeUV(const Placement& placement, float u, float v, float& placedU, float& placedV) {
    double a[2] = {static_cast<double>(u) - placement.translateFrame[0],
                   static_cast<double>(v) - placement.translateFrame[1]};
    bool inside = std::isfinite(a[0]) && std::isfinite(a[1]);
    for (int k = 0; k < 2; ++k) {
        const double coverage = placement.coverage[k];
        if (coverage >= 1.0)
            continue;
        if (placement.wrap[k])
            a[k] = frac(a[k]);
        if (!(coverage > 0.0) || a[k] < 0.0 || a[k] > coverage)
            inside = false;
        else
            a[k] /= coverage;
    }
    if (placement.rotate != 0.0) {
        const double c = std::cos(placement.rotate), s = std::sin(placement.rotate);
        const double x = a[0] - 0.5, y = a[1] - 0.5;
        a[0] = 0.5 + c * x - s * y;
        a[1] = 0.5 + s * x + c * y;
    }
    for (int k = 0; k < 2; ++k) {
        double p = a[k] * placement.repeat[k] + placement.offset[k];
        if (!std::isfinite(p))
            inside = false;
        else if (placement.wrap[k])
            p = frac(p);
        else if (p < 0.0 || p > 1.0)
            inside = false;
        (k == 0 ? placedU : placedV) = static_cast<float>(p);
    }
    return inside;
}

MStatus samplePlace2dTexture(const PlugRef& plug, const ShadingInputs& inputs,
                             MFloatVectorArray& colors, MFloatVectorArray& transparencies,
                             std::string* error) {
    Node& node = *plug.node;
    const AttributeDef* top = plug.attribute->top();
    const AttributeDef* outUV = node.findAttribute("outUV");
    const AttributeDef* outFilter = node.findAttribute("outUvFilterSize");
    if (top != outUV && top != outFilter)
        return MS::kNotImplemented;
    if (inputs.count > 0 && (!inputs.u || !inputs.v)) {
        *error = "the samples have no u and v coordinates";
        return MS::kFailure;
    }
    const Placement placement = readPlacement(node);
    const int component = plug.attribute == top ? -1 : top->childIndex(plug.attribute);
    for (unsigned int i = 0; i < static_cast<unsigned int>(inputs.count); ++i) {
        float x = 0.0f, y = 0.0f;
        if (top == outUV) {
            placeUV(placement, (*inputs.u)[i], (*inputs.v)[i], x, y);
        } else if (inputs.filterSizes) {
            float size = (*inputs.filterSizes)[i];
            x = size * static_cast<float>(placement.repeat[0]);
            y = size * static_cast<float>(placement.repeat[1]);
        }
        if (component == 0)
            colors[i] = MFloatVector(x, x, x);
        else if (component == 1)
            colors[i] = MFloatVector(y, y, y);
        else
            colors[i] = MFloatVector(x, y, 0.0f);
        transparencies[i] = MFloatVector(0.0f, 0.0f, 0.0f);
    }
    return MS::kSuccess;
}

void registerPlace2dTextureType(TypeRegistry& registry) {
    // Host-reserved id, outside the ranges plug-ins are given.
    registry.registerBuiltin("place2dTexture", MTypeId(0x0fff0020), &ShadingNode::creator,
                             MPxNode::kDependNode, MFn::kPlace2dTexture, false, false,
                             &initializePlace2dTexture);
}

} // namespace host
