#pragma once
// Growable array of vectors, backed by std::vector. Index access is unchecked (asserted in
// debug builds), as in Maya; set, insert and remove fail without effect when out of range.

#include <maya/MVector.h>
#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <cassert>
#include <iosfwd>
#include <vector>

class OPENMAYA_EXPORT MVectorArray {
  public:
    MVectorArray() = default;
    MVectorArray(const MVector src[], unsigned int count);
    MVectorArray(unsigned int initialSize, const MVector& initialValue = MVector::zero);
    MVectorArray(const double src[][3], unsigned int count);
    MVectorArray(const float src[][3], unsigned int count);
    MStatus set(const double element[3], unsigned int index);
    MStatus set(const float element[3], unsigned int index);
    MStatus get(double dest[][3]) const;
    MStatus get(float dest[][3]) const;
    MVectorArray(const MVectorArray&) = default;
    MVectorArray(MVectorArray&&) = default;
    MVectorArray& operator=(const MVectorArray&) = default;
    MVectorArray& operator=(MVectorArray&&) = default;

    const MVector& operator[](unsigned int index) const {
        assert(index < data_.size());
        return data_[index];
    }
    MVector& operator[](unsigned int index) {
        assert(index < data_.size());
        return data_[index];
    }
    unsigned int length() const { return static_cast<unsigned int>(data_.size()); }
    // New elements take the default value.
    MStatus setLength(unsigned int length);
    MStatus set(const MVector& element, unsigned int index);
    // index may be length(), which appends.
    MStatus insert(const MVector& element, unsigned int index);
    MStatus remove(unsigned int index);
    MStatus append(const MVector& element);
    MStatus copy(const MVectorArray& source);
    MStatus clear();
    // dest must hold length() elements.
    MStatus get(MVector dest[]) const;
    // Growth hint for appends; the storage grows geometrically whatever it is.
    void setSizeIncrement(unsigned int newIncrement);
    unsigned int sizeIncrement() const { return sizeIncrement_; }

  private:
    std::vector<MVector> data_;
    unsigned int sizeIncrement_ = 0;
};

OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MVectorArray& array);
