#pragma once
// Registers the deformer node types and groupParts.

namespace host {

class TypeRegistry;

void registerDeformerTypes(TypeRegistry& registry);

} // namespace host
