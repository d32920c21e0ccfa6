#pragma once
// Components whose elements have two indices each: NURBS surface CVs (MFn::kSurfaceCVComponent,
// u and v) and mesh face vertices (kMeshVtxFaceComponent, vertex and face). Elements keep the
// order they were added in; adding one that is there already changes nothing. Negative indices
// are refused with kInvalidParameter.

#include <maya/MFnComponent.h>

class MIntArray;

class OPENMAYA_EXPORT MFnDoubleIndexedComponent : public MFnComponent {
  public:
    MFnDoubleIndexedComponent() = default;
    MFnDoubleIndexedComponent(const MObject& object, MStatus* status = nullptr);
    MFn::Type type() const override { return MFn::kDoubleIndexedComponent; }

    // A new, empty component of a double-indexed type, also attached to this function set;
    // another type gives a null object and kInvalidParameter.
    MObject create(MFn::Type compType, MStatus* status = nullptr);
    MStatus addElement(int uIndex, int vIndex);
    MStatus addElements(MIntArray& uIndexArray, MIntArray& vIndexArray);
    MStatus getElement(int index, int& uIndex, int& vIndex) const;
    MStatus getElements(MIntArray& uIndexArray, MIntArray& vIndexArray) const;
    // Makes the component stand for every element below (maxU, maxV).
    MStatus setCompleteData(int maxU, int maxV);
    // The counts of a complete component (0 where the count is the shape's or it is not
    // complete).
    MStatus getCompleteData(int& maxU, int& maxV) const;
};
