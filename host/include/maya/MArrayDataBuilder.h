#pragma once
// Builds the elements of an output array attribute during compute.

#include <maya/MDataHandle.h>

#include <memory>

class MArrayDataHandle;
class MDataBlock;

class OPENMAYA_EXPORT MArrayDataBuilder {
  public:
    MArrayDataBuilder(const MObject& attribute, unsigned int numElements,
                      MStatus* status = nullptr);
    MArrayDataBuilder(MDataBlock* block, const MObject& attribute, unsigned int numElements,
                      MStatus* status = nullptr);
    MArrayDataBuilder(const MArrayDataBuilder& other) = default;
    MArrayDataBuilder& operator=(const MArrayDataBuilder& other) = default;

    MDataHandle addElement(unsigned int index, MStatus* status = nullptr);
    MDataHandle addLast(MStatus* status = nullptr);
    MStatus removeElement(unsigned int index);
    unsigned int elementCount(MStatus* status = nullptr) const;
    MStatus growArray(unsigned int amount);

    // Host side: the builder fills its own copy of the array, which MArrayDataHandle::set
    // puts in place.
    MArrayDataBuilder(host::Node* node, const host::AttributeDef* attribute,
                      const host::Slot& current);
    const std::shared_ptr<host::Slot>& elements() const { return elements_; }

  private:
    host::Node* node_ = nullptr;
    const host::AttributeDef* attribute_ = nullptr;
    std::shared_ptr<host::Slot> elements_;
};
