#include "export/exportText.h"

#include <charconv>
#include <cmath>

namespace {

// Longer than any to_chars text of a float (15), double (24) or 64-bit integer (20).
constexpr size_t longestNumber = 32;

template <typename Number> void appendChars(textBuffer& out, Number value) {
    char* at = out.tail(longestNumber);
    out.commit(std::to_chars(at, at + longestNumber, value).ptr);
}

} // namespace

void appendNumber(textBuffer& out, float value) {
    appendChars(out, value);
}

void appendNumber(textBuffer& out, double value) {
    appendChars(out, value);
}

void appendInteger(textBuffer& out, long long value) {
    appendChars(out, value);
}

void appendFiniteFloat(textBuffer& out, float value) {
    appendChars(out, std::isfinite(value) ? value : 0.0f);
}

std::string finiteFloatText(float value) {
    textBuffer text;
    appendFiniteFloat(text, value);
    return text.str();
}
