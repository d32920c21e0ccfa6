#include <maya/MIntArray.h>

#include "math/ArrayOps.h"

#include <ostream>

MIntArray::MIntArray(const int src[], unsigned int count) : data_(src, src + count) {}
MIntArray::MIntArray(unsigned int initialSize, int initialValue)
    : data_(initialSize, initialValue) {}

MStatus MIntArray::setLength(unsigned int length) {
    return arrayops::setLength(data_, length, 0);
}
MStatus MIntArray::set(int element, unsigned int index) {
    return arrayops::set(data_, element, index);
}
MStatus MIntArray::insert(int element, unsigned int index) {
    return arrayops::insert(data_, element, index);
}
MStatus MIntArray::remove(unsigned int index) {
    return arrayops::remove(data_, index);
}
MStatus MIntArray::append(int element) {
    return arrayops::append(data_, element);
}
MStatus MIntArray::copy(const MIntArray& source) {
    data_ = source.data_;
    return MS::kSuccess;
}
MStatus MIntArray::clear() {
    data_.clear();
    return MS::kSuccess;
}
MStatus MIntArray::get(int dest[]) const {
    return arrayops::getAll(data_, dest);
}
void MIntArray::setSizeIncrement(unsigned int newIncrement) {
    sizeIncrement_ = newIncrement;
}

std::ostream& operator<<(std::ostream& os, const MIntArray& array) {
    return arrayops::print(os, array);
}
