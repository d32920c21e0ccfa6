#include "graph/attributeDef.h"

#include <algorithm>
#include <cctype>

namespace host {

MFn::Type AttributeDef::apiType() const {
    switch (kind) {
    case Kind::Numeric:
        return MFn::kNumericAttribute;
    case Kind::Typed:
        return MFn::kTypedAttribute;
    case Kind::Enum:
        return MFn::kEnumAttribute;
    case Kind::Compound:
        return MFn::kCompoundAttribute;
    case Kind::Message:
        return MFn::kMessageAttribute;
    }
    return MFn::kAttribute;
}

bool AttributeDef::hasFn(MFn::Type type) const {
    return type == MFn::kBase || type == MFn::kAttribute || type == apiType();
}

std::vector<const AttributeDef*> AttributeDef::chain() const {
    std::vector<const AttributeDef*> path;
    for (const AttributeDef* a = this; a; a = a->parent)
        path.insert(path.begin(), a);
    return path;
}

int AttributeDef::arrayDepth() const {
    int depth = 0;
    for (const AttributeDef* a = this; a; a = a->parent)
        depth += a->array ? 1 : 0;
    return depth;
}

bool AttributeDef::isAncestorOf(const AttributeDef* other) const {
    for (const AttributeDef* a = other ? other->parent : nullptr; a; a = a->parent)
        if (a == this)
            return true;
    return false;
}

const AttributeDef* AttributeDef::top() const {
    const AttributeDef* a = this;
    while (a->parent)
        a = a->parent;
    return a;
}

const AttributeDef* AttributeDef::find(const std::string& text) const {
    if (matches(text))
        return this;
    for (const auto& child : children)
        if (const AttributeDef* found = child->find(text))
            return found;
    return nullptr;
}

int AttributeDef::childIndex(const AttributeDef* child) const {
    for (size_t i = 0; i < children.size(); ++i)
        if (children[i].get() == child)
            return static_cast<int>(i);
    return -1;
}

double AttributeDef::clamp(double value, bool* clamped) const {
    double result = value;
    if (hasMin && result < minValue)
        result = minValue;
    if (hasMax && result > maxValue)
        result = maxValue;
    if (clamped)
        *clamped = result != value;
    return result;
}

AttributeDef* attributeDef(const MObject& object) {
    return dynamic_cast<AttributeDef*>(object.impl().get());
}

MObject attributeObject(const AttributeDef* attribute) {
    if (!attribute)
        return MObject();
    // Attributes are always owned through shared pointers.
    return MObject(std::const_pointer_cast<AttributeDef>(attribute->shared_from_this()));
}

bool isValidAttributeName(const std::string& name) {
    auto letter = [](char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; };
    if (name.empty() || !letter(name[0]))
        return false;
    return std::all_of(name.begin(), name.end(), [&](char c) {
        return letter(c) || std::isdigit(static_cast<unsigned char>(c));
    });
}

} // namespace host
