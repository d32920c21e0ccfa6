#pragma once
// Set membership, read from and written to a set's connections as scene files hold them:
//   a whole DAG node     node.instObjGroups[0]                  -> set.dagSetMembers[n]
//   some components      node.instObjGroups[0].objectGroups[k]  -> set.dagSetMembers[n], with
//                        node.instObjGroups[0].objectGroups[k].objectGrpCompList listing them
//   another node         node.message                           -> set.dnSetMembers[n]

#include <maya/MObject.h>
#include <maya/MStatus.h>

#include <string>
#include <vector>

namespace host {

class Node;

struct SetMember {
    Node* node = nullptr;
    bool dag = false;
    MObject component; // null for the whole node; else a single-indexed component
};

bool isObjectSet(const Node* node);

// The members in the order of the set's member lists (dagSetMembers by element, then
// dnSetMembers). A component list naming several kinds gives one member per kind. With flatten,
// a member that is itself a set is replaced by its members (each set once).
std::vector<SetMember> setMembers(Node& set, bool flatten);

// Adds a whole node (component null) or some of its components. A DAG node that is in the set
// as a whole already, or an empty component, changes nothing.
MStatus addSetMember(Node& set, Node& member, const MObject& component, std::string* error);
// Removes a whole node (component null) with all of its components, or the given components
// from the object groups that list them; an object group left empty leaves the set. Removing
// components of a node that is in the set as a whole fails with kFailure.
MStatus removeSetMember(Node& set, Node& member, const MObject& component, std::string* error);
// Disconnects every member.
MStatus clearSet(Node& set, std::string* error);

} // namespace host
