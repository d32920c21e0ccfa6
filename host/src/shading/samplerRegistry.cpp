#include "shading/samplerRegistry.h"

namespace host {

// The built-in texture types add their samplers when they are registered (textureTypes.cpp).
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
