#include <maya/MFloatVectorArray.h>

#include "math/ArrayOps.h"

#include <ostream>

MFloatVectorArray::MFloatVectorArray(const MFloatVector src[], unsigned int count)
    : data_(src, src + count) {}
MFloatVectorArray::MFloatVectorArray(unsigned int initialSize, const MFloatVector& initialValue)
    : data_(initialSize, initialValue) {}
MFloatVectorArray::MFloatVectorArray(const float src[][3], unsigned int count)
    : data_(src, src + count) {}
MFloatVectorArray::MFloatVectorArray(const double src[][3], unsigned int count)
    : data_(src, src + count) {}
MStatus MFloatVectorArray::set(const float element[3], unsigned int index) {
    return arrayops::set(data_, MFloatVector(element), index);
}
MStatus MFloatVectorArray::set(const double element[3], unsigned int index) {
    return arrayops::set(data_, MFloatVector(element), index);
}
MStatus MFloatVectorArray::get(float dest[][3]) const {
    return arrayops::getRows<3>(data_, dest);
}
MStatus MFloatVectorArray::get(double dest[][3]) const {
    return arrayops::getRows<3>(data_, dest);
}

MStatus MFloatVectorArray::setLength(unsigned int length) {
    return arrayops::setLength(data_, length, MFloatVector::zero);
}
MStatus MFloatVectorArray::set(const MFloatVector& element, unsigned int index) {
    return arrayops::set(data_, element, index);
}
MStatus MFloatVectorArray::insert(const MFloatVector& element, unsigned int index) {
    return arrayops::insert(data_, element, index);
}
MStatus MFloatVectorArray::remove(unsigned int index) {
    return arrayops::remove(data_, index);
}
MStatus MFloatVectorArray::append(const MFloatVector& element) {
    return arrayops::append(data_, element);
}
MStatus MFloatVectorArray::copy(const MFloatVectorArray& source) {
    data_ = source.data_;
    return MS::kSuccess;
}
MStatus MFloatVectorArray::clear() {
    data_.clear();
    return MS::kSuccess;
}
MStatus MFloatVectorArray::get(MFloatVector dest[]) const {
    return arrayops::getAll(data_, dest);
}
void MFloatVectorArray::setSizeIncrement(unsigned int newIncrement) {
    sizeIncrement_ = newIncrement;
}

std::ostream& operator<<(std::ostream& os, const MFloatVectorArray& array) {
    return arrayops::print(os, array);
}
