#include "shading/rampTexture.h"

#include "graph/graph.h"
#include "graph/nodeType.h"
#include "shading/shadingNetwork.h"
#include "shading/textureNode.h"

#include <maya/MFloatVectorArray.h>
#include <maya/MFnCompoundAttribute.h>
#include <maya/MFnEnumAttribute.h>
#include <maya/MFnNumericAttribute.h>

#include <algorithm>
#include <cmath>

namespace host {

namespace {

constexpr float kPi = 3.14159265358979f;

void initializeRamp() {
    addTextureAttributes();
    MFnEnumAttribute enumeration;
    MObject type = enumeration.create("type", "t", 0);
    const char* types[] = {"V Ramp",      "U Ramp",           "Diagonal Ramp",
                           "Radial Ramp", "Circular Ramp",    "Box Ramp",
                           "UV Ramp",     "Four Corner Ramp", "Tartan Ramp"};
    for (short i = 0; i < 9; ++i)
        enumeration.addField(types[i], i);
    MPxNode::addAttribute(type);
    MObject interpolation = enumeration.create("interpolation", "in", 1);
    const char* interpolations[] = {"None",   "Linear", "Exponential Up", "Exponential Down",
                                    "Smooth", "Bump",   "Spike"};
    for (short i = 0; i < 7; ++i)
        enumeration.addField(interpolations[i], i);
    MPxNode::addAttribute(interpolation);

    MFnNumericAttribute numeric;
    MObject position = numeric.create("position", "ep", MFnNumericData::kFloat, 0.0);
    MObject color = numeric.createColor("color", "ec");
    MFnCompoundAttribute compound;
    MObject entries = compound.create("colorEntryList", "cel");
    compound.addChild(position);
    compound.addChild(color);
    compound.setArray(true);
    MPxNode::addAttribute(entries);
}

float frac(float x) {
    return x - std::floor(x);
}

float weight(int interpolation, float f) {
    switch (interpolation) {
    case 0:
        return 0.0f;
    case 2:
        return f * f;
    case 3:
        return 1.0f - (1.0f - f) * (1.0f - f);
    case 4:
        return f * f * (3.0f - 2.0f * f);
    default:
        return f;
    }
}

// The entries of the node, their colours sampled at every sample; sorted per sample later.
MStatus readEntries(Node& node, const ShadingInputs& inputs, std::vector<float>& positions,
                    std::vector<MFloatVectorArray>& colors, std::string* error) {
    const AttributeDef* list = node.findAttribute("colorEntryList");
    const AttributeDef* position = node.findAttribute("position");
    const AttributeDef* color = node.findAttribute("color");
    Slot* container = list ? node.topSlot(list) : nullptr;
    if (!container || !position || !color)
        return MS::kSuccess;
    std::vector<int> indices;
    for (const auto& element : container->elements)
        indices.push_back(static_cast<int>(element.first));
    for (int index : indices) {
        PlugRef positionPlug{&node, position, {index}};
        Slot* slot = Graph::instance().pull(positionPlug);
        double value = slot ? slot->get(position) : 0.0;
        positions.push_back(std::isfinite(value) ? static_cast<float>(value) : 0.0f);
        colors.emplace_back();
        MFloatVectorArray transparencies;
        MStatus status = sampleShadingPlug(PlugRef{&node, color, {index}}, inputs, colors.back(),
                                           transparencies, error);
        if (!status)
            return status;
    }
    return MS::kSuccess;
}

MStatus evaluateRamp(Node& node, const ShadingInputs& inputs, const TextureCoordinates& uv,
                     std::vector<MFloatVector>& colors, std::vector<float>& alphas,
                     std::string* error) {
    std::vector<float> positions;
    std::vector<MFloatVectorArray> entryColors;
    MStatus status = readEntries(node, inputs, positions, entryColors, error);
    if (!status)
        return status;
    std::vector<size_t> order(positions.size());
    for (size_t k = 0; k < order.size(); ++k)
        order[k] = k;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return positions[a] < positions[b]; });
    const int type = static_cast<int>(attributeNumber(node, "type", 0.0));
    const int interpolation = static_cast<int>(attributeNumber(node, "interpolation", 1.0));
    std::vector<RampEntry> sorted(order.size());
    for (size_t i = 0; i < colors.size(); ++i) {
        if (!uv.inside[i])
            continue;
        unsigned int s = static_cast<unsigned int>(i);
        for (size_t k = 0; k < order.size(); ++k)
            sorted[k] = RampEntry{positions[order[k]], entryColors[order[k]][s]};
        const float u = uv.u[i], v = uv.v[i];
        MFloatVector color;
        if (type == 7) {
            const float x = std::clamp(u, 0.0f, 1.0f), y = std::clamp(v, 0.0f, 1.0f);
            const MFloatVector bottom = rampColor(sorted, interpolation, 0.0f) * (1.0f - x) +
                                        rampColor(sorted, interpolation, 1.0f / 3.0f) * x;
            const MFloatVector top = rampColor(sorted, interpolation, 2.0f / 3.0f) * (1.0f - x) +
                                     rampColor(sorted, interpolation, 1.0f) * x;
            color = bottom * (1.0f - y) + top * y;
        } else if (type == 8) {
            color =
                (rampColor(sorted, interpolation, u) + rampColor(sorted, interpolation, v)) * 0.5f;
        } else {
            color = rampColor(sorted, interpolation, rampParameter(type, u, v));
        }
        colors[i] = color;
        alphas[i] = luminance(color);
    }
    return MS::kSuccess;
}

} // namespace

float rampParameter(int type, float u, float v) {
    const float du = u - 0.5f, dv = v - 0.5f;
    switch (type) {
    case 1:
        return u;
    case 2:
        return 0.5f * (u + v);
    case 3:
        return frac(std::atan2(dv, du) / (2.0f * kPi));
    case 4:
        return 2.0f * std::sqrt(du * du + dv * dv);
    case 5:
        return 2.0f * std::max(std::fabs(du), std::fabs(dv));
    case 6:
        return u * v;
    default:
        return v;
    }
}

MFloatVector rampColor(const std::vector<RampEntry>& sorted, int interpolation, float t) {
    if (sorted.empty())
        return MFloatVector(0.0f, 0.0f, 0.0f);
    if (!(t >= sorted.front().position)) // before the first entry, or not a number
        return sorted.front().color;
    size_t b = 0;
    while (b < sorted.size() && sorted[b].position <= t)
        ++b;
    if (b == sorted.size())
        return sorted.back().color;
    const RampEntry& first = sorted[b - 1];
    const RampEntry& second = sorted[b];
    const float f = (t - first.position) / (second.position - first.position);
    const MFloatVector difference = second.color - first.color;
    MFloatVector color = first.color + difference * weight(interpolation, f);
    if (interpolation == 5 || interpolation == 6) {
        const float hump = 0.5f * std::sin(kPi * f) * (interpolation == 5 ? 1.0f : -1.0f);
        for (unsigned int k = 0; k < 3; ++k)
            color[k] += hump * std::fabs(difference[k]);
    }
    return color;
}

void registerRampType(TypeRegistry& registry) {
    // Host-reserved id, outside the ranges plug-ins are given.
    registry.registerBuiltin("ramp", MTypeId(0x0fff0022), &ShadingNode::creator,
                             MPxNode::kDependNode, MFn::kRamp, false, false, &initializeRamp);
    SamplerRegistry::instance().add("ramp", textureSampler(&evaluateRamp));
}

} // namespace host
