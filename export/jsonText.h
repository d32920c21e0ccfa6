#pragma once
// JSON values appended to a textBuffer: numbers by exportText.h, with NaN and infinities as
// null, and strings quoted and escaped.

#include "export/exportText.h"

#include <string>

inline void appendJsonFloat(textBuffer& out, float value) {
    if (std::isfinite(value))
        appendNumber(out, value);
    else
        out.append("null", 4);
}
inline void appendJsonDouble(textBuffer& out, double value) {
    if (std::isfinite(value))
        appendNumber(out, value);
    else
        out.append("null", 4);
}
// Quote, backslash and control characters escaped (\n, \t, ... or \u00XX); bytes above 127
// pass through unchanged, so UTF-8 stays UTF-8.
void appendJsonString(textBuffer& out, const char* text, size_t length);
void appendJsonString(textBuffer& out, const std::string& text);
