#include "geometry/meshPolyComponentData.h"

#include "scene/typedValues.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace host {

namespace {

bool parseInt(const std::string& token, long& value) {
    errno = 0;
    char* end = nullptr;
    value = std::strtol(token.c_str(), &end, 10);
    return !token.empty() && errno == 0 && *end == '\0' && value >= INT_MIN && value <= INT_MAX;
}

bool parseDouble(const std::string& token, double& value) {
    errno = 0;
    char* end = nullptr;
    value = std::strtod(token.c_str(), &end);
    return !token.empty() && errno == 0 && *end == '\0' && std::isfinite(value);
}

} // namespace

void registerPolyComponentFormat() {
    TypedValueFormat format;
    format.typeName = "dataPolyComponent";
    format.parse = [](const std::vector<std::string>& tokens, size_t& pos, MObject& data,
                      std::string& error) {
        size_t at = pos;
        auto fail = [&](const std::string& expected) {
            error = "dataPolyComponent: expected " + expected + ", got " +
                    (at < tokens.size() ? "'" + tokens[at] + "'" : std::string("the end")) + ".";
            return false;
        };
        if (at >= tokens.size() || tokens[at] != "Index_Data")
            return fail("Index_Data");
        ++at;
        if (at >= tokens.size())
            return fail("a component kind (Edge, Vertex, Face)");
        auto value = std::make_shared<PolyComponentData>();
        value->kind = tokens[at++];
        long count = 0;
        if (at >= tokens.size() || !parseInt(tokens[at], count) || count < 0)
            return fail("a count of 0 or more");
        ++at;
        for (long i = 0; i < count; ++i) {
            long index = 0;
            double number = 0.0;
            if (at >= tokens.size() || !parseInt(tokens[at], index) || index < 0)
                return fail("a component index");
            ++at;
            if (at >= tokens.size() || !parseDouble(tokens[at], number))
                return fail("a value");
            ++at;
            value->values.emplace_back(static_cast<int>(index), number);
        }
        data = MObject(value);
        pos = at;
        return true;
    };
    format.format = [](const MObject& data) {
        const PolyComponentData* value = dataAs<PolyComponentData>(data);
        if (!value)
            return std::string();
        std::ostringstream text;
        text.precision(17);
        text << "Index_Data " << value->kind << " " << value->values.size();
        for (const auto& [index, number] : value->values)
            text << " " << index << " " << number;
        return text.str();
    };
    format.owns = [](const MObject& data) { return dataAs<PolyComponentData>(data) != nullptr; };
    registerTypedValueFormat(format);
}

} // namespace host
