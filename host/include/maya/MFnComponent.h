#pragma once
// Base function set of components: some elements of one shape.

#include <maya/MFnBase.h>

class OPENMAYA_EXPORT MFnComponent : public MFnBase {
  public:
    MFnComponent() = default;
    MFnComponent(const MObject& object, MStatus* status = nullptr);
    MFn::Type type() const override { return MFn::kComponent; }
    MStatus setObject(const MObject& object) override;

    int elementCount(MStatus* status = nullptr) const;
    MFn::Type componentType(MStatus* status = nullptr) const;
    bool isEmpty(MStatus* status = nullptr) const;
    // True for a component made with setCompleteData: every element up to a count.
    bool isComplete(MStatus* status = nullptr) const;
    // The same type and the same elements, in any order.
    bool isEqual(const MObject& other, MStatus* status = nullptr) const;
};
