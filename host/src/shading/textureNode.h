#pragma once
// What the built-in 2-D texture nodes (checker, ramp, file) share: their common attributes,
// where each sample's texture coordinates come from, and one sampler shape that turns a
// texture's colour and alpha into the output a plug asks for.
//
// Common attributes (long and short names as files write them):
//   uvCoord "uv" (uCoord "u", vCoord "v"), uvFilterSize "fs" ("fsu", "fsv"), the placement
//   attributes files connect from a place2dTexture (coverage "c", translateFrame "tf",
//   rotateFrame "rf", mirrorU "mu", mirrorV "mv", stagger "s", wrapU "wu", wrapV "wv",
//   repeatUV "re", offset "of", rotateUV "ro", noiseUV "n"; kept, not used: the placement is
//   read from the place2dTexture itself), defaultColor "dc" (0.5 grey), colorGain "cg" (1),
//   colorOffset "co" (0), alphaGain "ag" (1), alphaOffset "ao" (0), and the outputs outColor
//   "oc", outAlpha "oa", outTransparency "ot" (not writable).
//
// Sampling a texture:
//   - Texture coordinates: with a place2dTexture's outUV connected into uvCoord, the sample's
//     (u, v) go through that placement (place2dTexture.h); with nothing connected they are used
//     as given. Anything else feeding uvCoord, or samples without u and v, fail the sample.
//   - A sample the placement puts outside the texture takes defaultColor with alpha 0.
//   - Otherwise colour = texture colour · colorGain + colorOffset and
//     alpha = texture alpha · alphaGain + alphaOffset.
//   - outColor gives the colour; outAlpha gives (a, a, a); outTransparency gives
//     (1 − a, 1 − a, 1 − a); a component of outColor or outTransparency gives that component
//     in all three. Transparency results are 0. Any other plug of the node is sampled as a
//     plain attribute.
//   - Colour inputs (defaultColor, checker colours, ramp entry colours) are sampled in turn,
//     so a texture connected into one is evaluated at the same sample.

#include "shading/samplerRegistry.h"

#include <maya/MFnNumericData.h>
#include <maya/MFloatVector.h>
#include <maya/MPxNode.h>

#include <functional>
#include <vector>

namespace host {

class Node;

// The built-in shading nodes: values and samplers only, no compute.
class ShadingNode : public MPxNode {
  public:
    static void* creator() { return new ShadingNode; }
};

// Inside a type's initializer: adds the common attributes listed above.
void addTextureAttributes();

// Attribute helpers for the texture node types' initializers.
void addFloatPair(const char* name, const char* shortName, const char* first,
                  const char* firstShort, const char* second, const char* secondShort, double value,
                  bool writable = true);
void addNumber(const char* name, const char* shortName, MFnNumericData::Type type, double value);
// A rotation in radians, converted from the scene's angle unit when read from a file.
void addAngle(const char* name, const char* shortName);

// Per sample: the placed texture coordinates and whether the sample lies on the texture.
struct TextureCoordinates {
    std::vector<float> u, v;
    std::vector<char> inside;
};

// The texture's own colour and alpha at every sample marked inside (others are left as they
// are). On failure, *error says why.
using TextureEvaluator = std::function<MStatus(
    Node& node, const ShadingInputs& inputs, const TextureCoordinates& uv,
    std::vector<MFloatVector>& colors, std::vector<float>& alphas, std::string* error)>;

// A sampler for a texture type whose own colour comes from `evaluate`.
ShadingSampler textureSampler(TextureEvaluator evaluate);

// A number held by the node's attribute (long or short name), pulled; `fallback` when the
// node has no such attribute or the value is not finite.
double attributeNumber(Node& node, const char* name, double fallback);

// The attribute (a colour, or anything sampleShadingPlug takes) sampled at every sample.
MStatus sampleAttribute(Node& node, const char* name, const ShadingInputs& inputs,
                        MFloatVectorArray& values, std::string* error);

// 0.3 r + 0.59 g + 0.11 b: the alpha of the procedural textures.
float luminance(const MFloatVector& color);

} // namespace host
