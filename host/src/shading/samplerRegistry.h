#pragma once
// Samplers of shading nodes, one per node type name. A sampler evaluates an output plug of a
// node of its type (a texture's outColor or outAlpha, say) at every sample point; the
// shading network code finds it by the type name of the plug's node.

#include "graph/connection.h"

#include <maya/MStatus.h>

#include <functional>
#include <map>
#include <string>

class MFloatArray;
class MFloatPointArray;
class MFloatVectorArray;

namespace host {

// What the caller of MRenderUtil::sampleShadingNetwork gave for each sample. Every non-null
// array holds at least `count` entries.
struct ShadingInputs {
    int count = 0;
    const MFloatPointArray* points = nullptr;
    const MFloatArray* u = nullptr;
    const MFloatArray* v = nullptr;
    const MFloatVectorArray* normals = nullptr;
    const MFloatPointArray* refPoints = nullptr;
    const MFloatVectorArray* tangentUs = nullptr;
    const MFloatVectorArray* tangentVs = nullptr;
    const MFloatArray* filterSizes = nullptr;
};

// Fills colors and transparencies (both already holding inputs.count entries) for the plug.
// On failure it says why in *error; the caller adds the plug's name. MS::kNotImplemented
// means the plug is not one the sampler evaluates (an input of the node, say): it is then
// sampled like a plug of a node without a sampler.
using ShadingSampler = std::function<MStatus(
    const PlugRef& plug, const ShadingInputs& inputs, MFloatVectorArray& colors,
    MFloatVectorArray& transparencies, std::string* error)>;

class SamplerRegistry {
  public:
    static SamplerRegistry& instance();

    // Replaces any sampler the type had.
    void add(const std::string& nodeType, ShadingSampler sampler);
    void remove(const std::string& nodeType);
    // Null when the type has none.
    const ShadingSampler* find(const std::string& nodeType) const;

  private:
    std::map<std::string, ShadingSampler> samplers_;
};

} // namespace host
