#include "scene/valueText.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace host {

bool parseBoolText(const std::string& text, bool& value) {
    if (text == "yes" || text == "on" || text == "true" || text == "1") {
        value = true;
        return true;
    }
    if (text == "no" || text == "off" || text == "false" || text == "0") {
        value = false;
        return true;
    }
    return false;
}

bool parseNumberText(const std::string& text, double& value) {
    if (text.empty())
        return false;
    const char first = text[0];
    if ((first >= '0' && first <= '9') || first == '-' || first == '+' || first == '.') {
        char* end = nullptr;
        errno = 0;
        double number = std::strtod(text.c_str(), &end);
        if (*end != '\0' || end == text.c_str() || !std::isfinite(number))
            return false;
        value = number;
        return true;
    }
    bool flag = false;
    if (!parseBoolText(text, flag))
        return false;
    value = flag ? 1.0 : 0.0;
    return true;
}

bool parseIntText(const std::string& text, int& value) {
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    long long number = std::strtoll(text.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || number < INT_MIN || number > INT_MAX)
        return false;
    value = static_cast<int>(number);
    return true;
}

std::string formatDouble(double value) {
    if (value == 0.0)
        return "0";
    char text[40];
    for (int precision = 15; precision <= 17; ++precision) {
        std::snprintf(text, sizeof text, "%.*g", precision, value);
        if (std::strtod(text, nullptr) == value)
            break;
    }
    return text;
}

std::string formatFloat(float value) {
    if (value == 0.0f)
        return "0";
    char text[32];
    for (int precision = 6; precision <= 9; ++precision) {
        std::snprintf(text, sizeof text, "%.*g", precision, static_cast<double>(value));
        if (std::strtof(text, nullptr) == value)
            break;
    }
    return text;
}

std::string quoteText(const std::string& text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '"';
    for (char c : text) {
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\t':
            quoted += "\\t";
            break;
        case '\r':
            quoted += "\\r";
            break;
        default:
            quoted += c;
        }
    }
    quoted += '"';
    return quoted;
}

} // namespace host
