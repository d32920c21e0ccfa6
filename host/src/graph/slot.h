#pragma once
// The stored value of one plug and of everything below it. A slot is either an instance of
// an attribute (a number, text, data, or compound children) or, for array attributes, the
// container of its sparse elements in ascending logical index.

#include <maya/MObject.h>
#include <maya/MString.h>

#include <cstddef>

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace host {

struct AttributeDef;
struct Slot;

// A kind of data object whose values an array can keep packed as ints (a mesh's faces).
class PackedDataCodec {
  public:
    virtual ~PackedDataCodec() = default;
    // Appends the ints of the value; false when the object is not of this kind.
    virtual bool encode(const MObject& data, std::vector<int>& ints) const = 0;
    // The value the ints of encode stand for.
    virtual MObject decode(const int* ints, size_t count) const = 0;
};

// The elements of an array kept packed. Numbers: an array whose element is one number or a
// compound of numbers (a mesh's ".vt", ".ed", ".uvsp", a curve ramp's entries) keeps plain
// numbers, a million vertices in 28 bytes each instead of four slots each. Data: an array of
// data a codec packs (a mesh's ".fc") keeps each value as a row of ints.
struct PackedElements {
    const AttributeDef* array = nullptr;    // whose elements these are
    size_t width = 0;                       // numbers per element: 1, or the compound's children
    std::vector<unsigned int> indices;      // logical indices, ascending
    std::vector<double> values;             // `width` per element, as stored (Slot::set, get)
    const PackedDataCodec* codec = nullptr; // data: element k's ints start at starts[k]
    std::vector<int> ints;
    std::vector<size_t> starts;

    // Sets the elements first to first + count - 1, adding those missing; numbers holds
    // `width` stored numbers for each.
    void assign(unsigned int first, size_t count, const double* numbers);
    // The same for data: the k-th new element's ints start at newStarts[k] in newInts.
    void assignData(unsigned int first, const std::vector<int>& newInts,
                    const std::vector<size_t>& newStarts);
    // The ints of data element k.
    const int* dataOf(size_t k, size_t& count) const;
};

// An array slot's elements, by ascending logical index. Readers and writers of big arrays
// keep them packed (packed(), packedForWrite()); any other use first turns them into slots,
// once, so that code walking elements sees slots as always. Copies share packed numbers until
// one of them writes.
class ElementMap {
  public:
    using Map = std::map<unsigned int, Slot>;

    // Null when the elements are slots (or there are none in either form).
    const PackedElements* packed() const { return packed_.get(); }
    // The packed numbers to write, packing an empty array; null when the array holds slots
    // already or its elements cannot be packed.
    PackedElements* packedForWrite(const AttributeDef* array);
    // Whether the elements of an array attribute can be packed as numbers.
    static bool packable(const AttributeDef* array);
    // As packedForWrite, for an array of data the codec packs.
    PackedElements* packedDataForWrite(const AttributeDef* array, const PackedDataCodec* codec);

    // The std::map interface, over slots.
    Map::iterator begin() { return map().begin(); }
    Map::iterator end() { return map().end(); }
    Map::const_iterator begin() const { return map().begin(); }
    Map::const_iterator end() const { return map().end(); }
    Map::reverse_iterator rbegin() { return map().rbegin(); }
    Map::const_reverse_iterator rbegin() const { return map().rbegin(); }
    Map::reverse_iterator rend() { return map().rend(); }
    Map::iterator find(unsigned int index) { return map().find(index); }
    Map::const_iterator find(unsigned int index) const { return map().find(index); }
    size_t count(unsigned int index) const { return map().count(index); }
    template <typename... Args> std::pair<Map::iterator, bool> emplace(Args&&... args) {
        return map().emplace(std::forward<Args>(args)...);
    }
    size_t erase(unsigned int index) { return map().erase(index); }
    Map::iterator erase(Map::iterator it) { return map().erase(it); }
    // Neither needs the slots.
    bool empty() const { return packed_ ? packed_->indices.empty() : map_.empty(); }
    size_t size() const { return packed_ ? packed_->indices.size() : map_.size(); }
    void clear() {
        map_.clear();
        packed_.reset();
    }

  private:
    Map& map() const;

    mutable Map map_;
    mutable std::shared_ptr<PackedElements> packed_;
};

struct Slot {
    bool dirty = false;
    bool container = false;
    // Scalar numbers are stored in their own type so that handles can hand out references.
    union Number {
        bool b;
        char c;
        short s;
        int i;
        float f;
        double d;
    } number{};
    // Gathered component values of a numeric compound (see MDataHandle::asFloat3).
    union Components {
        short s[4];
        int i[4];
        float f[4];
        double d[4];
    } components{};
    MString text;
    MObject data;
    std::vector<Slot> children;
    ElementMap elements;

    // Builds the slot of an attribute instance (or array container) with default values.
    static Slot make(const AttributeDef* attribute, bool asContainer);
    // Numbers converted through double, so any numeric type reads any other.
    double get(const AttributeDef* attribute) const;
    void set(const AttributeDef* attribute, double value);
    // Copies the value (not the dirty state) from a slot of a compatible attribute.
    void copyValue(const AttributeDef* to, const Slot& source, const AttributeDef* from);
    void setDirtyTree(bool state);
    // Resets to the attribute's default, keeping no elements.
    void reset(const AttributeDef* attribute);
};

// The number a slot of the attribute holds once `value` is set into it (a float rounds, an
// int saturates, ...).
double storedNumber(const AttributeDef* attribute, double value);

// Calls fn(index, numbers) for each element of an array slot whose elements are numbers (see
// ElementMap::packable), in index order, `numbers` holding one per leaf; packed or not, without
// turning packed numbers into slots.
void forEachNumericElement(const Slot& container, const AttributeDef* array,
                           const std::function<void(unsigned int, const double*)>& fn);

} // namespace host
