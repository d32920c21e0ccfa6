#include <maya/MPointArray.h>

#include "math/ArrayOps.h"

#include <ostream>

MPointArray::MPointArray(const MPoint src[], unsigned int count) : data_(src, src + count) {}
MPointArray::MPointArray(unsigned int initialSize, const MPoint& initialValue)
    : data_(initialSize, initialValue) {}
MPointArray::MPointArray(const double src[][4], unsigned int count) : data_(src, src + count) {}
MPointArray::MPointArray(const float src[][4], unsigned int count) : data_(src, src + count) {}
MStatus MPointArray::set(const double element[4], unsigned int index) {
    return arrayops::set(data_, MPoint(element), index);
}
MStatus MPointArray::set(const float element[4], unsigned int index) {
    return arrayops::set(data_, MPoint(element), index);
}
MStatus MPointArray::set(unsigned int index, double x, double y, double z, double w) {
    return arrayops::set(data_, MPoint(x, y, z, w), index);
}
MStatus MPointArray::append(double x, double y, double z, double w) {
    return arrayops::append(data_, MPoint(x, y, z, w));
}
MStatus MPointArray::get(double dest[][4]) const {
    return arrayops::getRows<4>(data_, dest);
}
MStatus MPointArray::get(float dest[][4]) const {
    return arrayops::getRows<4>(data_, dest);
}

MStatus MPointArray::setLength(unsigned int length) {
    return arrayops::setLength(data_, length, MPoint::origin);
}
MStatus MPointArray::set(const MPoint& element, unsigned int index) {
    return arrayops::set(data_, element, index);
}
MStatus MPointArray::insert(const MPoint& element, unsigned int index) {
    return arrayops::insert(data_, element, index);
}
MStatus MPointArray::remove(unsigned int index) {
    return arrayops::remove(data_, index);
}
MStatus MPointArray::append(const MPoint& element) {
    return arrayops::append(data_, element);
}
MStatus MPointArray::copy(const MPointArray& source) {
    data_ = source.data_;
    return MS::kSuccess;
}
MStatus MPointArray::clear() {
    data_.clear();
    return MS::kSuccess;
}
MStatus MPointArray::get(MPoint dest[]) const {
    return arrayops::getAll(data_, dest);
}
void MPointArray::setSizeIncrement(unsigned int newIncrement) {
    sizeIncrement_ = newIncrement;
}

std::ostream& operator<<(std::ostream& os, const MPointArray& array) {
    return arrayops::print(os, array);
}
