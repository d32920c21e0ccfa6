#pragma once
// Growable array of ints, backed by std::vector. Index access is unchecked (asserted in
// debug builds), as in Maya; set, insert and remove fail without effect when out of range.

#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <cassert>
#include <iosfwd>
#include <vector>

class OPENMAYA_EXPORT MIntArray {
  public:
    MIntArray() = default;
    MIntArray(const int src[], unsigned int count);
    MIntArray(unsigned int initialSize, int initialValue = 0);
    MIntArray(const MIntArray&) = default;
    MIntArray(MIntArray&&) = default;
    MIntArray& operator=(const MIntArray&) = default;
    MIntArray& operator=(MIntArray&&) = default;

    int operator[](unsigned int index) const {
        assert(index < data_.size());
        return data_[index];
    }
    int& operator[](unsigned int index) {
        assert(index < data_.size());
        return data_[index];
    }
    unsigned int length() const { return static_cast<unsigned int>(data_.size()); }
    // New elements take the default value.
    MStatus setLength(unsigned int length);
    MStatus set(int element, unsigned int index);
    // index may be length(), which appends.
    MStatus insert(int element, unsigned int index);
    MStatus remove(unsigned int index);
    MStatus append(int element);
    MStatus copy(const MIntArray& source);
    MStatus clear();
    // dest must hold length() elements.
    MStatus get(int dest[]) const;
    // Growth hint for appends; the storage grows geometrically whatever it is.
    void setSizeIncrement(unsigned int newIncrement);
    unsigned int sizeIncrement() const { return sizeIncrement_; }

  private:
    std::vector<int> data_;
    unsigned int sizeIncrement_ = 0;
};

OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MIntArray& array);
