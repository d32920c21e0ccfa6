#include <maya/MFloatArray.h>

#include "math/ArrayOps.h"

#include <ostream>

MFloatArray::MFloatArray(const float src[], unsigned int count) : data_(src, src + count) {}
MFloatArray::MFloatArray(unsigned int initialSize, float initialValue)
    : data_(initialSize, initialValue) {}
MFloatArray::MFloatArray(const double src[], unsigned int count) : data_(src, src + count) {}
MStatus MFloatArray::get(double array[]) const {
    return arrayops::getAll(data_, array);
}

MStatus MFloatArray::setLength(unsigned int length) {
    return arrayops::setLength(data_, length, 0.0f);
}
MStatus MFloatArray::set(float element, unsigned int index) {
    return arrayops::set(data_, element, index);
}
MStatus MFloatArray::insert(float element, unsigned int index) {
    return arrayops::insert(data_, element, index);
}
MStatus MFloatArray::remove(unsigned int index) {
    return arrayops::remove(data_, index);
}
MStatus MFloatArray::append(float element) {
    return arrayops::append(data_, element);
}
MStatus MFloatArray::copy(const MFloatArray& source) {
    data_ = source.data_;
    return MS::kSuccess;
}
MStatus MFloatArray::clear() {
    data_.clear();
    return MS::kSuccess;
}
MStatus MFloatArray::get(float dest[]) const {
    return arrayops::getAll(data_, dest);
}
void MFloatArray::setSizeIncrement(unsigned int newIncrement) {
    sizeIncrement_ = newIncrement;
}

std::ostream& operator<<(std::ostream& os, const MFloatArray& array) {
    return arrayops::print(os, array);
}
