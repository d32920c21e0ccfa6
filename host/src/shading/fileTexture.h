#pragma once
// The file texture: an image read from fileTextureName "ftn".
//
// PNG files only (any PNG libpng reads, as 8-bit RGBA). The path is used as written. Texture
// coordinates map the whole image once: texel (x, y), with row 0 the top of the picture, has
// its centre at u = (x + 0.5) / width, v = 1 − (y + 0.5) / height. Between centres the four
// nearest texels are blended bilinearly, wrapping round the image's edges (so u = 0 blends the
// first and last columns). outColor is the texel colour and outAlpha its alpha, in [0, 1].
//
// A sample fails, naming the file, when the name is empty, the file does not exist, is not a
// PNG, or cannot be decoded (readPng then also reports its own error). Images stay cached by
// path while the file's size and modification time stay the same.

namespace host {

class TypeRegistry;

// Registers the node type and its sampler.
void registerFileTextureType(TypeRegistry& registry);

} // namespace host
