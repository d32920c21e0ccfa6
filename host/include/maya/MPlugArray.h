#pragma once

#include <maya/MPlug.h>

#include <vector>

class OPENMAYA_EXPORT MPlugArray {
  public:
    MPlugArray() = default;
    unsigned int length() const { return static_cast<unsigned int>(items_.size()); }
    MStatus setLength(unsigned int length) {
        items_.resize(length);
        return MS::kSuccess;
    }
    MPlug& operator[](unsigned int index) { return items_[index]; }
    const MPlug& operator[](unsigned int index) const { return items_[index]; }
    MStatus append(const MPlug& plug) {
        items_.push_back(plug);
        return MS::kSuccess;
    }
    MStatus remove(unsigned int index) {
        if (index >= items_.size())
            return MS::kFailure;
        items_.erase(items_.begin() + index);
        return MS::kSuccess;
    }
    MStatus clear() {
        items_.clear();
        return MS::kSuccess;
    }

  private:
    std::vector<MPlug> items_;
};
