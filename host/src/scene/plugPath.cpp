#include "scene/plugPath.h"

#include "graph/attributeDef.h"
#include "graph/node.h"

#include <cctype>
#include <climits>

namespace host {

namespace {

bool parseIndex(const std::string& text, int& value) {
    if (text.empty() || text.size() > 10)
        return false;
    long long n = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
        n = n * 10 + (c - '0');
    }
    if (n > INT_MAX)
        return false;
    value = static_cast<int>(n);
    return true;
}

} // namespace

bool parsePlugPath(const std::string& path, std::vector<PlugPathPart>& parts, std::string& error) {
    parts.clear();
    if (path.empty()) {
        error = "expected an attribute name";
        return false;
    }
    size_t start = 0;
    while (true) {
        size_t dot = path.find('.', start);
        std::string text =
            path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        PlugPathPart part;
        size_t open = text.find('[');
        part.name = text.substr(0, open);
        if (part.name.empty()) {
            error = "expected an attribute name in '" + path + "'";
            return false;
        }
        if (!isValidAttributeName(part.name)) {
            error = "'" + part.name + "' in '" + path + "' is not an attribute name";
            return false;
        }
        if (open != std::string::npos) {
            size_t close = text.find(']', open);
            if (close != text.size() - 1) {
                error = "expected ']' at the end of '" + text + "' in '" + path + "'";
                return false;
            }
            std::string inside = text.substr(open + 1, close - open - 1);
            size_t colon = inside.find(':');
            part.indexed = true;
            if (colon == std::string::npos) {
                if (!parseIndex(inside, part.first)) {
                    error = "index '" + inside + "' of '" + part.name +
                            "' is out of range (expected 0 to " + std::to_string(INT_MAX) + ")";
                    return false;
                }
                part.last = part.first;
            } else {
                part.range = true;
                if (!parseIndex(inside.substr(0, colon), part.first) ||
                    !parseIndex(inside.substr(colon + 1), part.last)) {
                    error = "index range '" + inside + "' of '" + part.name +
                            "' is out of range (expected first:last, each 0 to " +
                            std::to_string(INT_MAX) + ")";
                    return false;
                }
                if (part.last < part.first) {
                    error = "index range '" + inside + "' of '" + part.name + "' runs backwards";
                    return false;
                }
            }
        }
        parts.push_back(part);
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }
    int ranges = 0;
    for (const PlugPathPart& part : parts)
        ranges += part.range ? 1 : 0;
    if (ranges > 1) {
        error = "'" + path + "' has more than one index range";
        return false;
    }
    return true;
}

std::string plugPathText(const std::vector<PlugPathPart>& parts) {
    std::string text;
    for (const PlugPathPart& part : parts) {
        if (!text.empty())
            text += '.';
        text += part.name;
        if (part.range)
            text += "[" + std::to_string(part.first) + ":" + std::to_string(part.last) + "]";
        else if (part.indexed)
            text += "[" + std::to_string(part.first) + "]";
    }
    return text;
}

PlugRef ResolvedPlug::element(size_t k) const {
    PlugRef plug = ref;
    if (rangeLevel >= 0)
        plug.indices[static_cast<size_t>(rangeLevel)] = first + static_cast<int>(k);
    return plug;
}

bool ResolvedPlug::isArray() const {
    return ref.attribute && ref.attribute->array && (ref.indices.empty() || ref.indices.back() < 0);
}

PlugResolution resolvePlugPath(Node* node, const std::vector<PlugPathPart>& parts,
                               ResolvedPlug& out, std::string& error) {
    out = ResolvedPlug();
    out.ref.node = node;
    const AttributeDef* current = nullptr;
    for (const PlugPathPart& part : parts) {
        const AttributeDef* found = nullptr;
        if (!current) {
            found = node->findAttribute(part.name);
        } else {
            for (const auto& child : current->children)
                if ((found = child->find(part.name)))
                    break;
        }
        if (!found) {
            error = part.name;
            return PlugResolution::kUnknown;
        }
        std::vector<const AttributeDef*> chain = found->chain();
        size_t known = current ? current->chain().size() : 0;
        for (size_t k = known; k < chain.size(); ++k)
            if (chain[k]->array)
                out.ref.indices.push_back(-1);
        if (part.indexed) {
            if (!found->array) {
                error = "'" + part.name + "' is not an array attribute and takes no index";
                return PlugResolution::kError;
            }
            out.ref.indices.back() = part.first;
            if (part.range) {
                out.rangeLevel = static_cast<int>(out.ref.indices.size()) - 1;
                out.first = part.first;
                out.last = part.last;
            }
        }
        current = found;
    }
    out.ref.attribute = current;
    return current ? PlugResolution::kKnown : PlugResolution::kUnknown;
}

} // namespace host
