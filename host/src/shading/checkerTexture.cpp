#include "shading/checkerTexture.h"

#include "graph/nodeType.h"
#include "shading/textureNode.h"

#include <maya/MFloatVectorArray.h>
#include <maya/MFnNumericAttribute.h>

#include <algorithm>
#include <cmath>

namespace host {

namespace {

void initializeChecker() {
    addTextureAttributes();
    MFnNumericAttribute numeric;
    MObject color1 = numeric.createColor("color1", "c1");
    numeric.setDefault(1.0f, 1.0f, 1.0f);
    MPxNode::addAttribute(color1);
    MObject color2 = numeric.createColor("color2", "c2");
    numeric.setDefault(0.0f, 0.0f, 0.0f);
    MPxNode::addAttribute(color2);
    MPxNode::addAttribute(numeric.create("contrast", "ct", MFnNumericData::kFloat, 1.0));
}

MStatus evaluateChecker(Node& node, const ShadingInputs& inputs, const TextureCoordinates& uv,
                        std::vector<MFloatVector>& colors, std::vector<float>& alphas,
                        std::string* error) {
    MFloatVectorArray color1, color2;
    MStatus status = sampleAttribute(node, "color1", inputs, color1, error);
    if (status)
        status = sampleAttribute(node, "color2", inputs, color2, error);
    if (!status)
        return status;
    const float contrast =
        static_cast<float>(std::clamp(attributeNumber(node, "contrast", 1.0), 0.0, 1.0));
    for (size_t i = 0; i < colors.size(); ++i) {
        if (!uv.inside[i])
            continue;
        unsigned int s = static_cast<unsigned int>(i);
        const double parity = std::floor(2.0 * uv.u[i]) + std::floor(2.0 * uv.v[i]);
        const bool first = std::fmod(std::fabs(parity), 2.0) < 0.5;
        const MFloatVector mean = (color1[s] + color2[s]) * 0.5f;
        const MFloatVector& square = first ? color1[s] : color2[s];
        colors[i] = mean + (square - mean) * contrast;
        alphas[i] = luminance(colors[i]);
    }
    return MS::kSuccess;
}

} // namespace

void registerCheckerType(TypeRegistry& registry) {
    // Host-reserved id, outside the ranges plug-ins are given.
    registry.registerBuiltin("checker", MTypeId(0x0fff0021), &ShadingNode::creator,
                             MPxNode::kDependNode, MFn::kChecker, false, false, &initializeChecker);
    SamplerRegistry::instance().add("checker", textureSampler(&evaluateChecker));
}

} // namespace host
