#include "geometry/componentList.h"

#include "scene/typedValues.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace host {

namespace {

bool parseIndex(const std::string& text, int& value) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    errno = 0;
    long number = std::strtol(text.c_str(), nullptr, 10);
    if (errno != 0 || number > INT_MAX)
        return false;
    value = static_cast<int>(number);
    return true;
}

} // namespace

MObject makeComponentListData(std::vector<ComponentRange> ranges) {
    auto data = std::make_shared<ComponentListData>();
    data->ranges = std::move(ranges);
    return MObject(data);
}

const std::vector<ComponentRange>* componentRangesIn(const MObject& data) {
    const ComponentListData* holder = dataAs<ComponentListData>(data);
    return holder ? &holder->ranges : nullptr;
}

MFn::Type componentTypeOf(const std::string& kind) {
    if (kind == "f")
        return MFn::kMeshPolygonComponent;
    if (kind == "vtx")
        return MFn::kMeshVertComponent;
    if (kind == "e")
        return MFn::kMeshEdgeComponent;
    return MFn::kInvalid;
}

std::string componentKindOf(MFn::Type type) {
    switch (type) {
    case MFn::kMeshPolygonComponent:
        return "f";
    case MFn::kMeshVertComponent:
        return "vtx";
    case MFn::kMeshEdgeComponent:
        return "e";
    default:
        return std::string();
    }
}

bool parseComponentRange(const std::string& text, ComponentRange& range, std::string& error) {
    const std::string expected =
        "expected a component such as \"f[3]\", \"f[0:75]\" or \"vtx[*]\" (kinds f, vtx, e)";
    size_t open = text.find('[');
    if (open == std::string::npos || open == 0 || text.back() != ']' ||
        text.find('[', open + 1) != std::string::npos) {
        error = "componentList: " + expected + ", got \"" + text + "\".";
        return false;
    }
    ComponentRange result;
    result.kind = text.substr(0, open);
    if (componentTypeOf(result.kind) == MFn::kInvalid) {
        error = "componentList: " + expected + ", got the kind '" + result.kind + "' in \"" + text +
                "\".";
        return false;
    }
    std::string inside = text.substr(open + 1, text.size() - open - 2);
    if (inside == "*") {
        result.all = true;
    } else {
        size_t colon = inside.find(':');
        std::string a = inside.substr(0, colon);
        std::string b = colon == std::string::npos ? a : inside.substr(colon + 1);
        if (!parseIndex(a, result.first) || !parseIndex(b, result.last)) {
            error = "componentList: " + expected + ", got \"" + text + "\".";
            return false;
        }
        if (result.last < result.first) {
            error = "componentList: expected a range from low to high, got \"" + text + "\".";
            return false;
        }
    }
    range = result;
    return true;
}

std::string formatComponentRange(const ComponentRange& range) {
    if (range.all)
        return range.kind + "[*]";
    if (range.first == range.last)
        return range.kind + "[" + std::to_string(range.first) + "]";
    return range.kind + "[" + std::to_string(range.first) + ":" + std::to_string(range.last) + "]";
}

void registerComponentListFormat() {
    TypedValueFormat format;
    format.typeName = "componentList";
    format.parse = [](const std::vector<std::string>& tokens, size_t& pos, MObject& data,
                      std::string& error) {
        size_t at = pos;
        int count = 0;
        if (at >= tokens.size() || !parseIndex(tokens[at], count)) {
            error = "componentList: expected the number of components, got " +
                    (at < tokens.size() ? "'" + tokens[at] + "'" : std::string("the end")) + ".";
            return false;
        }
        ++at;
        if (static_cast<size_t>(count) > tokens.size() - at) {
            error = "componentList: expected " + std::to_string(count) + " components, got " +
                    std::to_string(tokens.size() - at) + ".";
            return false;
        }
        std::vector<ComponentRange> ranges;
        for (int i = 0; i < count; ++i, ++at) {
            ComponentRange range;
            if (!parseComponentRange(tokens[at], range, error))
                return false;
            ranges.push_back(range);
        }
        data = makeComponentListData(std::move(ranges));
        pos = at;
        return true;
    };
    format.format = [](const MObject& data) {
        const std::vector<ComponentRange>* ranges = componentRangesIn(data);
        if (!ranges)
            return std::string();
        std::string text = std::to_string(ranges->size());
        for (const ComponentRange& range : *ranges)
            text += " \"" + formatComponentRange(range) + "\"";
        return text;
    };
    format.owns = [](const MObject& data) { return componentRangesIn(data) != nullptr; };
    registerTypedValueFormat(format);
}

} // namespace host
