#include <maya/MUintArray.h>

#include "math/ArrayOps.h"

#include <ostream>

MUintArray::MUintArray(const unsigned int src[], unsigned int count) : data_(src, src + count) {}
MUintArray::MUintArray(unsigned int initialSize, unsigned int initialValue)
    : data_(initialSize, initialValue) {}

MStatus MUintArray::setLength(unsigned int length) {
    return arrayops::setLength(data_, length, 0);
}
MStatus MUintArray::set(unsigned int element, unsigned int index) {
    return arrayops::set(data_, element, index);
}
MStatus MUintArray::insert(unsigned int element, unsigned int index) {
    return arrayops::insert(data_, element, index);
}
MStatus MUintArray::remove(unsigned int index) {
    return arrayops::remove(data_, index);
}
MStatus MUintArray::append(unsigned int element) {
    return arrayops::append(data_, element);
}
MStatus MUintArray::copy(const MUintArray& source) {
    data_ = source.data_;
    return MS::kSuccess;
}
MStatus MUintArray::clear() {
    data_.clear();
    return MS::kSuccess;
}
MStatus MUintArray::get(unsigned int dest[]) const {
    return arrayops::getAll(data_, dest);
}
void MUintArray::setSizeIncrement(unsigned int newIncrement) {
    sizeIncrement_ = newIncrement;
}

std::ostream& operator<<(std::ostream& os, const MUintArray& array) {
    return arrayops::print(os, array);
}
