#pragma once
// Base of the function sets: a function set is attached to one MObject and works on it.

#include <maya/MFn.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>

class OPENMAYA_EXPORT MFnBase {
  public:
    MFnBase() = default;
    virtual ~MFnBase() = default;
    virtual MFn::Type type() const { return MFn::kBase; }
    bool hasObj(MFn::Type type) const { return object_.hasFn(type); }
    bool hasObj(const MObject& object) const;
    MObject object(MStatus* status = nullptr) const;
    virtual MStatus setObject(const MObject& object);

  protected:
    MObject object_;
};
