#include "graph/slot.h"

#include "data/dataObjects.h"
#include "graph/attributeDef.h"

#include <cmath>
#include <limits>

namespace host {

namespace {

// A number stored into a narrower type saturates at the type's ends (NaN gives 0): values can
// arrive here from the API and from files unchecked, and an out-of-range conversion is
// undefined behaviour.
template <typename T> T saturate(double value) {
    if (std::isnan(value))
        return T(0);
    if (value <= static_cast<double>(std::numeric_limits<T>::lowest()))
        return std::numeric_limits<T>::lowest();
    if (value >= static_cast<double>(std::numeric_limits<T>::max()))
        return std::numeric_limits<T>::max();
    return static_cast<T>(value);
}

} // namespace

Slot Slot::make(const AttributeDef* attribute, bool asContainer) {
    Slot slot;
    if (asContainer) {
        slot.container = true;
        return slot;
    }
    if (attribute->isCompound()) {
        for (const auto& child : attribute->children)
            slot.children.push_back(make(child.get(), child->array));
        return slot;
    }
    if (attribute->isNumericLike())
        slot.set(attribute, attribute->defaultValue);
    else if (attribute->kind == AttributeDef::Kind::Typed) {
        // Strings are kept as text; other data objects are shared until replaced.
        if (StringData* text = dataAs<StringData>(attribute->defaultData))
            slot.text = text->value;
        else
            slot.data = attribute->defaultData;
    }
    return slot;
}

double Slot::get(const AttributeDef* attribute) const {
    if (attribute->kind == AttributeDef::Kind::Enum)
        return number.s;
    switch (attribute->numericType) {
    case MFnNumericData::kBoolean:
        return number.b ? 1.0 : 0.0;
    case MFnNumericData::kByte:
    case MFnNumericData::kChar:
        return number.c;
    case MFnNumericData::kShort:
        return number.s;
    case MFnNumericData::kInt:
    case MFnNumericData::kAddr:
        return number.i;
    case MFnNumericData::kFloat:
        return number.f;
    case MFnNumericData::kDouble:
        return number.d;
    default:
        return 0.0;
    }
}

void Slot::set(const AttributeDef* attribute, double value) {
    if (attribute->kind == AttributeDef::Kind::Enum) {
        number.s = saturate<short>(value);
        return;
    }
    switch (attribute->numericType) {
    case MFnNumericData::kBoolean:
        number.b = value != 0.0;
        break;
    case MFnNumericData::kByte:
    case MFnNumericData::kChar:
        number.c = saturate<char>(value);
        break;
    case MFnNumericData::kShort:
        number.s = saturate<short>(value);
        break;
    case MFnNumericData::kInt:
    case MFnNumericData::kAddr:
        number.i = saturate<int>(value);
        break;
    case MFnNumericData::kFloat:
        number.f = std::isfinite(value) ? saturate<float>(value) : static_cast<float>(value);
        break;
    case MFnNumericData::kDouble:
        number.d = value;
        break;
    default:
        break;
    }
}

void Slot::copyValue(const AttributeDef* to, const Slot& source, const AttributeDef* from) {
    if (source.container || container) {
        elements.clear();
        for (const auto& [index, element] : source.elements) {
            Slot copy = make(to, false);
            copy.copyValue(to, element, from);
            elements.emplace(index, std::move(copy));
        }
        return;
    }
    if (to->isCompound() && from->isCompound()) {
        size_t count = std::min(children.size(), source.children.size());
        count = std::min(count, std::min(to->children.size(), from->children.size()));
        for (size_t i = 0; i < count; ++i)
            children[i].copyValue(to->children[i].get(), source.children[i],
                                  from->children[i].get());
        return;
    }
    if (to->isNumericLike() && from->isNumericLike()) {
        set(to, source.get(from));
        return;
    }
    text = source.text;
    data = source.data;
}

void Slot::setDirtyTree(bool state) {
    dirty = state;
    for (auto& child : children)
        child.setDirtyTree(state);
    for (auto& entry : elements)
        entry.second.setDirtyTree(state);
}

void Slot::reset(const AttributeDef* attribute) {
    bool wasDirty = dirty;
    *this = make(attribute, container);
    dirty = wasDirty;
}

} // namespace host
