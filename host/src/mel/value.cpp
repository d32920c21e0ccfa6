#include "host/mel.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <strings.h>

namespace host {

namespace {

// MEL ints are 32 bits; out-of-range and NaN floats must not reach a C++ conversion.
int truncateToInt(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return std::numeric_limits<int>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

// The number a string starts with, after leading blanks; 0 if it starts with none.
double leadingNumber(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    double value = std::strtod(begin, &end);
    // strtod also reads "inf", "nan" and hex; MEL reads none of these from text.
    const char* p = begin;
    while (std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    if (*p == '+' || *p == '-')
        ++p;
    if (!(std::isdigit(static_cast<unsigned char>(*p)) || *p == '.'))
        return 0.0;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X'))
        return 0.0;
    return end == begin ? 0.0 : value;
}

bool isTrueWord(const std::string& text) {
    return strcasecmp(text.c_str(), "true") == 0 || strcasecmp(text.c_str(), "on") == 0 ||
           strcasecmp(text.c_str(), "yes") == 0;
}

} // namespace

std::string melFormatFloat(double value) {
    if (value == 0.0)
        return "0";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.10g", value);
    return buffer;
}

int MelValue::asInt() const {
    switch (type()) {
    case Type::kNone:
        return 0;
    case Type::kInt:
        return std::get<int>(value_);
    case Type::kFloat:
        return truncateToInt(std::get<double>(value_));
    case Type::kString:
        return truncateToInt(leadingNumber(std::get<std::string>(value_)));
    case Type::kIntArray: {
        const auto& a = std::get<std::vector<int>>(value_);
        return a.empty() ? 0 : a.front();
    }
    case Type::kFloatArray: {
        const auto& a = std::get<std::vector<double>>(value_);
        return a.empty() ? 0 : truncateToInt(a.front());
    }
    case Type::kStringArray: {
        const auto& a = std::get<std::vector<std::string>>(value_);
        return a.empty() ? 0 : truncateToInt(leadingNumber(a.front()));
    }
    }
    return 0;
}

double MelValue::asFloat() const {
    switch (type()) {
    case Type::kNone:
        return 0.0;
    case Type::kInt:
        return std::get<int>(value_);
    case Type::kFloat:
        return std::get<double>(value_);
    case Type::kString:
        return leadingNumber(std::get<std::string>(value_));
    case Type::kIntArray: {
        const auto& a = std::get<std::vector<int>>(value_);
        return a.empty() ? 0.0 : a.front();
    }
    case Type::kFloatArray: {
        const auto& a = std::get<std::vector<double>>(value_);
        return a.empty() ? 0.0 : a.front();
    }
    case Type::kStringArray: {
        const auto& a = std::get<std::vector<std::string>>(value_);
        return a.empty() ? 0.0 : leadingNumber(a.front());
    }
    }
    return 0.0;
}

std::string MelValue::asString() const {
    switch (type()) {
    case Type::kNone:
        return "";
    case Type::kInt:
        return std::to_string(std::get<int>(value_));
    case Type::kFloat:
        return melFormatFloat(std::get<double>(value_));
    case Type::kString:
        return std::get<std::string>(value_);
    default: {
        std::string joined;
        for (const std::string& s : asStringArray()) {
            if (!joined.empty())
                joined += ' ';
            joined += s;
        }
        return joined;
    }
    }
}

bool MelValue::asBool() const {
    if (type() == Type::kString) {
        const std::string& s = std::get<std::string>(value_);
        return isTrueWord(s) || leadingNumber(s) != 0.0;
    }
    return asFloat() != 0.0;
}

std::vector<int> MelValue::asIntArray() const {
    switch (type()) {
    case Type::kNone:
        return {};
    case Type::kIntArray:
        return std::get<std::vector<int>>(value_);
    case Type::kFloatArray: {
        std::vector<int> result;
        for (double f : std::get<std::vector<double>>(value_))
            result.push_back(truncateToInt(f));
        return result;
    }
    case Type::kStringArray: {
        std::vector<int> result;
        for (const std::string& s : std::get<std::vector<std::string>>(value_))
            result.push_back(truncateToInt(leadingNumber(s)));
        return result;
    }
    default:
        return {asInt()};
    }
}

std::vector<double> MelValue::asFloatArray() const {
    switch (type()) {
    case Type::kNone:
        return {};
    case Type::kIntArray: {
        const auto& a = std::get<std::vector<int>>(value_);
        return std::vector<double>(a.begin(), a.end());
    }
    case Type::kFloatArray:
        return std::get<std::vector<double>>(value_);
    case Type::kStringArray: {
        std::vector<double> result;
        for (const std::string& s : std::get<std::vector<std::string>>(value_))
            result.push_back(leadingNumber(s));
        return result;
    }
    default:
        return {asFloat()};
    }
}

std::vector<std::string> MelValue::asStringArray() const {
    switch (type()) {
    case Type::kNone:
        return {};
    case Type::kIntArray: {
        std::vector<std::string> result;
        for (int i : std::get<std::vector<int>>(value_))
            result.push_back(std::to_string(i));
        return result;
    }
    case Type::kFloatArray: {
        std::vector<std::string> result;
        for (double f : std::get<std::vector<double>>(value_))
            result.push_back(melFormatFloat(f));
        return result;
    }
    case Type::kStringArray:
        return std::get<std::vector<std::string>>(value_);
    default:
        return {asString()};
    }
}

std::size_t MelValue::size() const {
    switch (type()) {
    case Type::kNone:
        return 0;
    case Type::kIntArray:
        return std::get<std::vector<int>>(value_).size();
    case Type::kFloatArray:
        return std::get<std::vector<double>>(value_).size();
    case Type::kStringArray:
        return std::get<std::vector<std::string>>(value_).size();
    default:
        return 1;
    }
}

} // namespace host
