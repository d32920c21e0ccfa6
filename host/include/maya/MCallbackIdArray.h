#pragma once

#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <vector>

class OPENMAYA_EXPORT MCallbackIdArray {
  public:
    unsigned int length() const { return static_cast<unsigned int>(items_.size()); }
    MStatus setLength(unsigned int length) {
        items_.resize(length);
        return MS::kSuccess;
    }
    MCallbackId& operator[](unsigned int index) { return items_[index]; }
    MCallbackId operator[](unsigned int index) const { return items_[index]; }
    MStatus append(MCallbackId id) {
        items_.push_back(id);
        return MS::kSuccess;
    }
    MStatus clear() {
        items_.clear();
        return MS::kSuccess;
    }

  private:
    std::vector<MCallbackId> items_;
};
