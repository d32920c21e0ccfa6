#pragma once
// Compound attributes: a group of child attributes, often an array of such groups.

#include <maya/MFnAttribute.h>

class OPENMAYA_EXPORT MFnCompoundAttribute : public MFnAttribute {
  public:
    MFnCompoundAttribute() = default;
    MFnCompoundAttribute(const MObject& object, MStatus* status = nullptr);
    MFn::Type type() const override { return MFn::kCompoundAttribute; }

    MObject create(const MString& fullName, const MString& briefName, MStatus* status = nullptr);
    MStatus addChild(const MObject& child);
    MStatus removeChild(const MObject& child);
    unsigned int numChildren(MStatus* status = nullptr) const;
    MObject child(unsigned int index, MStatus* status = nullptr) const;
};
