#include <maya/MColorArray.h>

#include "math/ArrayOps.h"

#include <ostream>

MColorArray::MColorArray(const MColor src[], unsigned int count) : data_(src, src + count) {}
MColorArray::MColorArray(unsigned int initialSize, const MColor& initialValue)
    : data_(initialSize, initialValue) {}
namespace {
template <typename S> MColor rgba(const S c[4]) {
    return MColor(float(c[0]), float(c[1]), float(c[2]), float(c[3]));
}
} // namespace

MColorArray::MColorArray(const float src[][4], unsigned int count) {
    data_.reserve(count);
    for (unsigned int i = 0; i < count; ++i)
        data_.push_back(rgba(src[i]));
}
MColorArray::MColorArray(const double src[][4], unsigned int count) {
    data_.reserve(count);
    for (unsigned int i = 0; i < count; ++i)
        data_.push_back(rgba(src[i]));
}
MStatus MColorArray::set(const float element[4], unsigned int index) {
    return arrayops::set(data_, rgba(element), index);
}
MStatus MColorArray::set(const double element[4], unsigned int index) {
    return arrayops::set(data_, rgba(element), index);
}
MStatus MColorArray::set(unsigned int index, float r, float g, float b, float a) {
    return arrayops::set(data_, MColor(r, g, b, a), index);
}
MStatus MColorArray::get(float dest[][4]) const {
    return arrayops::getRows<4>(data_, dest);
}
MStatus MColorArray::get(double dest[][4]) const {
    return arrayops::getRows<4>(data_, dest);
}

MStatus MColorArray::setLength(unsigned int length) {
    return arrayops::setLength(data_, length, MColor::kOpaqueBlack);
}
MStatus MColorArray::set(const MColor& element, unsigned int index) {
    return arrayops::set(data_, element, index);
}
MStatus MColorArray::insert(const MColor& element, unsigned int index) {
    return arrayops::insert(data_, element, index);
}
MStatus MColorArray::remove(unsigned int index) {
    return arrayops::remove(data_, index);
}
MStatus MColorArray::append(const MColor& element) {
    return arrayops::append(data_, element);
}
MStatus MColorArray::copy(const MColorArray& source) {
    data_ = source.data_;
    return MS::kSuccess;
}
MStatus MColorArray::clear() {
    data_.clear();
    return MS::kSuccess;
}
MStatus MColorArray::get(MColor dest[]) const {
    return arrayops::getAll(data_, dest);
}
void MColorArray::setSizeIncrement(unsigned int newIncrement) {
    sizeIncrement_ = newIncrement;
}

std::ostream& operator<<(std::ostream& os, const MColorArray& array) {
    return arrayops::print(os, array);
}
