#include "shading/samplerRegistry.h"

namespace host {

// Texture samplers (file, ramp, checker, place2dTexture) are added here as the host learns
// to evaluate them; until then their outputs cannot be sampled.
SamplerRegistry& SamplerRegistry::instance() {
    static SamplerRegistry registry;
    return registry;
}

void SamplerRegistry::add(const std::string& nodeType, ShadingSampler sampler) {
    samplers_[nodeType] = std::move(sampler);
}

void SamplerRegistry::remove(const std::string& nodeType) {
    samplers_.erase(nodeType);
}

const ShadingSampler* SamplerRegistry::find(const std::string& nodeType) const {
    auto it = samplers_.find(nodeType);
    return it == samplers_.end() ? nullptr : &it->second;
}

} // namespace host
