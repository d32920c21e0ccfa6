#pragma once
// Growable array of single-precision vectors, backed by std::vector. Index access is unchecked
// (asserted in debug builds), as in Maya; set, insert and remove fail without effect when out of
// range.

#include <maya/MFloatVector.h>
#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <cassert>
#include <iosfwd>
#include <vector>

class OPENMAYA_EXPORT MFloatVectorArray {
  public:
    MFloatVectorArray() = default;
    MFloatVectorArray(const MFloatVector src[], unsigned int count);
    MFloatVectorArray(unsigned int initialSize,
                      const MFloatVector& initialValue = MFloatVector::zero);
    MFloatVectorArray(const float src[][3], unsigned int count);
    MFloatVectorArray(const double src[][3], unsigned int count);
    MStatus set(const float element[3], unsigned int index);
    MStatus set(const double element[3], unsigned int index);
    MStatus get(float dest[][3]) const;
    MStatus get(double dest[][3]) const;
    MFloatVectorArray(const MFloatVectorArray&) = default;
    MFloatVectorArray(MFloatVectorArray&&) = default;
    MFloatVectorArray& operator=(const MFloatVectorArray&) = default;
    MFloatVectorArray& operator=(MFloatVectorArray&&) = default;

    const MFloatVector& operator[](unsigned int index) const {
        assert(index < data_.size());
        return data_[index];
    }
    MFloatVector& operator[](unsigned int index) {
        assert(index < data_.size());
        return data_[index];
    }
    unsigned int length() const { return static_cast<unsigned int>(data_.size()); }
    // New elements take the default value.
    MStatus setLength(unsigned int length);
    MStatus set(const MFloatVector& element, unsigned int index);
    // index may be length(), which appends.
    MStatus insert(const MFloatVector& element, unsigned int index);
    MStatus remove(unsigned int index);
    MStatus append(const MFloatVector& element);
    MStatus copy(const MFloatVectorArray& source);
    MStatus clear();
    // dest must hold length() elements.
    MStatus get(MFloatVector dest[]) const;
    // Growth hint for appends; the storage grows geometrically whatever it is.
    void setSizeIncrement(unsigned int newIncrement);
    unsigned int sizeIncrement() const { return sizeIncrement_; }

  private:
    std::vector<MFloatVector> data_;
    unsigned int sizeIncrement_ = 0;
};

OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MFloatVectorArray& array);
