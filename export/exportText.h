#pragma once
// Number text shared by the writers: std::to_chars, so the shortest text that reads back to
// the same value, with no locale and no allocation per number, appended to a textBuffer.
//
// A float is written as a float (shortest among floats: 0.1f is "0.1"), a double as a double;
// both may come out in exponent form ("1e-07"), which JSON, RIB and OBJ readers all accept.

#include "export/textBuffer.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

// As long as any to_chars text of a float (15), double (24) or 64-bit integer (20).
constexpr size_t longestNumberText = 24;

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

// Room reserved in a textBuffer for at most `numbers` numbers and `characters` other
// characters, written without a check per character and committed when it goes: the writers
// reserve for a whole array at once.
class reservedText {
  public:
    reservedText(textBuffer& out, size_t numbers, size_t characters)
        : out_(out), at_(out.tail(numbers * longestNumberText + characters)) {}
    ~reservedText() { out_.commit(at_); }
    reservedText(const reservedText&) = delete;
    reservedText& operator=(const reservedText&) = delete;

    void put(char c) { *at_++ = c; }
    void put(const char* text, size_t length) {
        std::memcpy(at_, text, length);
        at_ += length;
    }
    // A finite value, or an integer.
    template <typename Number> void number(Number value) {
        at_ = std::to_chars(at_, at_ + longestNumberText, value).ptr;
    }
    // Non-finite values as 0 (RIB, OBJ) or as null (JSON).
    void finiteFloat(float value) { number(std::isfinite(value) ? value : 0.0f); }
    template <typename Number> void jsonNumber(Number value) {
        if (std::isfinite(value))
            number(value);
        else
            put("null", 4);
    }

  private:
    textBuffer& out_;
    char* at_;
};

// The same as a string, for single values.
std::string finiteFloatText(float value);
