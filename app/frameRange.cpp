#include "frameRange.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace quillo {

namespace {

bool number(const std::string& text, double& value) {
    if (text.empty() || text.find_first_of(" \t") != std::string::npos)
        return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return *end == '\0' && std::isfinite(value) && std::fabs(value) < 1e9;
}

// The frame's text: the sign, the whole part padded to `width` (the sign counting), then any
// fraction as written by the shortest round-trip text.
std::string frameText(double frame, size_t width) {
    const double whole = std::trunc(frame);
    std::string digits = std::to_string(static_cast<long long>(std::fabs(whole)));
    const bool negative = frame < 0.0;
    const size_t pad =
        width > digits.size() + (negative ? 1 : 0) ? width - digits.size() - (negative ? 1 : 0) : 0;
    std::string text = (negative ? "-" : "") + std::string(pad, '0') + digits;
    const double fraction = std::fabs(frame - whole);
    if (fraction > 0.0) {
        std::ostringstream out;
        out.precision(6);
        out << fraction; // "0.5"
        std::string rest = out.str();
        if (rest.rfind("0.", 0) == 0)
            text += rest.substr(1);
    }
    return text;
}

} // namespace

bool parseFrame(const std::string& text, double& frame, std::string& error) {
    if (!number(text, frame)) {
        error = "a frame is a number, not '" + text + "'";
        return false;
    }
    return true;
}

bool parseFrameRange(const std::string& text, std::vector<double>& frames, std::string& error) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t colon; (colon = text.find(':', start)) != std::string::npos; start = colon + 1)
        parts.push_back(text.substr(start, colon - start));
    parts.push_back(text.substr(start));
    double first = 0.0, last = 0.0, step = 1.0;
    if ((parts.size() != 2 && parts.size() != 3) || !number(parts[0], first) ||
        !number(parts[1], last) || (parts.size() == 3 && !number(parts[2], step))) {
        error = "frames are FIRST:LAST or FIRST:LAST:STEP in numbers, not '" + text + "'";
        return false;
    }
    if (last < first) {
        error = "the last frame comes before the first in '" + text + "'";
        return false;
    }
    if (!(step > 0.0)) {
        error = "the step must be above 0 in '" + text + "'";
        return false;
    }
    if ((last - first) / step >= static_cast<double>(kMostFrames)) {
        error = "'" + text + "' holds more than " + std::to_string(kMostFrames) + " frames";
        return false;
    }
    frames.clear();
    // Each frame from the first by whole steps, so no rounding builds up along the range.
    for (size_t k = 0;; ++k) {
        const double frame = first + static_cast<double>(k) * step;
        if (frame > last + 1e-9 * std::fmax(1.0, std::fabs(last)))
            break;
        frames.push_back(frame);
    }
    return true;
}

bool hasFramePlaceholder(const std::string& pattern) {
    const size_t slash = pattern.rfind('/');
    return pattern.find('#', slash == std::string::npos ? 0 : slash + 1) != std::string::npos;
}

std::string frameFileName(const std::string& pattern, double frame) {
    if (!hasFramePlaceholder(pattern))
        return pattern;
    const size_t end = pattern.rfind('#') + 1;
    size_t begin = end - 1;
    while (begin > 0 && pattern[begin - 1] == '#')
        --begin;
    return pattern.substr(0, begin) + frameText(frame, end - begin) + pattern.substr(end);
}

} // namespace quillo
