#pragma once
// The stored value of one plug and of everything below it. A slot is either an instance of
// an attribute (a number, text, data, or compound children) or, for array attributes, the
// container of its sparse elements in ascending logical index.

#include <maya/MObject.h>
#include <maya/MString.h>

#include <map>
#include <vector>

namespace host {

struct AttributeDef;

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
    std::map<unsigned int, Slot> elements;

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

} // namespace host
