#pragma once
// The place2dTexture node: where a 2-D texture lies in a surface's uv space.
//
// Attributes (long and short names as files write them): coverage "c" (coverageU "cu",
// coverageV "cv"; default 1 1), translateFrame "tf" ("tfu", "tfv"), rotateFrame "rf",
// mirrorU "mu", mirrorV "mv", stagger "s", wrapU "wu" and wrapV "wv" (on), repeatUV "re"
// ("reu", "rev"; default 1 1), offset "of" ("ofu", "ofv"), rotateUV "r" (radians), noiseUV
// "n" ("nu", "nv"), uvCoord "uv" ("u", "v"), uvFilterSize "fs" ("fsx", "fsy"); outputs outUV
// "o" (outU "ou", outV "ov") and outUvFilterSize "ofs" ("ofsx", "ofsy"). Rotate frame,
// mirror, stagger and noise are kept for the file but not applied.
//
// Placing (u, v), per direction unless said otherwise:
//   1. a = uv − translateFrame. Where coverage is below 1, the frame repeats every unit when
//      wrap is on (a = frac(a)), and a sample with a outside [0, coverage] is off the texture;
//      a is then divided by coverage. Coverage of 1 or more leaves a as it is.
//   2. rotateUV turns a about (0.5, 0.5), counter-clockwise for positive angles.
//   3. p = a · repeatUV + offset.
//   4. With wrap on, uv' = frac(p); with wrap off, p outside [0, 1] is off the texture and
//      uv' = p.
// So with coverage 1 and no rotation, uv' = frac(uv · repeat + offset). Non-finite
// coordinates are off the texture.
//
// Sampling the node itself: outUV gives (u', v', 0), outU and outV give (u', u', u') and
// (v', v', v'), outUvFilterSize gives the sample's filter size times repeatUV in both
// components (0 without filter sizes). Samples off the texture give p unwrapped.

#include "shading/samplerRegistry.h"

namespace host {

class Node;
class TypeRegistry;

struct Placement {
    double coverage[2] = {1.0, 1.0};
    double translateFrame[2] = {0.0, 0.0};
    double repeat[2] = {1.0, 1.0};
    double offset[2] = {0.0, 0.0};
    double rotate = 0.0; // radians
    bool wrap[2] = {true, true};
};

Placement readPlacement(Node& place2dTexture);
// Places (u, v) as above; false when the sample is off the texture.
bool placeUV(const Placement& placement, float u, float v, float& placedU, float& placedV);

void registerPlace2dTextureType(TypeRegistry& registry);
// Evaluates the node's outputs as described above.
MStatus samplePlace2dTexture(const PlugRef& plug, const ShadingInputs& inputs,
                             MFloatVectorArray& colors, MFloatVectorArray& transparencies,
                             std::string* error);

} // namespace host
