#include "geometry/componentList.h"

#include "scene/typedValues.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace host {

namespace {

struct ComponentKind {
    const char* name;
    size_t indices;
    MFn::Type type;
};

constexpr ComponentKind kKinds[] = {
    {"f", 1, MFn::kMeshPolygonComponent}, {"vtx", 1, MFn::kMeshVertComponent},
    {"e", 1, MFn::kMeshEdgeComponent},    {"map", 1, MFn::kMeshMapComponent},
    {"cv", 1, MFn::kCurveCVComponent},    {"ep", 1, MFn::kCurveEPComponent},
    {"cv", 2, MFn::kSurfaceCVComponent},  {"vtxFace", 2, MFn::kMeshVtxFaceComponent},
    {"pt", 3, MFn::kLatticeComponent},
};

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

bool parseSpan(const std::string& inside, IndexSpan& span) {
    if (inside == "*") {
        span.all = true;
        return true;
    }
    size_t colon = inside.find(':');
    std::string a = inside.substr(0, colon);
    std::string b = colon == std::string::npos ? a : inside.substr(colon + 1);
    return parseIndex(a, span.first) && parseIndex(b, span.last);
}

std::string formatSpan(const IndexSpan& span) {
    if (span.all)
        return "[*]";
    if (span.first == span.last)
        return "[" + std::to_string(span.first) + "]";
    return "[" + std::to_string(span.first) + ":" + std::to_string(span.last) + "]";
}

using Box = std::array<IndexSpan, 3>;

bool sameSpan(const IndexSpan& a, const IndexSpan& b) {
    return a.all == b.all && (a.all || (a.first == b.first && a.last == b.last));
}

// Orders boxes by every direction but `along`, then by `along`.
bool boxBefore(const Box& a, const Box& b, int dimensions, int along) {
    auto key = [](const IndexSpan& s) { return std::make_tuple(!s.all, s.first, s.last); };
    for (int d = 0; d < dimensions; ++d)
        if (d != along && !sameSpan(a[d], b[d]))
            return key(a[d]) < key(b[d]);
    return key(a[along]) < key(b[along]);
}

// Joins boxes that touch along one direction and match in all the others.
void joinAlong(std::vector<Box>& boxes, int dimensions, int along) {
    std::sort(boxes.begin(), boxes.end(),
              [&](const Box& a, const Box& b) { return boxBefore(a, b, dimensions, along); });
    std::vector<Box> joined;
    for (const Box& box : boxes) {
        if (!joined.empty()) {
            Box& last = joined.back();
            bool others = true;
            for (int d = 0; d < dimensions; ++d)
                others = others && (d == along || sameSpan(last[d], box[d]));
            if (others && !last[along].all && !box[along].all &&
                static_cast<long long>(last[along].last) + 1 >= box[along].first) {
                last[along].last = std::max(last[along].last, box[along].last);
                continue;
            }
        }
        joined.push_back(box);
    }
    boxes = std::move(joined);
}

// Adds every element of a box to a component; `counts` bound the "*" directions (kShapeCount
// where unknown: the index stays kShapeCount).
void addBox(Component& component, const Box& box, int dimensions, const ComponentIndex& counts) {
    std::array<int, 3> first{0, 0, 0}, last{0, 0, 0};
    for (int d = 0; d < dimensions; ++d) {
        const IndexSpan& span = box[d];
        if (span.all) {
            first[d] = counts[d] == kShapeCount ? kShapeCount : 0;
            last[d] = counts[d] == kShapeCount ? kShapeCount : counts[d] - 1;
        } else {
            first[d] = span.first;
            // Elements past the shape's count do not exist.
            last[d] = counts[d] == kShapeCount ? span.last : std::min(span.last, counts[d] - 1);
        }
        if (last[d] < first[d])
            return;
    }
    ComponentIndex at{first[0], first[1], first[2]};
    while (true) {
        component.add(at);
        int d = dimensions - 1;
        for (; d >= 0; --d) {
            if (at[d] < last[d]) {
                ++at[d];
                break;
            }
            at[d] = first[d];
        }
        if (d < 0)
            return;
    }
}

} // namespace

MObject makeComponentListData(std::vector<ComponentRange> ranges) {
    auto data = std::make_shared<ComponentListData>();
    data->ranges = std::move(ranges);
    return MObject(data);
}

ComponentListData* componentListIn(const MObject& data) {
    return dataAs<ComponentListData>(data);
}

const std::vector<ComponentRange>* componentRangesIn(const MObject& data) {
    const ComponentListData* holder = componentListIn(data);
    return holder ? &holder->ranges : nullptr;
}

MFn::Type componentTypeOf(const std::string& kind, size_t indices) {
    for (const ComponentKind& known : kKinds)
        if (kind == known.name && indices == known.indices)
            return known.type;
    return MFn::kInvalid;
}

MFn::Type componentTypeOf(const ComponentRange& range) {
    return componentTypeOf(range.kind, range.spans.size());
}

std::string componentKindOf(MFn::Type type) {
    for (const ComponentKind& known : kKinds)
        if (known.type == type)
            return known.name;
    return std::string();
}

bool parseComponentRange(const std::string& text, ComponentRange& range, std::string& error) {
    auto fail = [&](const std::string& what) {
        error = "componentList: " + what + ", got \"" + text + "\"";
        return false;
    };
    const std::string expected =
        "expected a component such as \"f[3]\", \"vtx[*]\", \"cv[0:3][*]\" or \"pt[0][1:2][*]\" "
        "(kinds f, vtx, e, map, cv, ep, vtxFace, pt)";
    size_t open = text.find('[');
    if (open == std::string::npos || open == 0)
        return fail(expected);
    ComponentRange result;
    result.kind = text.substr(0, open);
    for (char c : result.kind)
        if (!std::isalpha(static_cast<unsigned char>(c)))
            return fail(expected);
    size_t at = open;
    while (at < text.size()) {
        size_t close = text.find(']', at);
        if (text[at] != '[' || close == std::string::npos || result.spans.size() == 3)
            return fail(expected);
        IndexSpan span;
        if (!parseSpan(text.substr(at + 1, close - at - 1), span))
            return fail(expected);
        if (span.last < span.first)
            return fail("expected a range from low to high");
        result.spans.push_back(span);
        at = close + 1;
    }
    if (componentTypeOf(result) == MFn::kInvalid) {
        bool knownKind = false;
        for (const ComponentKind& known : kKinds)
            knownKind = knownKind || result.kind == known.name;
        if (!knownKind) {
            error = "componentList: " + expected + ", got the kind '" + result.kind + "' in \"" +
                    text + "\"";
            return false;
        }
        return fail(expected);
    }
    range = result;
    return true;
}

std::string formatComponentRange(const ComponentRange& range) {
    std::string text = range.kind;
    for (const IndexSpan& span : range.spans)
        text += formatSpan(span);
    return text;
}

std::vector<MFn::Type> componentTypesIn(const std::vector<ComponentRange>& ranges) {
    std::vector<MFn::Type> types;
    for (const ComponentRange& range : ranges) {
        MFn::Type type = componentTypeOf(range);
        if (type != MFn::kInvalid && std::find(types.begin(), types.end(), type) == types.end())
            types.push_back(type);
    }
    return types;
}

MObject componentOfRanges(const std::vector<ComponentRange>& ranges, MFn::Type type,
                          const ComponentIndex* shapeCounts) {
    MObject object = makeComponent(type, {});
    Component& component = *componentIn(object);
    const int dimensions = component.dimensions();
    const ComponentIndex counts =
        shapeCounts ? *shapeCounts : ComponentIndex{kShapeCount, kShapeCount, kShapeCount};
    for (const ComponentRange& range : ranges) {
        if (componentTypeOf(range) != type)
            continue;
        Box box;
        bool everything = true;
        for (int d = 0; d < dimensions; ++d) {
            box[d] = range.spans[static_cast<size_t>(d)];
            everything = everything && box[d].all;
        }
        if (everything) {
            component.complete = true;
            component.completeCounts = counts;
            continue;
        }
        addBox(component, box, dimensions, counts);
    }
    if (component.complete) {
        std::vector<ComponentIndex> outside;
        for (const ComponentIndex& element : component.elements())
            if (!component.completeHolds(element))
                outside.push_back(element);
        component.clearElements();
        for (const ComponentIndex& element : outside)
            component.add(element);
    }
    return object;
}

std::vector<ComponentRange> rangesOfComponent(const Component& component) {
    const std::string kind = componentKindOf(component.kind);
    const int dimensions = component.dimensions();
    std::vector<ComponentRange> ranges;
    auto rangeOf = [&](const Box& box) {
        ComponentRange range;
        range.kind = kind;
        range.spans.assign(box.begin(), box.begin() + dimensions);
        return range;
    };
    if (component.complete) {
        Box box;
        bool empty = false;
        for (int d = 0; d < dimensions; ++d) {
            const int count = component.completeCounts[d];
            box[d].all = count == kShapeCount;
            box[d].last = count - 1;
            empty = empty || count == 0;
        }
        if (!empty)
            ranges.push_back(rangeOf(box));
    }
    std::vector<Box> boxes;
    for (const ComponentIndex& element : component.elements()) {
        if (component.completeHolds(element))
            continue;
        Box box;
        for (int d = 0; d < dimensions; ++d) {
            box[d].all = element[d] == kShapeCount;
            box[d].first = box[d].last = element[d];
        }
        boxes.push_back(box);
    }
    for (int along = dimensions - 1; along >= 0; --along)
        joinAlong(boxes, dimensions, along);
    for (const Box& box : boxes)
        ranges.push_back(rangeOf(box));
    return ranges;
}

void registerComponentListFormat() {
    TypedValueFormat format;
    format.typeName = "componentList";
    format.parse = [](const std::vector<std::string>& tokens, size_t& pos, MObject& data,
                      std::string& error) {
        size_t at = pos;
        int count = 0;
        // Maya writes an empty list with no count at all: -type "componentList" ;
        if (at == tokens.size()) {
            data = makeComponentListData({});
            return true;
        }
        if (!parseIndex(tokens[at], count)) {
            error = "componentList: expected the number of components, got '" + tokens[at] + "'";
            return false;
        }
        ++at;
        if (static_cast<size_t>(count) > tokens.size() - at) {
            error = "componentList: expected " + std::to_string(count) + " components, got " +
                    std::to_string(tokens.size() - at);
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
        if (ranges->empty())
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
