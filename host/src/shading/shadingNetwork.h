#pragma once
// Sampling one plug of a shading network.

#include "shading/samplerRegistry.h"

namespace host {

// Evaluates the plug at every sample into colors and transparencies (resized to
// inputs.count):
//   - a plug with an incoming connection is its source, sampled in turn; a component of a
//     connected colour is that component of the source's samples, in x, y and z;
//   - a plug of a node type with a sampler in SamplerRegistry goes to that sampler;
//   - a colour (three numbers) gives its components, each sampled this way, so a connected
//     component follows its source; a single number v gives (v, v, v); transparency is 0;
//   - anything else fails: computed outputs of types without a sampler, nodes of types the
//     host does not know, arrays, strings and other data. *error then names the plug.
// Samplers may call this for their own inputs.
MStatus sampleShadingPlug(const PlugRef& plug, const ShadingInputs& inputs,
                          MFloatVectorArray& colors, MFloatVectorArray& transparencies,
                          std::string* error);

} // namespace host
