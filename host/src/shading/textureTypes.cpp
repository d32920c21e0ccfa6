#include "shading/textureTypes.h"

#include "shading/checkerTexture.h"
#include "shading/fileTexture.h"
#include "shading/place2dTexture.h"
#include "shading/rampTexture.h"
#include "shading/samplerRegistry.h"

namespace host {

void registerTextureTypes(TypeRegistry& registry) {
    registerPlace2dTextureType(registry);
    SamplerRegistry::instance().add("place2dTexture", &samplePlace2dTexture);
    registerCheckerType(registry);
    registerRampType(registry);
    registerFileTextureType(registry);
}

} // namespace host
