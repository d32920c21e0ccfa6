#pragma once
// Growable array of floats, backed by std::vector. Index access is unchecked (asserted in
// debug builds), as in Maya; set, insert and remove fail without effect when out of range.

#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <cassert>
#include <iosfwd>
#include <vector>

class OPENMAYA_EXPORT MFloatArray {
  public:
    MFloatArray() = default;
    MFloatArray(const float src[], unsigned int count);
    MFloatArray(unsigned int initialSize, float initialValue = 0.0f);
    MFloatArray(const double src[], unsigned int count);
    MStatus get(double array[]) const;
    MFloatArray(const MFloatArray&) = default;
    MFloatArray(MFloatArray&&) = default;
    MFloatArray& operator=(const MFloatArray&) = default;
    MFloatArray& operator=(MFloatArray&&) = default;

    float operator[](unsigned int index) const {
        assert(index < data_.size());
        return data_[index];
    }
    float& operator[](unsigned int index) {
        assert(index < data_.size());
        return data_[index];
    }
    unsigned int length() const { return static_cast<unsigned int>(data_.size()); }
    // New elements take the default value.
    MStatus setLength(unsigned int length);
    MStatus set(float element, unsigned int index);
    // index may be length(), which appends.
    MStatus insert(float element, unsigned int index);
    MStatus remove(unsigned int index);
    MStatus append(float element);
    MStatus copy(const MFloatArray& source);
    MStatus clear();
    // dest must hold length() elements.
    MStatus get(float dest[]) const;
    // Growth hint for appends; the storage grows geometrically whatever it is.
    void setSizeIncrement(unsigned int newIncrement);
    unsigned int sizeIncrement() const { return sizeIncrement_; }

  private:
    std::vector<float> data_;
    unsigned int sizeIncrement_ = 0;
};

OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MFloatArray& array);
