#pragma once
// A plug reference inside the graph, and a connection between two of them.

#include <memory>
#include <vector>

namespace host {

class Node;
struct AttributeDef;

struct PlugRef {
    Node* node = nullptr;
    const AttributeDef* attribute = nullptr;
    std::vector<int> indices; // one per array level on the attribute's chain; -1: any

    bool operator==(const PlugRef& other) const {
        return node == other.node && attribute == other.attribute && indices == other.indices;
    }
    // True when this plug is the other one or lies above it (a parent or the array of it).
    bool covers(const PlugRef& other) const;
    bool overlaps(const PlugRef& other) const { return covers(other) || other.covers(*this); }
};

struct Connection {
    PlugRef source;
    PlugRef destination;
};

} // namespace host
