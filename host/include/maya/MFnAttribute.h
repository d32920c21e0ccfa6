#pragma once
// Flags and names common to every attribute. Attributes are created once per node type
// (usually in the type's initializer) and shared by every node of that type.

#include <maya/MFnBase.h>
#include <maya/MString.h>

class OPENMAYA_EXPORT MFnAttribute : public MFnBase {
  public:
    enum DisconnectBehavior { kDelete, kReset, kNothing };

    MFnAttribute() = default;
    MFnAttribute(const MObject& object, MStatus* status = nullptr);
    MFn::Type type() const override { return MFn::kAttribute; }

    MString name() const;
    MString shortName() const;
    MObject parent(MStatus* status = nullptr) const;

    bool isReadable(MStatus* status = nullptr) const;
    bool isWritable(MStatus* status = nullptr) const;
    bool isConnectable(MStatus* status = nullptr) const;
    bool isStorable(MStatus* status = nullptr) const;
    bool isCached(MStatus* status = nullptr) const;
    bool isArray(MStatus* status = nullptr) const;
    bool isKeyable(MStatus* status = nullptr) const;
    bool isHidden(MStatus* status = nullptr) const;
    bool isChannelBoxFlagSet(MStatus* status = nullptr) const;
    bool isIndexMatters(MStatus* status = nullptr) const;
    bool isDynamic(MStatus* status = nullptr) const;
    bool internal(MStatus* status = nullptr) const;
    bool usesArrayDataBuilder(MStatus* status = nullptr) const;
    DisconnectBehavior disconnectBehavior(MStatus* status = nullptr) const;

    MStatus setReadable(bool state);
    MStatus setWritable(bool state);
    MStatus setConnectable(bool state);
    MStatus setStorable(bool state);
    MStatus setCached(bool state);
    MStatus setArray(bool state);
    MStatus setKeyable(bool state);
    MStatus setHidden(bool state);
    MStatus setChannelBox(bool state);
    MStatus setIndexMatters(bool state);
    MStatus setInternal(bool state);
    MStatus setUsesArrayDataBuilder(bool state);
    MStatus setDisconnectBehavior(DisconnectBehavior behavior);
    MStatus setNiceNameOverride(const MString& name);
    MStatus setAffectsWorldSpace(bool state);
    MStatus setRenderSource(bool state);
};
