#pragma once
// Growable array of single-precision points (new elements are the origin, w = 1), backed by
// std::vector. Index access is unchecked (asserted in debug builds), as in Maya; set, insert and
// remove fail without effect when out of range.

#include <maya/MFloatPoint.h>
#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <cassert>
#include <iosfwd>
#include <vector>

class OPENMAYA_EXPORT MFloatPointArray {
  public:
    MFloatPointArray() = default;
    MFloatPointArray(const MFloatPoint src[], unsigned int count);
    MFloatPointArray(unsigned int initialSize,
                     const MFloatPoint& initialValue = MFloatPoint::origin);
    MFloatPointArray(const float src[][4], unsigned int count);
    MFloatPointArray(const double src[][4], unsigned int count);
    MStatus set(const float element[4], unsigned int index);
    MStatus set(const double element[4], unsigned int index);
    MStatus set(unsigned int index, float x, float y, float z = 0.0f, float w = 1.0f);
    MStatus append(float x, float y, float z = 0.0f, float w = 1.0f);
    MStatus get(float dest[][4]) const;
    MStatus get(double dest[][4]) const;
    MFloatPointArray(const MFloatPointArray&) = default;
    MFloatPointArray(MFloatPointArray&&) = default;
    MFloatPointArray& operator=(const MFloatPointArray&) = default;
    MFloatPointArray& operator=(MFloatPointArray&&) = default;

    const MFloatPoint& operator[](unsigned int index) const {
        assert(index < data_.size());
        return data_[index];
    }
    MFloatPoint& operator[](unsigned int index) {
        assert(index < data_.size());
        return data_[index];
    }
    unsigned int length() const { return static_cast<unsigned int>(data_.size()); }
    // New elements take the default value.
    MStatus setLength(unsigned int length);
    MStatus set(const MFloatPoint& element, unsigned int index);
    // index may be length(), which appends.
    MStatus insert(const MFloatPoint& element, unsigned int index);
    MStatus remove(unsigned int index);
    MStatus append(const MFloatPoint& element);
    MStatus copy(const MFloatPointArray& source);
    MStatus clear();
    // dest must hold length() elements.
    MStatus get(MFloatPoint dest[]) const;
    // Growth hint for appends; the storage grows geometrically whatever it is.
    void setSizeIncrement(unsigned int newIncrement);
    unsigned int sizeIncrement() const { return sizeIncrement_; }

  private:
    std::vector<MFloatPoint> data_;
    unsigned int sizeIncrement_ = 0;
};

OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MFloatPointArray& array);
