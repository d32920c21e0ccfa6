#include <maya/MStringArray.h>

#include "math/ArrayOps.h"

#include <ostream>

MStringArray::MStringArray(const MString src[], unsigned int count) : data_(src, src + count) {}
MStringArray::MStringArray(unsigned int initialSize, const MString& initialValue)
    : data_(initialSize, initialValue) {}

MStatus MStringArray::setLength(unsigned int length) {
    return arrayops::setLength(data_, length, MString());
}
MStatus MStringArray::set(const MString& element, unsigned int index) {
    return arrayops::set(data_, element, index);
}
MStatus MStringArray::insert(const MString& element, unsigned int index) {
    return arrayops::insert(data_, element, index);
}
MStatus MStringArray::remove(unsigned int index) {
    return arrayops::remove(data_, index);
}
MStatus MStringArray::append(const MString& element) {
    return arrayops::append(data_, element);
}
MStatus MStringArray::copy(const MStringArray& source) {
    data_ = source.data_;
    return MS::kSuccess;
}
MStatus MStringArray::clear() {
    data_.clear();
    return MS::kSuccess;
}
MStatus MStringArray::get(MString dest[]) const {
    return arrayops::getAll(data_, dest);
}
void MStringArray::setSizeIncrement(unsigned int newIncrement) {
    sizeIncrement_ = newIncrement;
}

std::ostream& operator<<(std::ostream& os, const MStringArray& array) {
    return arrayops::print(os, array);
}
