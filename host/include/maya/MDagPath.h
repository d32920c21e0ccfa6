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
    // World matrix of the node, and of its parent (the node's own matrix left out).
    MMatrix inclusiveMatrix(MStatus* status = nullptr) const;
    MMatrix exclusiveMatrix(MStatus* status = nullptr) const;
    MMatrix inclusiveMatrixInverse(MStatus* status = nullptr) const;
    MMatrix exclusiveMatrixInverse(MStatus* status = nullptr) const;
    bool operator==(const MDagPath& other) const { return node_ == other.node_; }

  private:
    MObject node_;
};
