#pragma once
// Text of the API. Holds UTF-8 bytes; comparisons are byte-wise.

#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <iosfwd>
#include <string>

class MStringArray;

class OPENMAYA_EXPORT MString {
  public:
    MString() = default;
    MString(const char* text) : text_(text ? text : "") {}
    MString(const char* text, int length) : text_(text ? std::string(text, length) : "") {}
    MString(const std::string& text) : text_(text) {}
    MString(const MString&) = default;
    MString& operator=(const MString&) = default;
    MString& operator=(const char* text) {
        text_ = text ? text : "";
        return *this;
    }

    MString& operator+=(const MString& other) {
        text_ += other.text_;
        return *this;
    }
    MString& operator+=(const char* other) {
        text_ += other ? other : "";
        return *this;
    }
    // Numbers append in %g style with the fewest significant digits that read back as the same
    // value (0.1, 2.5e+20, 3); floats round-trip as floats.
    MString& operator+=(double value);
    MString& operator+=(int value);
    MString& operator+=(unsigned int value);
    MString& operator+=(float value);

    bool operator==(const MString& other) const { return text_ == other.text_; }
    bool operator==(const char* other) const { return text_ == (other ? other : ""); }
    bool operator!=(const MString& other) const { return text_ != other.text_; }
    bool operator!=(const char* other) const { return !(*this == other); }
    bool operator<(const MString& other) const { return text_ < other.text_; }

    const char* asChar() const { return text_.c_str(); }
    const char* asUTF8() const { return text_.c_str(); }
    unsigned int length() const { return static_cast<unsigned int>(text_.size()); }
    unsigned int numChars() const { return length(); }
    void clear() { text_.clear(); }
    MString& set(const char* text) { return *this = text; }
    MString& set(double value);
    // Fixed notation with precision decimals.
    MString& set(double value, int precision);

    // Positions are byte offsets; -1 when not found.
    int index(char c) const;
    int rindex(char c) const;
    int indexW(const MString& text) const;
    // Characters start..end, both inclusive, clamped to the text.
    MString substring(int start, int end) const;
    MString substringW(int start, int end) const { return substring(start, end); }
    MString toLowerCase() const;
    MString toUpperCase() const;

    // Splits at every occurrence of the delimiter; empty pieces are dropped.
    MStatus split(char delimiter, MStringArray& output) const;

    // True when the whole text is a number that fits the type: no surrounding whitespace or
    // trailing characters; integers are decimal with an optional sign (no minus for unsigned),
    // reals are plain decimal or exponent notation (no inf, nan or hex) whose magnitude does
    // not overflow the type (underflow to 0 or a denormal is accepted). as*() give 0 for text
    // their is*() rejects.
    bool isShort() const;
    bool isInt() const;
    bool isUnsigned() const;
    bool isFloat() const;
    bool isDouble() const;
    short asShort() const;
    int asInt() const;
    unsigned int asUnsigned() const;
    float asFloat() const;
    double asDouble() const;

    // Host convenience, not part of the devkit's interface.
    const std::string& str() const { return text_; }

  private:
    std::string text_;
};

OPENMAYA_EXPORT MString operator+(const MString& a, const MString& b);
OPENMAYA_EXPORT MString operator+(const MString& a, const char* b);
OPENMAYA_EXPORT MString operator+(const char* a, const MString& b);
OPENMAYA_EXPORT MString operator+(const MString& a, double b);
OPENMAYA_EXPORT MString operator+(const MString& a, int b);
OPENMAYA_EXPORT MString operator+(const MString& a, unsigned int b);
OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MString& text);
