#pragma once
// Growable array of doubles, backed by std::vector. Index access is unchecked (asserted in
// debug builds), as in Maya; set, insert and remove fail without effect when out of range.

#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <cassert>
#include <iosfwd>
#include <vector>

class OPENMAYA_EXPORT MDoubleArray {
  public:
    MDoubleArray() = default;
    MDoubleArray(const double src[], unsigned int count);
    MDoubleArray(unsigned int initialSize, double initialValue = 0.0);
    MDoubleArray(const float src[], unsigned int count);
    MStatus get(float array[]) const;
    MDoubleArray(const MDoubleArray&) = default;
    MDoubleArray(MDoubleArray&&) = default;
    MDoubleArray& operator=(const MDoubleArray&) = default;
    MDoubleArray& operator=(MDoubleArray&&) = default;

    double operator[](unsigned int index) const {
        assert(index < data_.size());
        return data_[index];
    }
    double& operator[](unsigned int index) {
        assert(index < data_.size());
        return data_[index];
    }
    unsigned int length() const { return static_cast<unsigned int>(data_.size()); }
    // New elements take the default value.
    MStatus setLength(unsigned int length);
    MStatus set(double element, unsigned int index);
    // index may be length(), which appends.
    MStatus insert(double element, unsigned int index);
    MStatus remove(unsigned int index);
    MStatus append(double element);
    MStatus copy(const MDoubleArray& source);
    MStatus clear();
    // dest must hold length() elements.
    MStatus get(double dest[]) const;
    // Growth hint for appends; the storage grows geometrically whatever it is.
    void setSizeIncrement(unsigned int newIncrement);
    unsigned int sizeIncrement() const { return sizeIncrement_; }

  private:
    std::vector<double> data_;
    unsigned int sizeIncrement_ = 0;
};

OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MDoubleArray& array);
