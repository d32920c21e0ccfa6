#pragma once
// A list of dependency nodes, DAG nodes and DAG nodes with components. Items keep the order
// they were added in; a node that is on the list as a whole is not added again.
//
// add(const MString&) takes node names, with * and ? matching any text and any one character,
// or a mesh shape (or its transform) with components: "shape.f[0:3]", "shape.vtx[2]",
// "shape.e[*]". A name that matches nothing fails with kInvalidParameter.

#include <maya/MDagPath.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>

#include <vector>

class OPENMAYA_EXPORT MSelectionList {
  public:
    enum MergeStrategy { kMergeNormal, kXORWithList, kRemoveFromList };

    MSelectionList() = default;
    MSelectionList(const MSelectionList&) = default;
    MSelectionList& operator=(const MSelectionList&) = default;

    unsigned int length(MStatus* status = nullptr) const;
    bool isEmpty(MStatus* status = nullptr) const;
    MStatus clear();

    MStatus add(const MObject& object, bool mergeWithExisting = false);
    // With mergeWithExisting a component joins the same node's component of the same kind
    // already on the list (a whole node takes in any component); without it, it becomes an
    // item of its own.
    MStatus add(const MDagPath& object, const MObject& component = MObject::kNullObj,
                bool mergeWithExisting = false);
    MStatus add(const MString& matchString, bool searchChildNamespacesToo = false);
    // kMergeNormal adds the other list's items (merging components); kRemoveFromList removes
    // the other list's whole nodes.
    MStatus merge(const MSelectionList& other, MergeStrategy strategy = kMergeNormal);
    MStatus remove(unsigned int index);

    // The node of any item.
    MStatus getDependNode(unsigned int index, MObject& depNode) const;
    // The path and component (null for a whole node) of a DAG item; kFailure for other items.
    MStatus getDagPath(unsigned int index, MDagPath& dagPath,
                       MObject& component = MObject::kNullObj) const;
    // "node" or "node.f[0:3]" per item (one string per range).
    MStatus getSelectionStrings(MStringArray& array) const;
    MStatus getSelectionStrings(unsigned int index, MStringArray& array) const;
    bool hasItem(const MObject& item, MStatus* status = nullptr) const;
    // True when the node is on the list as a whole, or with every element of the component.
    bool hasItem(const MDagPath& item, const MObject& component = MObject::kNullObj,
                 MStatus* status = nullptr) const;

  private:
    struct Item {
        MObject node;
        MObject component;
        bool dag = false;
    };
    std::vector<Item> items_;
};
