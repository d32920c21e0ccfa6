#pragma once
// Growable array of colours (new elements are opaque black), backed by std::vector. Index access is
// unchecked (asserted in debug builds), as in Maya; set, insert and remove fail without effect when
// out of range.

#include <maya/MColor.h>
#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <cassert>
#include <iosfwd>
#include <vector>

class OPENMAYA_EXPORT MColorArray {
  public:
    MColorArray() = default;
    MColorArray(const MColor src[], unsigned int count);
    MColorArray(unsigned int initialSize, const MColor& initialValue = MColor::kOpaqueBlack);
    MColorArray(const float src[][4], unsigned int count);
    MColorArray(const double src[][4], unsigned int count);
    MStatus set(const float element[4], unsigned int index);
    MStatus set(const double element[4], unsigned int index);
    MStatus set(unsigned int index, float r, float g, float b, float a = 1.0f);
    MStatus get(float dest[][4]) const;
    MStatus get(double dest[][4]) const;
    MColorArray(const MColorArray&) = default;
    MColorArray(MColorArray&&) = default;
    MColorArray& operator=(const MColorArray&) = default;
    MColorArray& operator=(MColorArray&&) = default;

    const MColor& operator[](unsigned int index) const {
        assert(index < data_.size());
        return data_[index];
    }
    MColor& operator[](unsigned int index) {
        assert(index < data_.size());
        return data_[index];
    }
    unsigned int length() const { return static_cast<unsigned int>(data_.size()); }
    // New elements take the default value.
    MStatus setLength(unsigned int length);
    MStatus set(const MColor& element, unsigned int index);
    // index may be length(), which appends.
    MStatus insert(const MColor& element, unsigned int index);
    MStatus remove(unsigned int index);
    MStatus append(const MColor& element);
    MStatus copy(const MColorArray& source);
    MStatus clear();
    // dest must hold length() elements.
    MStatus get(MColor dest[]) const;
    // Growth hint for appends; the storage grows geometrically whatever it is.
    void setSizeIncrement(unsigned int newIncrement);
    unsigned int sizeIncrement() const { return sizeIncrement_; }

  private:
    std::vector<MColor> data_;
    unsigned int sizeIncrement_ = 0;
};

OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MColorArray& array);
