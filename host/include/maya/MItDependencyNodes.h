#pragma once
// Walks every node of the scene, in the order the scene holds them, optionally only those
// compatible with one function set type (MFn::kInvalid: every node). The nodes are taken when
// the iterator is made or reset: nodes created later are not visited, and a node deleted since
// is skipped.

#include <maya/MFn.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>

#include <memory>
#include <vector>

class OPENMAYA_EXPORT MItDependencyNodes {
  public:
    MItDependencyNodes(MFn::Type filter = MFn::kInvalid, MStatus* ReturnStatus = nullptr);
    ~MItDependencyNodes();

    MStatus reset();
    MStatus reset(MFn::Type filter);
    // The node at the iterator; a null object once done.
    MObject thisNode(MStatus* ReturnStatus = nullptr) const;
    MObject item(MStatus* ReturnStatus = nullptr) const;
    MStatus next();
    bool isDone(MStatus* ReturnStatus = nullptr) const;

  private:
    void skipGone() const;

    MFn::Type filter_ = MFn::kInvalid;
    std::vector<MObject> nodes_;
    mutable size_t at_ = 0;
};
