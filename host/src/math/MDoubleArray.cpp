#include <maya/MDoubleArray.h>

#include "math/ArrayOps.h"

#include <ostream>

MDoubleArray::MDoubleArray(const double src[], unsigned int count) : data_(src, src + count) {}
MDoubleArray::MDoubleArray(unsigned int initialSize, double initialValue)
    : data_(initialSize, initialValue) {}
MDoubleArray::MDoubleArray(const float src[], unsigned int count) : data_(src, src + count) {}
MStatus MDoubleArray::get(float array[]) const {
    return arrayops::getAll(data_, array);
}

MStatus MDoubleArray::setLength(unsigned int length) {
    return arrayops::setLength(data_, length, 0.0);
}
MStatus MDoubleArray::set(double element, unsigned int index) {
    return arrayops::set(data_, element, index);
}
MStatus MDoubleArray::insert(double element, unsigned int index) {
    return arrayops::insert(data_, element, index);
}
MStatus MDoubleArray::remove(unsigned int index) {
    return arrayops::remove(data_, index);
}
MStatus MDoubleArray::append(double element) {
    return arrayops::append(data_, element);
}
MStatus MDoubleArray::copy(const MDoubleArray& source) {
    data_ = source.data_;
    return MS::kSuccess;
}
MStatus MDoubleArray::clear() {
    data_.clear();
    return MS::kSuccess;
}
MStatus MDoubleArray::get(double dest[]) const {
    return arrayops::getAll(data_, dest);
}
void MDoubleArray::setSizeIncrement(unsigned int newIncrement) {
    sizeIncrement_ = newIncrement;
}

std::ostream& operator<<(std::ostream& os, const MDoubleArray& array) {
    return arrayops::print(os, array);
}
