#pragma once
// The built-in shading node types (place2dTexture, checker, ramp, file) and their samplers.

namespace host {

class TypeRegistry;

void registerTextureTypes(TypeRegistry& registry);

} // namespace host
