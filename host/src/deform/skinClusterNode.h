#pragma once
// skinCluster: moves each point by the influences wired into "matrix[j]" (a joint's
// "worldMatrix"), relative to where they were at bind time ("bindPreMatrix[j]"), with the
// weights "weightList[point].weights[j]" and the geometry's bind matrix "geomMatrix" (see
// skinning.h for the formulas). "skinningMethod": 0 linear, 1 dual quaternion, 2 blended per
// point by "blendWeights[point]". "normalizeWeights" 2 (post) divides a point's weights by
// their sum when it deforms; 0 and 1 use them as stored.

#include "deform/geometryFilterNode.h"

namespace host {

class SkinClusterNode : public GeometryFilterNode {
  public:
    static void* creator() { return new SkinClusterNode; }
    static void initialize();

    static MObject weightList, weights, bindPreMatrix, geomMatrix, matrix, skinningMethod,
        normalizeWeights, blendWeights;

  protected:
    bool deform(MDataBlock& data, unsigned index, const MObject& geometry,
                const std::vector<MPoint>& points, std::vector<MPoint>& deformed) override;
};

void registerSkinClusterType(TypeRegistry& registry);

} // namespace host
