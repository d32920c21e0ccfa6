#pragma once
// Walks the elements of an array attribute during compute, in ascending logical index.

#include <maya/MDataHandle.h>

class MArrayDataBuilder;

class OPENMAYA_EXPORT MArrayDataHandle {
  public:
    MArrayDataHandle(const MDataHandle& handle);
    MArrayDataHandle(const MArrayDataHandle& other) = default;
    MArrayDataHandle& operator=(const MArrayDataHandle& other) = default;

    MDataHandle inputValue(MStatus* status = nullptr);
    MDataHandle outputValue(MStatus* status = nullptr);
    MArrayDataHandle inputArrayValue(MStatus* status = nullptr);
    MArrayDataHandle outputArrayValue(MStatus* status = nullptr);

    MStatus next();
    unsigned int elementCount(MStatus* status = nullptr);
    unsigned int elementIndex(MStatus* status = nullptr);
    MStatus jumpToElement(unsigned int logicalIndex);
    MStatus jumpToArrayElement(unsigned int physicalIndex);
    MStatus setClean();
    MStatus setAllClean();
    MArrayDataBuilder builder(MStatus* status = nullptr);
    MStatus set(MArrayDataBuilder& builder);

    // Host side.
    MArrayDataHandle(host::Node* node, const host::AttributeDef* attribute, host::Slot* slot,
                     bool pull);

  private:
    host::Node* node_ = nullptr;
    const host::AttributeDef* attribute_ = nullptr;
    host::Slot* slot_ = nullptr;
    bool pull_ = false;
    unsigned int position_ = 0;
};
