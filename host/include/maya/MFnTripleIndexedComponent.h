#pragma once
// Components whose elements have three indices each: lattice points (MFn::kLatticeComponent,
// s, t and u). Elements keep the order they were added in; adding one that is there already
// changes nothing. Negative indices are refused with kInvalidParameter.

#include <maya/MFnComponent.h>

class MIntArray;

class OPENMAYA_EXPORT MFnTripleIndexedComponent : public MFnComponent {
  public:
    MFnTripleIndexedComponent() = default;
    MFnTripleIndexedComponent(const MObject& object, MStatus* status = nullptr);
    MFn::Type type() const override { return MFn::kTripleIndexedComponent; }

    // A new, empty component of a triple-indexed type, also attached to this function set;
    // another type gives a null object and kInvalidParameter.
    MObject create(MFn::Type compType, MStatus* status = nullptr);
    MStatus addElement(int sIndex, int tIndex, int uIndex);
    MStatus addElements(MIntArray& sIndexArray, MIntArray& tIndexArray, MIntArray& uIndexArray);
    MStatus getElement(int index, int& sIndex, int& tIndex, int& uIndex) const;
    MStatus getElements(MIntArray& sIndexArray, MIntArray& tIndexArray,
                        MIntArray& uIndexArray) const;
    // Makes the component stand for every element below (maxS, maxT, maxU).
    MStatus setCompleteData(int maxS, int maxT, int maxU);
    // The counts of a complete component (0 where the count is the shape's or it is not
    // complete).
    MStatus getCompleteData(int& maxS, int& maxT, int& maxU) const;
};
