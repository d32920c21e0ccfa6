#pragma once
// String data objects, used as defaults of string attributes.

#include <maya/MFnData.h>
#include <maya/MString.h>

class OPENMAYA_EXPORT MFnStringData : public MFnData {
  public:
    MFnStringData() = default;
    MFnStringData(MObject& object, MStatus* status = nullptr);
    MFn::Type type() const override { return MFn::kStringData; }

    MObject create(const MString& text, MStatus* status = nullptr);
    MObject create(MStatus* status = nullptr);
    MString string(MStatus* status = nullptr) const;
    MStatus set(const MString& text);
};
