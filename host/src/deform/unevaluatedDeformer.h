#pragma once
// Deformers the host knows by name but does not evaluate (deltaMush, cluster, ffd, nonLinear,
// wire, wrap, ...): their input geometry passes through unchanged, so the shapes they feed keep
// the geometry that reached them, and the first evaluation warns once, naming the node.

#include "deform/geometryFilterNode.h"

#include <vector>

namespace host {

class UnevaluatedDeformer : public GeometryFilterNode {
  public:
    static void* creator() { return new UnevaluatedDeformer; }
    static void initialize();

  protected:
    bool deform(MDataBlock& data, unsigned index, const MObject& geometry,
                const std::vector<MPoint>& points, std::vector<MPoint>& deformed) override;

  private:
    bool warned_ = false;
};

// The deformer types registered as UnevaluatedDeformer.
const std::vector<const char*>& unevaluatedDeformerTypes();
void registerUnevaluatedDeformerTypes(TypeRegistry& registry);

} // namespace host
