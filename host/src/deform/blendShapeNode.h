#pragma once
// blendShape: adds weighted target shapes to the geometry. For input g and target t with weight
// "weight[t]", "inputTarget[g].inputTargetGroup[t].inputTargetItem[k]" holds the target at
// weight (k − 5000) / 1000 (6000 is the full target, others are in-betweens): the geometry
// connected to "inputGeomTarget", else the point offsets stored in "inputPointsTarget" for the
// components "inputComponentsTarget" lists. The offset at a weight is interpolated linearly
// between neighbouring items (weight 0 being no offset) and extended past the first and last
// by their segments. "targetWeights" per target and "baseWeights" per input scale it per point.

#include "deform/geometryFilterNode.h"

namespace host {

class BlendShapeNode : public GeometryFilterNode {
  public:
    static void* creator() { return new BlendShapeNode; }
    static void initialize();

    static MObject weight, inputTarget, inputTargetGroup, inputTargetItem, inputGeomTarget,
        inputPointsTarget, inputComponentsTarget, targetWeights, baseWeights;

  protected:
    bool deform(MDataBlock& data, unsigned index, const MObject& geometry,
                const std::vector<MPoint>& points, std::vector<MPoint>& deformed) override;
};

void registerBlendShapeType(TypeRegistry& registry);

// The offset of one target at a weight from its items: (item weight, offsets) sorted by weight.
// Weight 0 is no offset; past the ends the nearest segment is extended.
struct TargetItem {
    double weight = 1.0;
    std::vector<MVector> offsets; // per point
};
std::vector<MVector> targetOffsets(const std::vector<TargetItem>& items, double weight,
                                   size_t count);

} // namespace host
