#include "command/commandArguments.h"

#include "host/mel.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <strings.h>

namespace host {

ArgItem ArgItem::flag(const std::string& name) {
    ArgItem item;
    item.kind = Kind::kFlag;
    item.text = name;
    return item;
}

ArgItem ArgItem::string(const std::string& text) {
    ArgItem item;
    item.kind = Kind::kString;
    item.text = text;
    return item;
}

namespace {
// The whole text is one number (surrounding blanks allowed).
bool parseNumber(const std::string& text, double& out) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    out = std::strtod(begin, &end);
    if (end == begin || errno == ERANGE)
        return false;
    while (*end == ' ' || *end == '\t')
        ++end;
    return *end == '\0';
}
} // namespace

bool ArgItem::toBool(bool& out) const {
    switch (kind) {
    case Kind::kBool:
        out = boolValue;
        return true;
    case Kind::kInt:
        out = intValue != 0;
        return true;
    case Kind::kDouble:
        out = doubleValue != 0.0;
        return true;
    case Kind::kString:
        for (const char* word : {"true", "on", "yes"})
            if (strcasecmp(text.c_str(), word) == 0)
                return out = true, true;
        for (const char* word : {"false", "off", "no"})
            if (strcasecmp(text.c_str(), word) == 0)
                return out = false, true;
        {
            double number;
            if (!parseNumber(text, number))
                return false;
            out = number != 0.0;
        }
        return true;
    case Kind::kFlag:
        return false;
    }
    return false;
}

bool ArgItem::toDouble(double& out) const {
    switch (kind) {
    case Kind::kBool:
        out = boolValue ? 1.0 : 0.0;
        return true;
    case Kind::kInt:
        out = intValue;
        return true;
    case Kind::kDouble:
        out = doubleValue;
        return true;
    case Kind::kString:
        return parseNumber(text, out);
    case Kind::kFlag:
        return false;
    }
    return false;
}

bool ArgItem::toInt(int& out) const {
    if (kind == Kind::kInt || kind == Kind::kBool) {
        out = kind == Kind::kInt ? intValue : (boolValue ? 1 : 0);
        return true;
    }
    double number;
    if (!toDouble(number) || !std::isfinite(number) || number != std::floor(number) ||
        number < INT_MIN || number > INT_MAX)
        return false;
    out = static_cast<int>(number);
    return true;
}

std::string ArgItem::toString() const {
    switch (kind) {
    case Kind::kFlag:
        return "-" + text;
    case Kind::kBool:
        return boolValue ? "1" : "0";
    case Kind::kInt:
        return std::to_string(intValue);
    case Kind::kDouble:
        return melFormatFloat(doubleValue);
    case Kind::kString:
        return text;
    }
    return text;
}

std::string bareFlagName(const char* name) {
    if (!name)
        return std::string();
    return name[0] == '-' ? std::string(name + 1) : std::string(name);
}

} // namespace host
