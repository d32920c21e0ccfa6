#include <maya/MString.h>

#include <maya/MStringArray.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ostream>

namespace {

// The fewest significant digits that read back as the same value; whole numbers below
// 10^maxDigits keep all their digits rather than switching to exponent form (100, not 1e+02).
template <typename T> std::string shortest(T value, int maxDigits) {
    char buf[64];
    int digits = 1;
    for (; digits < maxDigits; ++digits) {
        std::snprintf(buf, sizeof buf, "%.*g", digits, double(value));
        if (static_cast<T>(std::strtod(buf, nullptr)) == value)
            break;
    }
    if (std::isfinite(value) && value != T(0)) {
        const int exponent = int(std::floor(std::log10(std::fabs(double(value)))));
        if (exponent >= digits && exponent < maxDigits)
            digits = exponent + 1;
    }
    std::snprintf(buf, sizeof buf, "%.*g", digits, double(value));
    return buf;
}

std::string formatDouble(double value) {
    return shortest(value, 17);
}
std::string formatFloat(float value) {
    return shortest(value, 9);
}

// [+-]digits with nothing around them. allowMinus false rejects a minus sign.
bool integerSyntax(const std::string& s, bool allowMinus) {
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || (allowMinus && s[i] == '-')))
        ++i;
    if (i == s.size())
        return false;
    for (; i < s.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(s[i])))
            return false;
    return true;
}

// [+-] then digits[.digits] or .digits, then an optional exponent; nothing else.
bool decimalSyntax(const std::string& s) {
    size_t i = 0;
    auto digits = [&]() {
        const size_t start = i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
            ++i;
        return i - start;
    };
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    size_t mantissa = digits();
    if (i < s.size() && s[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        if (digits() == 0)
            return false;
    }
    return i == s.size();
}

bool parseLong(const std::string& s, long long lo, long long hi, long long& out) {
    if (!integerSyntax(s, true))
        return false;
    errno = 0;
    const long long v = std::strtoll(s.c_str(), nullptr, 10);
    if (errno == ERANGE || v < lo || v > hi)
        return false;
    out = v;
    return true;
}

bool parseUnsigned(const std::string& s, unsigned int& out) {
    if (!integerSyntax(s, false))
        return false;
    errno = 0;
    const unsigned long long v = std::strtoull(s.c_str(), nullptr, 10);
    if (errno == ERANGE || v > UINT_MAX)
        return false;
    out = static_cast<unsigned int>(v);
    return true;
}

bool parseDouble(const std::string& s, double& out) {
    if (!decimalSyntax(s))
        return false;
    errno = 0;
    const double v = std::strtod(s.c_str(), nullptr);
    if (std::isinf(v))
        return false;
    out = v;
    return true;
}

bool parseFloat(const std::string& s, float& out) {
    if (!decimalSyntax(s))
        return false;
    const float v = std::strtof(s.c_str(), nullptr);
    if (std::isinf(v))
        return false;
    out = v;
    return true;
}

} // namespace

MString& MString::operator+=(double value) {
    text_ += formatDouble(value);
    return *this;
}

MString& MString::operator+=(float value) {
    text_ += formatFloat(value);
    return *this;
}

MString& MString::operator+=(int value) {
    text_ += std::to_string(value);
    return *this;
}

MString& MString::operator+=(unsigned int value) {
    text_ += std::to_string(value);
    return *this;
}

MString& MString::set(double value) {
    text_ = formatDouble(value);
    return *this;
}

MString& MString::set(double value, int precision) {
    char buf[512];
    const int p = precision < 0 ? 0 : (precision > 100 ? 100 : precision);
    // Values too large for the buffer fall back to the shortest form.
    const int n = std::snprintf(buf, sizeof buf, "%.*f", p, value);
    text_ = (n > 0 && n < int(sizeof buf)) ? std::string(buf) : formatDouble(value);
    return *this;
}

int MString::index(char c) const {
    const size_t pos = text_.find(c);
    return pos == std::string::npos ? -1 : int(pos);
}

int MString::rindex(char c) const {
    const size_t pos = text_.rfind(c);
    return pos == std::string::npos ? -1 : int(pos);
}

int MString::indexW(const MString& text) const {
    const size_t pos = text_.find(text.text_);
    return pos == std::string::npos ? -1 : int(pos);
}

MString MString::substring(int start, int end) const {
    // Both ends inclusive, clamped to the text.
    const int len = int(text_.size());
    if (start < 0)
        start = 0;
    if (end >= len)
        end = len - 1;
    if (start > end)
        return MString();
    return MString(text_.substr(size_t(start), size_t(end - start + 1)));
}

MString MString::toLowerCase() const {
    std::string s = text_;
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return MString(s);
}

MString MString::toUpperCase() const {
    std::string s = text_;
    for (char& c : s)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return MString(s);
}

MStatus MString::split(char delimiter, MStringArray& output) const {
    output.clear();
    size_t start = 0;
    while (start <= text_.size()) {
        size_t end = text_.find(delimiter, start);
        if (end == std::string::npos)
            end = text_.size();
        if (end > start)
            output.append(MString(text_.substr(start, end - start)));
        start = end + 1;
    }
    return MS::kSuccess;
}

bool MString::isShort() const {
    long long v;
    return parseLong(text_, SHRT_MIN, SHRT_MAX, v);
}

bool MString::isInt() const {
    long long v;
    return parseLong(text_, INT_MIN, INT_MAX, v);
}

bool MString::isUnsigned() const {
    unsigned int v;
    return parseUnsigned(text_, v);
}

bool MString::isFloat() const {
    float v;
    return parseFloat(text_, v);
}

bool MString::isDouble() const {
    double v;
    return parseDouble(text_, v);
}

short MString::asShort() const {
    long long v = 0;
    return parseLong(text_, SHRT_MIN, SHRT_MAX, v) ? short(v) : short(0);
}

int MString::asInt() const {
    long long v = 0;
    return parseLong(text_, INT_MIN, INT_MAX, v) ? int(v) : 0;
}

unsigned int MString::asUnsigned() const {
    unsigned int v = 0;
    return parseUnsigned(text_, v) ? v : 0u;
}

float MString::asFloat() const {
    float v = 0.0f;
    return parseFloat(text_, v) ? v : 0.0f;
}

double MString::asDouble() const {
    double v = 0.0;
    return parseDouble(text_, v) ? v : 0.0;
}

MString operator+(const MString& a, const MString& b) {
    MString r(a);
    return r += b;
}

MString operator+(const MString& a, const char* b) {
    MString r(a);
    return r += b;
}

MString operator+(const char* a, const MString& b) {
    MString r(a);
    return r += b;
}

MString operator+(const MString& a, double b) {
    MString r(a);
    return r += b;
}

MString operator+(const MString& a, int b) {
    MString r(a);
    return r += b;
}

MString operator+(const MString& a, unsigned int b) {
    MString r(a);
    return r += b;
}

std::ostream& operator<<(std::ostream& os, const MString& text) {
    return os << text.str();
}
