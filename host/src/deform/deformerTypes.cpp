#include "deform/deformerTypes.h"

#include "deform/blendShapeNode.h"
#include "deform/groupPartsNode.h"
#include "deform/skinClusterNode.h"
#include "deform/tweakNode.h"
#include "deform/unevaluatedDeformer.h"

namespace host {

void registerDeformerTypes(TypeRegistry& registry) {
    registerGroupPartsType(registry);
    registerTweakType(registry);
    registerSkinClusterType(registry);
    registerBlendShapeType(registry);
    registerUnevaluatedDeformerTypes(registry);
}

} // namespace host
