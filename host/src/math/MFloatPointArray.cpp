#include <maya/MFloatPointArray.h>

#include "math/ArrayOps.h"

#include <ostream>

MFloatPointArray::MFloatPointArray(const MFloatPoint src[], unsigned int count)
    : data_(src, src + count) {}
MFloatPointArray::MFloatPointArray(unsigned int initialSize, const MFloatPoint& initialValue)
    : data_(initialSize, initialValue) {}
MFloatPointArray::MFloatPointArray(const float src[][4], unsigned int count)
    : data_(src, src + count) {}
MFloatPointArray::MFloatPointArray(const double src[][4], unsigned int count)
    : data_(src, src + count) {}
MStatus MFloatPointArray::set(const float element[4], unsigned int index) {
    return arrayops::set(data_, MFloatPoint(element), index);
}
MStatus MFloatPointArray::set(const double element[4], unsigned int index) {
    return arrayops::set(data_, MFloatPoint(element), index);
}
MStatus MFloatPointArray::set(unsigned int index, float x, float y, float z, float w) {
    return arrayops::set(data_, MFloatPoint(x, y, z, w), index);
}
MStatus MFloatPointArray::append(float x, float y, float z, float w) {
    return arrayops::append(data_, MFloatPoint(x, y, z, w));
}
MStatus MFloatPointArray::get(float dest[][4]) const {
    return arrayops::getRows<4>(data_, dest);
}
MStatus MFloatPointArray::get(double dest[][4]) const {
    return arrayops::getRows<4>(data_, dest);
}

MStatus MFloatPointArray::setLength(unsigned int length) {
    return arrayops::setLength(data_, length, MFloatPoint::origin);
}
MStatus MFloatPointArray::set(const MFloatPoint& element, unsigned int index) {
    return arrayops::set(data_, element, index);
}
MStatus MFloatPointArray::insert(const MFloatPoint& element, unsigned int index) {
    return arrayops::insert(data_, element, index);
}
MStatus MFloatPointArray::remove(unsigned int index) {
    return arrayops::remove(data_, index);
}
MStatus MFloatPointArray::append(const MFloatPoint& element) {
    return arrayops::append(data_, element);
}
MStatus MFloatPointArray::copy(const MFloatPointArray& source) {
    data_ = source.data_;
    return MS::kSuccess;
}
MStatus MFloatPointArray::clear() {
    data_.clear();
    return MS::kSuccess;
}
MStatus MFloatPointArray::get(MFloatPoint dest[]) const {
    return arrayops::getAll(data_, dest);
}
void MFloatPointArray::setSizeIncrement(unsigned int newIncrement) {
    sizeIncrement_ = newIncrement;
}

std::ostream& operator<<(std::ostream& os, const MFloatPointArray& array) {
    return arrayops::print(os, array);
}
