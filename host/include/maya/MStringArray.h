#pragma once
// Growable array of strings, backed by std::vector. Index access is unchecked (asserted in
// debug builds), as in Maya; set, insert and remove fail without effect when out of range.

#include <maya/MString.h>
#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <cassert>
#include <iosfwd>
#include <vector>

class OPENMAYA_EXPORT MStringArray {
  public:
    MStringArray() = default;
    MStringArray(const MString src[], unsigned int count);
    MStringArray(unsigned int initialSize, const MString& initialValue = MString());
    MStringArray(const MStringArray&) = default;
    MStringArray(MStringArray&&) = default;
    MStringArray& operator=(const MStringArray&) = default;
    MStringArray& operator=(MStringArray&&) = default;

    const MString& operator[](unsigned int index) const {
        assert(index < data_.size());
        return data_[index];
    }
    MString& operator[](unsigned int index) {
        assert(index < data_.size());
        return data_[index];
    }
    unsigned int length() const { return static_cast<unsigned int>(data_.size()); }
    // New elements take the default value.
    MStatus setLength(unsigned int length);
    MStatus set(const MString& element, unsigned int index);
    // index may be length(), which appends.
    MStatus insert(const MString& element, unsigned int index);
    MStatus remove(unsigned int index);
    MStatus append(const MString& element);
    MStatus copy(const MStringArray& source);
    MStatus clear();
    // dest must hold length() elements.
    MStatus get(MString dest[]) const;
    // Growth hint for appends; the storage grows geometrically whatever it is.
    void setSizeIncrement(unsigned int newIncrement);
    unsigned int sizeIncrement() const { return sizeIncrement_; }

  private:
    std::vector<MString> data_;
    unsigned int sizeIncrement_ = 0;
};

OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MStringArray& array);
