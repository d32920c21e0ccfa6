#include "shading/textureNode.h"

#include "graph/graph.h"
#include "graph/nodeType.h"
#include "shading/place2dTexture.h"
#include "shading/shadingNetwork.h"

#include <maya/MFloatArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MFnNumericAttribute.h>

#include <cmath>

namespace host {

namespace {

void addColor(const char* name, const char* shortName, float value, bool writable = true) {
    MFnNumericAttribute numeric;
    MObject color = numeric.createColor(name, shortName);
    numeric.setDefault(value, value, value);
    numeric.setWritable(writable);
    MPxNode::addAttribute(color);
}

// The incoming connection into the node's uvCoord or one of its components.
const Connection* uvConnection(Node& node, const AttributeDef* uvCoord) {
    PlugRef plug{&node, uvCoord, {}};
    for (const auto& c : node.incoming)
        if (plug.covers(c->destination))
            return c.get();
    return nullptr;
}

MStatus placedCoordinates(Node& node, const ShadingInputs& inputs, TextureCoordinates& uv,
                          std::string* error) {
    size_t count = static_cast<size_t>(inputs.count);
    uv.u.assign(count, 0.0f);
    uv.v.assign(count, 0.0f);
    uv.inside.assign(count, 1);
    if (count == 0)
        return MS::kSuccess;
    if (!inputs.u || !inputs.v) {
        *error = "the samples have no u and v coordinates";
        return MS::kFailure;
    }
    Placement placement; // none: the coordinates as given, wrapped
    bool placed = false;
    if (const AttributeDef* uvCoord = node.findAttribute("uvCoord")) {
        if (const Connection* c = uvConnection(node, uvCoord)) {
            const AttributeDef* outUV = c->source.node->findAttribute("outUV");
            if (c->source.node->typeName() != "place2dTexture" || c->source.attribute != outUV ||
                c->destination.attribute != uvCoord) {
                *error = "its uvCoord comes from '" + Graph::plugName(c->source) +
                         "'; the host follows only a place2dTexture's outUV into uvCoord";
                return MS::kFailure;
            }
            placement = readPlacement(*c->source.node);
            placed = true;
        }
    }
    for (size_t i = 0; i < count; ++i) {
        unsigned int s = static_cast<unsigned int>(i);
        float u = (*inputs.u)[s], v = (*inputs.v)[s];
        if (placed) {
            uv.inside[i] = placeUV(placement, u, v, uv.u[i], uv.v[i]) ? 1 : 0;
        } else {
            uv.u[i] = u;
            uv.v[i] = v;
            uv.inside[i] = std::isfinite(u) && std::isfinite(v) ? 1 : 0;
        }
    }
    return MS::kSuccess;
}

// Samplers sample their inputs through sampleShadingPlug, which starts counting connections
// afresh; this depth catches a texture fed by its own output however far round.
constexpr int kMaxTextureDepth = 64;
int textureDepth = 0;

struct DepthGuard {
    DepthGuard() { ++textureDepth; }
    ~DepthGuard() { --textureDepth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;
};

MFloatVector grey(float value) {
    return MFloatVector(value, value, value);
}

} // namespace

void addFloatPair(const char* name, const char* shortName, const char* first,
                  const char* firstShort, const char* second, const char* secondShort, double value,
                  bool writable) {
    MFnNumericAttribute numeric;
    MObject a = numeric.create(first, firstShort, MFnNumericData::kFloat, value);
    MObject b = numeric.create(second, secondShort, MFnNumericData::kFloat, value);
    MObject pair = numeric.create(name, shortName, a, b);
    numeric.setWritable(writable);
    MPxNode::addAttribute(pair);
}

void addNumber(const char* name, const char* shortName, MFnNumericData::Type type, double value) {
    MFnNumericAttribute numeric;
    MPxNode::addAttribute(numeric.create(name, shortName, type, value));
}

void addAngle(const char* name, const char* shortName) {
    MFnNumericAttribute numeric;
    MObject attribute = numeric.create(name, shortName, MFnNumericData::kDouble, 0.0);
    attributeDef(attribute)->angle = true;
    MPxNode::addAttribute(attribute);
}

void addTextureAttributes() {
    const char* uvNames[2] = {"uCoord", "vCoord"};
    const char* uvShort[2] = {"u", "v"};
    addFloatPair("uvCoord", "uv", uvNames[0], uvShort[0], uvNames[1], uvShort[1], 0.0, true);
    const char* filterNames[2] = {"uvFilterSizeX", "uvFilterSizeY"};
    const char* filterShort[2] = {"fsx", "fsy"};
    addFloatPair("uvFilterSize", "fs", filterNames[0], filterShort[0], filterNames[1],
                 filterShort[1], 0.0, true);

    const char* coverage[2] = {"coverageU", "coverageV"};
    const char* coverageShort[2] = {"cu", "cv"};
    addFloatPair("coverage", "c", coverage[0], coverageShort[0], coverage[1], coverageShort[1], 1.0,
                 true);
    const char* frame[2] = {"translateFrameU", "translateFrameV"};
    const char* frameShort[2] = {"tfu", "tfv"};
    addFloatPair("translateFrame", "tf", frame[0], frameShort[0], frame[1], frameShort[1], 0.0,
                 true);
    addAngle("rotateFrame", "rf");
    addNumber("mirrorU", "mu", MFnNumericData::kBoolean, 0.0);
    addNumber("mirrorV", "mv", MFnNumericData::kBoolean, 0.0);
    addNumber("stagger", "s", MFnNumericData::kBoolean, 0.0);
    addNumber("wrapU", "wu", MFnNumericData::kBoolean, 1.0);
    addNumber("wrapV", "wv", MFnNumericData::kBoolean, 1.0);
    const char* repeat[2] = {"repeatU", "repeatV"};
    const char* repeatShort[2] = {"reu", "rev"};
    addFloatPair("repeatUV", "re", repeat[0], repeatShort[0], repeat[1], repeatShort[1], 1.0, true);
    const char* offset[2] = {"offsetU", "offsetV"};
    const char* offsetShort[2] = {"ofu", "ofv"};
    addFloatPair("offset", "of", offset[0], offsetShort[0], offset[1], offsetShort[1], 0.0, true);
    addAngle("rotateUV", "ro");
    const char* noise[2] = {"noiseU", "noiseV"};
    const char* noiseShort[2] = {"nu", "nv"};
    addFloatPair("noiseUV", "n", noise[0], noiseShort[0], noise[1], noiseShort[1], 0.0, true);

    addColor("defaultColor", "dc", 0.5f);
    addColor("colorGain", "cg", 1.0f);
    addColor("colorOffset", "co", 0.0f);
    addNumber("alphaGain", "ag", MFnNumericData::kFloat, 1.0);
    addNumber("alphaOffset", "ao", MFnNumericData::kFloat, 0.0);

    addColor("outColor", "oc", 0.0f, false);
    MFnNumericAttribute numeric;
    MObject alpha = numeric.create("outAlpha", "oa", MFnNumericData::kFloat, 0.0);
    numeric.setWritable(false);
    MPxNode::addAttribute(alpha);
    addColor("outTransparency", "ot", 0.0f, false);
}

double attributeNumber(Node& node, const char* name, double fallback) {
    PlugRef plug{&node, node.findAttribute(name), {}};
    if (!plug.attribute || !plug.attribute->isNumericLike())
        return fallback;
    Slot* slot = Graph::instance().pull(plug);
    double value = slot ? slot->get(plug.attribute) : fallback;
    return std::isfinite(value) ? value : fallback;
}

MStatus sampleAttribute(Node& node, const char* name, const ShadingInputs& inputs,
                        MFloatVectorArray& values, std::string* error) {
    PlugRef plug{&node, node.findAttribute(name), {}};
    if (!plug.attribute) {
        *error = "node '" + node.name() + "' has no attribute '" + name + "'";
        return MS::kFailure;
    }
    MFloatVectorArray transparencies;
    return sampleShadingPlug(plug, inputs, values, transparencies, error);
}

float luminance(const MFloatVector& color) {
    return 0.3f * color.x + 0.59f * color.y + 0.11f * color.z;
}

ShadingSampler textureSampler(TextureEvaluator evaluate) {
    return [evaluate](const PlugRef& plug, const ShadingInputs& inputs, MFloatVectorArray& colors,
                      MFloatVectorArray& transparencies, std::string* error) -> MStatus {
        Node& node = *plug.node;
        const AttributeDef* outColor = node.findAttribute("outColor");
        const AttributeDef* outAlpha = node.findAttribute("outAlpha");
        const AttributeDef* outTransparency = node.findAttribute("outTransparency");
        const AttributeDef* top = plug.attribute->top();
        if (top != outColor && top != outAlpha && top != outTransparency)
            return MS::kNotImplemented;
        DepthGuard guard;
        if (textureDepth > kMaxTextureDepth) {
            *error = "the textures feeding '" + node.name() + "' form a cycle";
            return MS::kFailure;
        }

        TextureCoordinates uv;
        MStatus status = placedCoordinates(node, inputs, uv, error);
        if (!status)
            return status;
        MFloatVectorArray defaults;
        status = sampleAttribute(node, "defaultColor", inputs, defaults, error);
        if (!status)
            return status;
        const size_t count = static_cast<size_t>(inputs.count);
        std::vector<MFloatVector> textureColors(count);
        std::vector<float> alphas(count, 0.0f);
        status = evaluate(node, inputs, uv, textureColors, alphas, error);
        if (!status)
            return status;

        const MFloatVector gain(static_cast<float>(attributeNumber(node, "colorGainR", 1.0)),
                                static_cast<float>(attributeNumber(node, "colorGainG", 1.0)),
                                static_cast<float>(attributeNumber(node, "colorGainB", 1.0)));
        const MFloatVector offset(static_cast<float>(attributeNumber(node, "colorOffsetR", 0.0)),
                                  static_cast<float>(attributeNumber(node, "colorOffsetG", 0.0)),
                                  static_cast<float>(attributeNumber(node, "colorOffsetB", 0.0)));
        const float alphaGain = static_cast<float>(attributeNumber(node, "alphaGain", 1.0));
        const float alphaOffset = static_cast<float>(attributeNumber(node, "alphaOffset", 0.0));
        const int component =
            plug.attribute == top ? -1 : top->childIndex(plug.attribute); // a colour component
        for (size_t i = 0; i < count; ++i) {
            unsigned int s = static_cast<unsigned int>(i);
            MFloatVector color = defaults[s];
            float alpha = 0.0f;
            if (uv.inside[i]) {
                const MFloatVector& c = textureColors[i];
                color = MFloatVector(c.x * gain.x + offset.x, c.y * gain.y + offset.y,
                                     c.z * gain.z + offset.z);
                alpha = alphas[i] * alphaGain + alphaOffset;
            }
            MFloatVector result = top == outAlpha          ? grey(alpha)
                                  : top == outTransparency ? grey(1.0f - alpha)
                                                           : color;
            if (component >= 0 && component < 3)
                result = grey(result[static_cast<unsigned int>(component)]);
            colors[s] = result;
            transparencies[s] = MFloatVector(0.0f, 0.0f, 0.0f);
        }
        return MS::kSuccess;
    };
}

} // namespace host
