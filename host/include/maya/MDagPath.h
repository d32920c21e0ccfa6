#pragma once
// A path from the world to a node through its parents in the DAG.

#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

class MMatrix;

class OPENMAYA_EXPORT MDagPath {
  public:
    MDagPath() = default;
    static MStatus getAPathTo(const MObject& node, MDagPath& path);

    bool isValid(MStatus* status = nullptr) const;
    MObject node(MStatus* status = nullptr) const;
    MObject transform(MStatus* status = nullptr) const;
    unsigned int length(MStatus* status = nullptr) const;
    MString fullPathName(MStatus* status = nullptr) const;
    MString partialPathName(MStatus* status = nullptr) const;
    MStatus pop(unsigned int count = 1);
    // Extends the path to the shape below its transform: a path to a shape stays as it is; a
    // transform with one shape (or one that is not an intermediate object) goes to it; anything
    // else fails with kInvalidParameter, leaving the path alone.
    MStatus extendToShape();
    MStatus extendToShapeDirectlyBelow(unsigned int index);
    MStatus numberOfShapesDirectlyBelow(unsigned int& num) const;
    // Children of the path's node; push extends the path to one of them.
    unsigned int childCount(MStatus* status = nullptr) const;
    MObject child(unsigned int index, MStatus* status = nullptr) const;
    MStatus push(const MObject& child);
    bool hasFn(MFn::Type type, MStatus* status = nullptr) const;
    MFn::Type apiType(MStatus* status = nullptr) const;
    // The host does not instance DAG nodes: every path is instance 0.
    bool isInstanced(MStatus* status = nullptr) const;
    unsigned int instanceNumber(MStatus* status = nullptr) const;
    // World matrix of the node, and of its parent (the node's own matrix left out).
    MMatrix inclusiveMatrix(MStatus* status = nullptr) const;
    MMatrix exclusiveMatrix(MStatus* status = nullptr) const;
    MMatrix inclusiveMatrixInverse(MStatus* status = nullptr) const;
    MMatrix exclusiveMatrixInverse(MStatus* status = nullptr) const;
    bool operator==(const MDagPath& other) const { return node_ == other.node_; }
    bool operator!=(const MDagPath& other) const { return !(*this == other); }

  private:
    MObject node_;
};
