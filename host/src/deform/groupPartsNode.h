#pragma once
// groupParts: passes the geometry of "inputGeometry" on as "outputGeometry" and names, in
// "inputComponents" ("vtx[*]", "cv[*][*]", ...), the components of the group ("groupId") that
// the deformer it feeds works on. The geometry goes through in the shape's own space (see
// localGeometryInput).

#include <maya/MPxNode.h>

namespace host {

class TypeRegistry;

class GroupPartsNode : public MPxNode {
  public:
    static void* creator() { return new GroupPartsNode; }
    static void initialize();
    MStatus compute(const MPlug& plug, MDataBlock& data) override;

    static MObject inputGeometry, outputGeometry, inputComponents, groupId;
};

void registerGroupPartsType(TypeRegistry& registry);

} // namespace host
