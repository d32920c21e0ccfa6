#pragma once
// A node or data type's numeric identity; scenes store it, so values never change.

#include <maya/MTypes.h>

class OPENMAYA_EXPORT MTypeId {
  public:
    MTypeId() : id_(0) {}
    MTypeId(unsigned int id) : id_(id) {}
    MTypeId(unsigned int prefix, unsigned int id) : id_((prefix << 8) | (id & 0xff)) {}
    unsigned int id() const { return id_; }
    bool operator==(const MTypeId& other) const { return id_ == other.id_; }
    bool operator!=(const MTypeId& other) const { return id_ != other.id_; }

  private:
    unsigned int id_;
};
