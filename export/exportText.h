#pragma once
// Number text shared by the writers: std::to_chars, so the shortest text that reads back to
// the same value, with no locale and no allocation per number, appended to a textBuffer.
//
// A float is written as a float (shortest among floats: 0.1f is "0.1"), a double as a double;
// both may come out in exponent form ("1e-07"), which JSON, RIB and OBJ readers all accept.

#include "export/textBuffer.h"

#include <charconv>
#include <cmath>
#include <string>

// Longer than any to_chars text of a float (15), double (24) or 64-bit integer (20).
constexpr size_t longestNumberText = 32;

// Inline: the writers append hundreds of millions of numbers.
template <typename Number> inline void appendChars(textBuffer& out, Number value) {
    char* at = out.tail(longestNumberText);
    out.commit(std::to_chars(at, at + longestNumberText, value).ptr);
}

// Finite values only: no format here has a spelling for NaN or infinity that every reader takes.
inline void appendNumber(textBuffer& out, float value) {
    appendChars(out, value);
}
inline void appendNumber(textBuffer& out, double value) {
    appendChars(out, value);
}
inline void appendInteger(textBuffer& out, long long value) {
    appendChars(out, value);
}

// A float with non-finite values written as 0: neither RIB nor OBJ has a word for NaN or
// infinity, and a renderer or importer that meets one fails the whole file.
inline void appendFiniteFloat(textBuffer& out, float value) {
    appendChars(out, std::isfinite(value) ? value : 0.0f);
}

// The same as a string, for single values.
std::string finiteFloatText(float value);
