#pragma once
// Function set for DAG nodes: transforms and shapes, by node or by DAG path.
//
// The host keeps one parent per node and no world node: a node at the top of the DAG has no
// parent (parentCount 0), and every node has exactly one path.

#include <maya/MDagPath.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MMatrix.h>

class OPENMAYA_EXPORT MFnDagNode : public MFnDependencyNode {
  public:
    static const unsigned int kNextPos = 0xff;

    MFnDagNode() = default;
    MFnDagNode(const MObject& object, MStatus* status = nullptr);
    MFnDagNode(const MDagPath& path, MStatus* status = nullptr);
    MFn::Type type() const override { return MFn::kDagNode; }
    MStatus setObject(const MObject& object) override;
    MStatus setObject(const MDagPath& path);

    // Creates a DAG node of the type under parent (a transform; null: the world). A shape
    // created without a parent gets a new transform, and the transform is returned.
    MObject create(const MString& type, MObject& parent = MObject::kNullObj,
                   MStatus* status = nullptr);
    MObject create(const MString& type, const MString& name, MObject& parent = MObject::kNullObj,
                   MStatus* status = nullptr);

    unsigned int parentCount(MStatus* status = nullptr) const;
    MObject parent(unsigned int index, MStatus* status = nullptr) const;
    unsigned int childCount(MStatus* status = nullptr) const;
    MObject child(unsigned int index, MStatus* status = nullptr) const;
    // Makes child a child of this node (moving it from its old parent; the host keeps one).
    MStatus addChild(MObject& child, unsigned int index = kNextPos,
                     bool keepExistingParents = false);
    // Moves a child to the top of the DAG.
    MStatus removeChild(MObject& child);
    bool hasParent(const MObject& node, MStatus* status = nullptr) const;
    bool hasChild(const MObject& node, MStatus* status = nullptr) const;
    bool isChildOf(const MObject& node, MStatus* status = nullptr) const;
    bool isParentOf(const MObject& node, MStatus* status = nullptr) const;

    MStatus getPath(MDagPath& path) const;
    MDagPath dagPath(MStatus* status = nullptr) const;
    MString fullPathName(MStatus* status = nullptr) const;
    MString partialPathName(MStatus* status = nullptr) const;
    // The node's own matrix (the identity for anything but a transform).
    MMatrix transformationMatrix(MStatus* status = nullptr) const;
    bool isIntermediateObject(MStatus* status = nullptr) const;
    MStatus setIntermediateObject(bool isIntermediate);
    bool isInstanced(bool indirect = true, MStatus* status = nullptr) const;
    unsigned int instanceCount(bool total, MStatus* status = nullptr) const;

  protected:
    MDagPath path_;
    bool hasPath_ = false;
};
