#pragma once
// Message attributes carry no value; they only make connections between nodes.

#include <maya/MFnAttribute.h>

class OPENMAYA_EXPORT MFnMessageAttribute : public MFnAttribute {
  public:
    MFnMessageAttribute() = default;
    MFnMessageAttribute(const MObject& object, MStatus* status = nullptr);
    MFn::Type type() const override { return MFn::kMessageAttribute; }

    MObject create(const MString& fullName, const MString& briefName, MStatus* status = nullptr);
};
