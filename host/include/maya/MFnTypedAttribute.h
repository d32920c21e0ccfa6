#pragma once
// Attributes holding typed data: strings, meshes, surfaces, matrices, plug-in data.

#include <maya/MFnAttribute.h>
#include <maya/MFnData.h>
#include <maya/MTypeId.h>

class OPENMAYA_EXPORT MFnTypedAttribute : public MFnAttribute {
  public:
    MFnTypedAttribute() = default;
    MFnTypedAttribute(const MObject& object, MStatus* status = nullptr);
    MFn::Type type() const override { return MFn::kTypedAttribute; }

    MObject create(const MString& fullName, const MString& briefName, MFnData::Type type,
                   MStatus* status = nullptr);
    MObject create(const MString& fullName, const MString& briefName, MFnData::Type type,
                   const MObject& defaultData, MStatus* status = nullptr);
    MObject create(const MString& fullName, const MString& briefName, const MTypeId& id,
                   MObject defaultData = MObject::kNullObj, MStatus* status = nullptr);

    MFnData::Type attrType(MStatus* status = nullptr) const;
    MStatus getDefault(MObject& defaultData);
    MStatus setDefault(const MObject& defaultData);
};
