#pragma once
// The shared behaviour of the devkit's array classes over their std::vector storage.

#include <maya/MStatus.h>

#include <ostream>
#include <vector>

namespace arrayops {

// Deduce the element type from the vector only, so literals like 0 convert.
template <typename T> using Elem = typename std::vector<T>::value_type;

template <typename T>
MStatus setLength(std::vector<T>& data, unsigned int length, const Elem<T>& fill) {
    data.resize(length, fill);
    return MS::kSuccess;
}

template <typename T> MStatus set(std::vector<T>& data, const Elem<T>& value, unsigned int index) {
    if (index >= data.size())
        return MS::kFailure;
    data[index] = value;
    return MS::kSuccess;
}

template <typename T>
MStatus insert(std::vector<T>& data, const Elem<T>& value, unsigned int index) {
    if (index > data.size())
        return MS::kFailure;
    data.insert(data.begin() + index, value);
    return MS::kSuccess;
}

template <typename T> MStatus remove(std::vector<T>& data, unsigned int index) {
    if (index >= data.size())
        return MS::kFailure;
    data.erase(data.begin() + index);
    return MS::kSuccess;
}

template <typename T> MStatus append(std::vector<T>& data, const Elem<T>& value) {
    data.push_back(value);
    return MS::kSuccess;
}

template <typename T, typename D> MStatus getAll(const std::vector<T>& data, D* dest) {
    if (!dest && !data.empty())
        return MS::kInvalidParameter;
    for (size_t i = 0; i < data.size(); ++i)
        dest[i] = static_cast<D>(data[i]);
    return MS::kSuccess;
}

// Element i's first N components into dest[i].
template <unsigned int N, typename T, typename D>
MStatus getRows(const std::vector<T>& data, D (*dest)[N]) {
    if (!dest && !data.empty())
        return MS::kInvalidParameter;
    for (size_t i = 0; i < data.size(); ++i)
        for (unsigned int c = 0; c < N; ++c)
            dest[i][c] = static_cast<D>(data[i][c]);
    return MS::kSuccess;
}

template <typename A> std::ostream& print(std::ostream& os, const A& array) {
    os << '[';
    for (unsigned int i = 0; i < array.length(); ++i)
        os << (i ? ", " : "") << array[i];
    return os << ']';
}

} // namespace arrayops
