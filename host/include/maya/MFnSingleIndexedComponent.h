#pragma once
// Components whose elements have one index each: mesh polygons (MFn::kMeshPolygonComponent),
// vertices (kMeshVertComponent) and edges (kMeshEdgeComponent). Elements keep the order they
// were added in; adding one that is there already changes nothing. Negative indices are
// refused with kInvalidParameter.

#include <maya/MFnComponent.h>

class MIntArray;

class OPENMAYA_EXPORT MFnSingleIndexedComponent : public MFnComponent {
  public:
    MFnSingleIndexedComponent() = default;
    MFnSingleIndexedComponent(const MObject& object, MStatus* status = nullptr);
    MFn::Type type() const override { return MFn::kSingleIndexedComponent; }

    // A new, empty component of a single-indexed type, also attached to this function set;
    // another type gives a null object and kInvalidParameter.
    MObject create(MFn::Type compType, MStatus* status = nullptr);
    MStatus addElement(int element);
    MStatus addElements(MIntArray& elements);
    int element(int index, MStatus* status = nullptr) const;
    MStatus getElements(MIntArray& elements) const;
    // Makes the component stand for elements 0 .. numElements - 1.
    MStatus setCompleteData(int numElements);
    MStatus getCompleteData(int& numElements) const;
};
