#pragma once
// Creates and reaches plug-in data objects (MPxData subclasses registered by a plug-in).

#include <maya/MFnData.h>
#include <maya/MTypeId.h>

class MPxData;

class OPENMAYA_EXPORT MFnPluginData : public MFnData {
  public:
    MFnPluginData() = default;
    MFnPluginData(MObject& object, MStatus* status = nullptr);
    MFn::Type type() const override { return MFn::kPluginData; }

    // Creates a new data object of the registered type and attaches this function set to it.
    MObject create(const MTypeId& id, MStatus* status = nullptr);
    MTypeId typeId(MStatus* status = nullptr) const;
    MPxData* data(MStatus* status = nullptr);
    const MPxData* constData(MStatus* status = nullptr) const;
};
