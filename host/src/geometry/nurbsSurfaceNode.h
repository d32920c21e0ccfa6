#pragma once
// The built-in nurbsSurface shape. Its surface is the "create" input when that is connected
// (construction history), else "cached", the copy a scene file stores. "local" gives it in
// object space; element 0 of "worldSpace" gives it moved through the shape's transforms.

#include <maya/MPxNode.h>

namespace host {

class TypeRegistry;

class NurbsSurfaceNode : public MPxNode {
  public:
    static void* creator() { return new NurbsSurfaceNode; }
    static void initialize();
    MStatus compute(const MPlug& plug, MDataBlock& data) override;

    static MObject create, cached, local, worldSpace;
};

// Registers the nurbsSurface node type and the "nurbsSurface" typed value format of files.
void registerNurbsSurfaceType(TypeRegistry& registry);

} // namespace host
