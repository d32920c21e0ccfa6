#pragma once
// Function set for object sets (objectSet nodes). Members are DAG nodes, DAG nodes with mesh
// components (polygons, vertices, edges), and other dependency nodes; see the host's
// setMembers.h for how they are held in the set's connections.
//
// The restriction is stored on the set (as its "...OnlySet" flags); members are not checked
// against it.

#include <maya/MDagPath.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MSelectionList.h>

class OPENMAYA_EXPORT MFnSet : public MFnDependencyNode {
  public:
    enum Restriction {
        kNone,
        kVerticesOnly,
        kEdgesOnly,
        kFacetsOnly,
        kEditPointsOnly,
        kRenderableOnly
    };

    MFnSet() = default;
    MFnSet(const MObject& object, MStatus* status = nullptr);
    MFn::Type type() const override { return MFn::kSet; }
    MStatus setObject(const MObject& object) override;

    // A new objectSet holding the members, attached to this function set.
    MObject create(const MSelectionList& members, Restriction restriction = kNone,
                   bool isLayer = false, MStatus* status = nullptr);

    // The members, in the order of the set's member lists, components of one node and kind
    // merged. With flatten, members that are sets are replaced by their own members.
    MStatus getMembers(MSelectionList& members, bool flatten) const;
    MStatus addMember(const MObject& object);
    MStatus addMember(const MDagPath& object, const MObject& component = MObject::kNullObj);
    MStatus addMembers(const MSelectionList& list);
    // Removes a node with all its components. kNotFound when it is not a member.
    MStatus removeMember(const MObject& object);
    // Removes a node (null component) or some of its components; removing components of a
    // node that is a member as a whole fails with kFailure.
    MStatus removeMember(const MDagPath& object, const MObject& component);
    MStatus removeMembers(const MSelectionList& list);
    bool isMember(const MObject& object, MStatus* status = nullptr) const;
    // True when the node is a member as a whole, or every element of the component is.
    bool isMember(const MDagPath& object, const MObject& component = MObject::kNullObj,
                  MStatus* status = nullptr) const;
    MStatus clear();
    Restriction restriction(MStatus* status = nullptr) const;
    MString annotation(MStatus* status = nullptr) const;
    MStatus setAnnotation(const MString& annotation);
};
