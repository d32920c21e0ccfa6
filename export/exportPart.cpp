#include "export/exportPart.h"

#include <charconv>

slotRange partSlots(size_t slots, const exportPart& part) {
    if (part.count <= 1)
        return {0, slots}; // the whole export, or its one part
    if (part.index >= part.count)
        return {slots, slots};
    // Both products stay below 2^64 for any slot count a build can reach (2^26 grid cells).
    const unsigned long long total = slots;
    return {static_cast<size_t>(total * part.index / part.count),
            static_cast<size_t>(total * (part.index + 1) / part.count)};
}

std::string partLabel(const exportPart& part) {
    if (part.whole())
        return "";
    return ", part " + std::to_string(part.index) + " of " + std::to_string(part.count);
}

namespace {

bool wholeNumber(const char* first, const char* last, unsigned int& value) {
    if (first == last || *first < '0' || *first > '9')
        return false;
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last;
}

} // namespace

bool parseExportPart(const std::string& text, exportPart& part) {
    const size_t slash = text.find('/');
    if (slash == std::string::npos)
        return false;
    unsigned int index = 0, count = 0;
    const char* start = text.data();
    if (!wholeNumber(start, start + slash, index) ||
        !wholeNumber(start + slash + 1, start + text.size(), count))
        return false;
    if (count < 1 || count > maxExportParts || index >= count)
        return false;
    part.index = index;
    part.count = count;
    return true;
}
