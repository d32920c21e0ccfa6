#pragma once
// The built-in set nodes.
//   objectSet   members are connections into it: "dagSetMembers" (dsm) from a DAG node's
//               "instObjGroups[i]" (the whole node) or "instObjGroups[i].objectGroups[k]" (the
//               components listed in that element's "objectGrpCompList"), and "dnSetMembers"
//               (dnsm) from any node's "message". See setMembers.h.
//   groupId     a number tying a shape's object group to a set ("groupId"/"id").
// (groupParts, which tags components of geometry on its way to a deformer, is in deform/.)

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

// Registers objectSet and groupId, and the "componentList" typed value format.
void registerSetTypes(TypeRegistry& registry);

} // namespace host
