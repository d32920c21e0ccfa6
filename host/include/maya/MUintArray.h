#pragma once
// Growable array of unsigned ints, backed by std::vector. Index access is unchecked (asserted in
// debug builds), as in Maya; set, insert and remove fail without effect when out of range.

#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <cassert>
#include <iosfwd>
#include <vector>

class OPENMAYA_EXPORT MUintArray {
  public:
    MUintArray() = default;
    MUintArray(const unsigned int src[], unsigned int count);
    MUintArray(unsigned int initialSize, unsigned int initialValue = 0);
    MUintArray(const MUintArray&) = default;
    MUintArray(MUintArray&&) = default;
    MUintArray& operator=(const MUintArray&) = default;
    MUintArray& operator=(MUintArray&&) = default;

    unsigned int operator[](unsigned int index) const {
        assert(index < data_.size());
        return data_[index];
    }
    unsigned int& operator[](unsigned int index) {
        assert(index < data_.size());
        return data_[index];
    }
    unsigned int length() const { return static_cast<unsigned int>(data_.size()); }
    // New elements take the default value.
    MStatus setLength(unsigned int length);
    MStatus set(unsigned int element, unsigned int index);
    // index may be length(), which appends.
    MStatus insert(unsigned int element, unsigned int index);
    MStatus remove(unsigned int index);
    MStatus append(unsigned int element);
    MStatus copy(const MUintArray& source);
    MStatus clear();
    // dest must hold length() elements.
    MStatus get(unsigned int dest[]) const;
    // Growth hint for appends; the storage grows geometrically whatever it is.
    void setSizeIncrement(unsigned int newIncrement);
    unsigned int sizeIncrement() const { return sizeIncrement_; }

  private:
    std::vector<unsigned int> data_;
    unsigned int sizeIncrement_ = 0;
};

OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MUintArray& array);
