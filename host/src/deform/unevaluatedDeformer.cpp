#include "deform/unevaluatedDeformer.h"

#include "graph/graph.h"
#include "graph/nodeType.h"

#include <maya/MGlobal.h>

#include <string>

namespace host {

void UnevaluatedDeformer::initialize() {
    addGeometryFilterAttributes();
}

bool UnevaluatedDeformer::deform(MDataBlock&, unsigned, const MObject&, const std::vector<MPoint>&,
                                 std::vector<MPoint>&) {
    if (!warned_ && hostNode()) {
        warned_ = true;
        MGlobal::displayWarning(("'" + hostNode()->name() + "' (" + hostNode()->typeName() +
                                 ") is a deformer the host does not evaluate: the geometry it "
                                 "deforms passes through it unchanged.")
                                    .c_str());
    }
    return false;
}

const std::vector<const char*>& unevaluatedDeformerTypes() {
    static const std::vector<const char*> types = {
        "cluster",       "deltaMush",  "ffd",      "jiggle",  "morph",
        "nonLinear",     "sculpt",     "softMod",  "tension", "textureDeformer",
        "proximityWrap", "shrinkWrap", "solidify", "wire",    "wrap"};
    return types;
}

void registerUnevaluatedDeformerTypes(TypeRegistry& registry) {
    // Host-reserved ids, outside the range plug-ins are given.
    unsigned id = 0x0fff0060;
    for (const char* type : unevaluatedDeformerTypes())
        registry.registerBuiltin(type, MTypeId(id++), &UnevaluatedDeformer::creator,
                                 MPxNode::kDependNode, MFn::kGeometryFilt, false, false,
                                 &UnevaluatedDeformer::initialize);
}

} // namespace host
