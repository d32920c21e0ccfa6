#include <maya/MVectorArray.h>

#include "math/ArrayOps.h"

#include <ostream>

MVectorArray::MVectorArray(const MVector src[], unsigned int count) : data_(src, src + count) {}
MVectorArray::MVectorArray(unsigned int initialSize, const MVector& initialValue)
    : data_(initialSize, initialValue) {}
MVectorArray::MVectorArray(const double src[][3], unsigned int count) : data_(src, src + count) {}
MVectorArray::MVectorArray(const float src[][3], unsigned int count) : data_(src, src + count) {}
MStatus MVectorArray::set(const double element[3], unsigned int index) {
    return arrayops::set(data_, MVector(element), index);
}
MStatus MVectorArray::set(const float element[3], unsigned int index) {
    return arrayops::set(data_, MVector(element), index);
}
MStatus MVectorArray::get(double dest[][3]) const {
    return arrayops::getRows<3>(data_, dest);
}
MStatus MVectorArray::get(float dest[][3]) const {
    return arrayops::getRows<3>(data_, dest);
}

MStatus MVectorArray::setLength(unsigned int length) {
    return arrayops::setLength(data_, length, MVector::zero);
}
MStatus MVectorArray::set(const MVector& element, unsigned int index) {
    return arrayops::set(data_, element, index);
}
MStatus MVectorArray::insert(const MVector& element, unsigned int index) {
    return arrayops::insert(data_, element, index);
}
MStatus MVectorArray::remove(unsigned int index) {
    return arrayops::remove(data_, index);
}
MStatus MVectorArray::append(const MVector& element) {
    return arrayops::append(data_, element);
}
MStatus MVectorArray::copy(const MVectorArray& source) {
    data_ = source.data_;
    return MS::kSuccess;
}
MStatus MVectorArray::clear() {
    data_.clear();
    return MS::kSuccess;
}
MStatus MVectorArray::get(MVector dest[]) const {
    return arrayops::getAll(data_, dest);
}
void MVectorArray::setSizeIncrement(unsigned int newIncrement) {
    sizeIncrement_ = newIncrement;
}

std::ostream& operator<<(std::ostream& os, const MVectorArray& array) {
    return arrayops::print(os, array);
}
