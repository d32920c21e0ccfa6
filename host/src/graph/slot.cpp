#include "graph/slot.h"

#include "data/dataObjects.h"
#include "graph/attributeDef.h"

#include <algorithm>
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

// The numbers an element holds, in the order of its leaves.
size_t elementWidth(const AttributeDef* array) {
    return array->isCompound() ? array->children.size() : 1;
}

} // namespace

void PackedElements::assign(unsigned int first, size_t count, const double* numbers) {
    const unsigned long long end = static_cast<unsigned long long>(first) + count;
    auto lo = std::lower_bound(indices.begin(), indices.end(), first);
    auto hi = std::lower_bound(lo, indices.end(), end,
                               [](unsigned int index, unsigned long long e) { return index < e; });
    const size_t at = static_cast<size_t>(lo - indices.begin());
    const size_t replaced = static_cast<size_t>(hi - lo);
    // Appending, the usual case, moves nothing.
    indices.erase(lo, hi);
    values.erase(values.begin() + static_cast<long>(at * width),
                 values.begin() + static_cast<long>((at + replaced) * width));
    std::vector<unsigned int> range(count);
    for (size_t k = 0; k < count; ++k)
        range[k] = first + static_cast<unsigned int>(k);
    indices.insert(indices.begin() + static_cast<long>(at), range.begin(), range.end());
    values.insert(values.begin() + static_cast<long>(at * width), numbers, numbers + count * width);
}

void PackedElements::assignData(unsigned int first, const std::vector<int>& newInts,
                                const std::vector<size_t>& newStarts) {
    const size_t count = newStarts.size();
    const unsigned long long end = static_cast<unsigned long long>(first) + count;
    auto lo = std::lower_bound(indices.begin(), indices.end(), first);
    auto hi = std::lower_bound(lo, indices.end(), end,
                               [](unsigned int index, unsigned long long e) { return index < e; });
    const size_t at = static_cast<size_t>(lo - indices.begin());
    const size_t past = static_cast<size_t>(hi - indices.begin());
    const size_t intsFrom = at < starts.size() ? starts[at] : ints.size();
    const size_t intsTo = past < starts.size() ? starts[past] : ints.size();
    // The elements after the new ones move by the difference in ints.
    for (size_t k = past; k < starts.size(); ++k)
        starts[k] = starts[k] - (intsTo - intsFrom) + newInts.size();
    ints.erase(ints.begin() + static_cast<long>(intsFrom),
               ints.begin() + static_cast<long>(intsTo));
    ints.insert(ints.begin() + static_cast<long>(intsFrom), newInts.begin(), newInts.end());
    indices.erase(lo, hi);
    starts.erase(starts.begin() + static_cast<long>(at), starts.begin() + static_cast<long>(past));
    std::vector<unsigned int> range(count);
    std::vector<size_t> offsets(count);
    for (size_t k = 0; k < count; ++k) {
        range[k] = first + static_cast<unsigned int>(k);
        offsets[k] = intsFrom + newStarts[k];
    }
    indices.insert(indices.begin() + static_cast<long>(at), range.begin(), range.end());
    starts.insert(starts.begin() + static_cast<long>(at), offsets.begin(), offsets.end());
}

const int* PackedElements::dataOf(size_t k, size_t& count) const {
    const size_t end = k + 1 < starts.size() ? starts[k + 1] : ints.size();
    count = end - starts[k];
    return ints.data() + starts[k];
}

bool ElementMap::packable(const AttributeDef* array) {
    if (!array || !array->array)
        return false;
    if (!array->isCompound())
        return array->isNumericLike();
    if (array->children.empty())
        return false;
    for (const auto& child : array->children)
        if (child->array || child->isCompound() || !child->isNumericLike())
            return false;
    return true;
}

PackedElements* ElementMap::packedDataForWrite(const AttributeDef* array,
                                               const PackedDataCodec* codec) {
    if (!map_.empty() || !codec || !array || !array->array ||
        (packed_ && (packed_->array != array || packed_->codec != codec)))
        return nullptr;
    if (!packed_) {
        packed_ = std::make_shared<PackedElements>();
        packed_->array = array;
        packed_->codec = codec;
    } else if (packed_.use_count() > 1) {
        packed_ = std::make_shared<PackedElements>(*packed_);
    }
    return packed_.get();
}

PackedElements* ElementMap::packedForWrite(const AttributeDef* array) {
    if (!map_.empty() || (packed_ && (packed_->array != array || packed_->codec)) ||
        !packable(array))
        return nullptr;
    if (!packed_) {
        packed_ = std::make_shared<PackedElements>();
        packed_->array = array;
        packed_->width = elementWidth(array);
    } else if (packed_.use_count() > 1) {
        packed_ = std::make_shared<PackedElements>(*packed_);
    }
    return packed_.get();
}

ElementMap::Map& ElementMap::map() const {
    if (packed_) {
        // Once, for code that needs slots: from here on the elements stay slots.
        std::shared_ptr<PackedElements> packed = std::move(packed_);
        const AttributeDef* array = packed->array;
        const size_t width = packed->width;
        for (size_t k = 0; k < packed->indices.size(); ++k) {
            Slot element = Slot::make(array, false);
            if (packed->codec) {
                size_t count = 0;
                const int* ints = packed->dataOf(k, count);
                element.data = packed->codec->decode(ints, count);
                map_.emplace_hint(map_.end(), packed->indices[k], std::move(element));
                continue;
            }
            const double* numbers = &packed->values[k * width];
            if (array->isCompound()) {
                for (size_t j = 0; j < width && j < element.children.size(); ++j)
                    element.children[j].set(array->children[j].get(), numbers[j]);
            } else {
                element.set(array, numbers[0]);
            }
            map_.emplace_hint(map_.end(), packed->indices[k], std::move(element));
        }
    }
    return map_;
}

double storedNumber(const AttributeDef* attribute, double value) {
    Slot slot;
    slot.set(attribute, value);
    return slot.get(attribute);
}

void forEachNumericElement(const Slot& container, const AttributeDef* array,
                           const std::function<void(unsigned int, const double*)>& fn) {
    if (const PackedElements* packed = container.elements.packed(); packed && !packed->codec) {
        for (size_t k = 0; k < packed->indices.size(); ++k)
            fn(packed->indices[k], &packed->values[k * packed->width]);
        return;
    }
    std::vector<double> numbers(elementWidth(array));
    for (const auto& [index, element] : container.elements) {
        if (array->isCompound()) {
            for (size_t j = 0; j < numbers.size(); ++j)
                numbers[j] = j < element.children.size()
                                 ? element.children[j].get(array->children[j].get())
                                 : 0.0;
        } else {
            numbers[0] = element.get(array);
        }
        fn(index, numbers.data());
    }
}

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
        if (source.elements.packed() && to == from) {
            elements = source.elements; // shares the numbers until one side writes
            return;
        }
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
    // Packed elements have no state of their own: the array's stands for them.
    if (!elements.packed())
        for (auto& entry : elements)
            entry.second.setDirtyTree(state);
}

void Slot::reset(const AttributeDef* attribute) {
    bool wasDirty = dirty;
    *this = make(attribute, container);
    dirty = wasDirty;
}

} // namespace host
