#pragma once
// Growable array of points (new elements are the origin, w = 1), backed by std::vector. Index
// access is unchecked (asserted in debug builds), as in Maya; set, insert and remove fail without
// effect when out of range.

#include <maya/MPoint.h>
#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <cassert>
#include <iosfwd>
#include <vector>

class OPENMAYA_EXPORT MPointArray {
  public:
    MPointArray() = default;
    MPointArray(const MPoint src[], unsigned int count);
    MPointArray(unsigned int initialSize, const MPoint& initialValue = MPoint::origin);
    MPointArray(const double src[][4], unsigned int count);
    MPointArray(const float src[][4], unsigned int count);
    MStatus set(const double element[4], unsigned int index);
    MStatus set(const float element[4], unsigned int index);
    MStatus set(unsigned int index, double x, double y, double z = 0.0, double w = 1.0);
    MStatus append(double x, double y, double z = 0.0, double w = 1.0);
    MStatus get(double dest[][4]) const;
    MStatus get(float dest[][4]) const;
    MPointArray(const MPointArray&) = default;
    MPointArray(MPointArray&&) = default;
    MPointArray& operator=(const MPointArray&) = default;
    MPointArray& operator=(MPointArray&&) = default;

    const MPoint& operator[](unsigned int index) const {
        assert(index < data_.size());
        return data_[index];
    }
    MPoint& operator[](unsigned int index) {
        assert(index < data_.size());
        return data_[index];
    }
    unsigned int length() const { return static_cast<unsigned int>(data_.size()); }
    // New elements take the default value.
    MStatus setLength(unsigned int length);
    MStatus set(const MPoint& element, unsigned int index);
    // index may be length(), which appends.
    MStatus insert(const MPoint& element, unsigned int index);
    MStatus remove(unsigned int index);
    MStatus append(const MPoint& element);
    MStatus copy(const MPointArray& source);
    MStatus clear();
    // dest must hold length() elements.
    MStatus get(MPoint dest[]) const;
    // Growth hint for appends; the storage grows geometrically whatever it is.
    void setSizeIncrement(unsigned int newIncrement);
    unsigned int sizeIncrement() const { return sizeIncrement_; }

  private:
    std::vector<MPoint> data_;
    unsigned int sizeIncrement_ = 0;
};

OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MPointArray& array);
