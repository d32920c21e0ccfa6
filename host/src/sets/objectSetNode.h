#pragma once
// The built-in set nodes.
//   objectSet   members are connections into it: "dagSetMembers" (dsm) from a DAG node's
//               "instObjGroups[i]" (the whole node) or "instObjGroups[i].objectGroups[k]" (the
//               components listed in that element's "objectGrpCompList"), and "dnSetMembers"
//               (dnsm) from any node's "message". See setMembers.h.
//   groupId     a number tying a shape's object group to a set ("groupId"/"id").
//   groupParts  passes its "inputGeometry" on as "outputGeometry"; it records the components
//               of a group ("inputComponents", "groupId") for the file.

#include <maya/MPxNode.h>

namespace host {

class TypeRegistry;

class ObjectSetNode : public MPxNode {
  public:
    static void* creator() { return new ObjectSetNode; }
    static void initialize();

    static MObject dagSetMembers, dnSetMembers, groupNodes, annotation, verticesOnlySet,
        edgesOnlySet, facetsOnlySet, editPointsOnlySet, renderableOnlySet;
};

class GroupIdNode : public MPxNode {
  public:
    static void* creator() { return new GroupIdNode; }
    static void initialize();

    static MObject groupId;
};

class GroupPartsNode : public MPxNode {
  public:
    static void* creator() { return new GroupPartsNode; }
    static void initialize();
    MStatus compute(const MPlug& plug, MDataBlock& data) override;

    static MObject inputGeometry, outputGeometry, inputComponents, groupId;
};

// Registers objectSet, groupId and groupParts, and the "componentList" typed value format.
void registerSetTypes(TypeRegistry& registry);

} // namespace host
