#pragma once
// Storage reservation for the devkit's array classes, which offer no reserve(): growing an
// array and shrinking it back keeps the storage, so later appends up to that size do not
// allocate. Builds use it to size their outputs once instead of growing them point by point.

template <typename Array> void reserveArray(Array& array, unsigned int capacity) {
    const unsigned int length = array.length();
    if (capacity > length) {
        array.setLength(capacity);
        array.setLength(length);
    }
}
