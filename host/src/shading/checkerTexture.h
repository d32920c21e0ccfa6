#pragma once
// The checker texture: squares of 0.5 × 0.5 in texture space. The square holding (u, v) is
// color1 "c1" (default white) when floor(2u) + floor(2v) is even, so the squares at
// (0, 0)–(0.5, 0.5) and (0.5, 0.5)–(1, 1) are color1, and color2 "c2" (default black)
// otherwise. contrast "ct" (default 1, clamped to [0, 1]) pulls both towards their mean:
// colour = mean + contrast · (square's colour − mean), so contrast 0 gives the mean
// everywhere. outAlpha is the luminance of the colour (textureNode.h). The colours may be
// fed by other textures; they are sampled at the same sample.

namespace host {

class TypeRegistry;

// Registers the node type and its sampler.
void registerCheckerType(TypeRegistry& registry);

} // namespace host
