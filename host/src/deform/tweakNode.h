#pragma once
// tweak: per-point offsets for each connection g, "vlist[g].vertex[i]" (meshes, float3) or
// "plist[g].controlPoints[i]" (NURBS CVs, double3). With "relativeTweak" on (the default) an
// offset is added to the point; off, it replaces the point.

#include "deform/geometryFilterNode.h"

namespace host {

class TweakNode : public GeometryFilterNode {
  public:
    static void* creator() { return new TweakNode; }
    static void initialize();

    static MObject vertexList, vertex, pointList, controlPoints, relativeTweak;

  protected:
    bool deform(MDataBlock& data, unsigned index, const MObject& geometry,
                const std::vector<MPoint>& points, std::vector<MPoint>& deformed) override;
};

void registerTweakType(TypeRegistry& registry);

} // namespace host
