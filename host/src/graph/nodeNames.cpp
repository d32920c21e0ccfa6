#include "graph/nodeNames.h"

#include "graph/node.h"

#include <algorithm>
#include <cctype>

namespace host {

namespace {

// The parts of a path, each without the root namespace's ':' ("|a|:b" -> "", "a", "b").
std::vector<std::string> splitPath(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        const size_t bar = path.find('|', start);
        std::string part =
            path.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
        if (!part.empty() && part[0] == ':')
            part.erase(0, 1);
        parts.push_back(std::move(part));
        if (bar == std::string::npos)
            return parts;
        start = bar + 1;
    }
}

size_t trailingDigits(const std::string& name) {
    size_t digits = 0;
    while (digits < name.size() &&
           std::isdigit(static_cast<unsigned char>(name[name.size() - 1 - digits])))
        ++digits;
    return digits;
}

// Whether the node's parents, nearest first, carry the names before the last part (and reach
// the world right after them when the path is absolute).
bool ancestorsMatch(const Node* node, const std::vector<std::string>& parts) {
    const bool absolute = parts.size() > 1 && parts.front().empty();
    const size_t first = absolute ? 1 : 0;
    const Node* current = node->parent();
    for (size_t k = parts.size() - 1; k-- > first;) {
        if (!current || current->name() != parts[k])
            return false;
        current = current->parent();
    }
    return !absolute || current == nullptr;
}

} // namespace

size_t NodeNames::PlaceHash::operator()(const Place& place) const {
    return std::hash<const void*>()(place.parent) * 31 + std::hash<std::string>()(place.name);
}

const std::vector<Node*>& NodeNames::named(const std::string& name) const {
    static const std::vector<Node*> none;
    auto it = byName_.find(name);
    return it == byName_.end() ? none : it->second.nodes;
}

const std::vector<Node*>& NodeNames::childrenNamed(const Node* parent,
                                                   const std::string& name) const {
    static const std::vector<Node*> none;
    auto it = byPlace_.find(Place{parent, name});
    return it == byPlace_.end() ? none : it->second;
}

void NodeNames::add(Node* node) {
    Named& entry = byName_[node->name()];
    entry.nodes.push_back(node);
    if (node->type()->dag)
        byPlace_[Place{node->parent(), node->name()}].push_back(node);
    else
        ++entry.dependencyNodes;
}

void NodeNames::remove(Node* node) {
    // Searched from the end: clearing a scene deletes the newest nodes first.
    auto drop = [node](std::vector<Node*>& list) {
        const auto at = std::find(list.rbegin(), list.rend(), node);
        if (at == list.rend())
            return false;
        list.erase(std::next(at).base());
        return true;
    };
    auto it = byName_.find(node->name());
    if (it == byName_.end() || !drop(it->second.nodes))
        return;
    numberFreed(node);
    if (!node->type()->dag)
        --it->second.dependencyNodes;
    if (it->second.nodes.empty())
        byName_.erase(it);
    if (!node->type()->dag)
        return;
    auto place = byPlace_.find(Place{node->parent(), node->name()});
    if (place != byPlace_.end() && drop(place->second) && place->second.empty())
        byPlace_.erase(place);
}

void NodeNames::walkDown(std::vector<const Node*> from, const std::vector<std::string>& parts,
                         size_t first, std::vector<Node*>& found) const {
    for (size_t k = first; k < parts.size() && !from.empty(); ++k) {
        std::vector<const Node*> next;
        for (const Node* parent : from)
            for (Node* child : childrenNamed(parent, parts[k]))
                next.push_back(child);
        from = std::move(next);
    }
    for (const Node* node : from)
        if (node && node->alive())
            found.push_back(const_cast<Node*>(node));
}

std::vector<Node*> NodeNames::matches(const std::string& path) const {
    std::vector<Node*> found;
    const std::vector<std::string> parts = splitPath(path);
    if (parts.back().empty())
        return found;
    if (parts.size() == 1) {
        for (Node* node : named(parts.back()))
            if (node->alive())
                found.push_back(node);
        return found;
    }
    // A full path walks down from the world. A partial one starts from whichever end has fewer
    // nodes of its name: many nodes may share a leaf ("|g1|a" ... "|g50000|a") or a top.
    if (parts.front().empty()) {
        walkDown({nullptr}, parts, 1, found);
        return found;
    }
    const std::vector<Node*>& tops = named(parts.front());
    const std::vector<Node*>& leaves = named(parts.back());
    if (tops.size() < leaves.size()) {
        std::vector<const Node*> from;
        for (const Node* top : tops)
            if (top->type()->dag)
                from.push_back(top);
        walkDown(std::move(from), parts, 1, found);
        return found;
    }
    for (Node* node : leaves)
        if (node->alive() && ancestorsMatch(node, parts))
            found.push_back(node);
    return found;
}

bool NodeNames::taken(const std::string& name, bool dag, const Node* parent,
                      const Node* self) const {
    auto it = byName_.find(name);
    if (it == byName_.end())
        return false;
    const Named& entry = it->second;
    const bool selfNamed =
        self && std::find(entry.nodes.begin(), entry.nodes.end(), self) != entry.nodes.end();
    if (!dag)
        return entry.nodes.size() > (selfNamed ? 1u : 0u);
    // A DAG node gives way to any dependency node of the name and to a sibling of it.
    const bool selfDependency = selfNamed && !self->type()->dag;
    if (entry.dependencyNodes > (selfDependency ? 1u : 0u))
        return true;
    for (const Node* sibling : childrenNamed(parent, name))
        if (sibling != self)
            return true;
    return false;
}

std::string NodeNames::unique(const std::string& wanted, bool dag, const Node* parent,
                              const Node* self) const {
    if (!taken(wanted, dag, parent, self))
        return wanted;
    const std::string base = wanted.substr(0, wanted.size() - trailingDigits(wanted));
    NumberHints& hints = hints_[base];
    int& start = dag ? hints.underParent.try_emplace(parent, 1).first->second : hints.anywhere;
    for (int n = std::max(start, 1);; ++n) {
        std::string candidate = base + std::to_string(n);
        if (!taken(candidate, dag, parent, self)) {
            start = n;
            return candidate;
        }
    }
}

void NodeNames::numberFreed(const Node* node) {
    const std::string& name = node->name();
    const size_t digits = trailingDigits(name);
    if (digits == 0 || digits > 9)
        return;
    auto it = hints_.find(name.substr(0, name.size() - digits));
    if (it == hints_.end())
        return;
    const int number = std::stoi(name.substr(name.size() - digits));
    NumberHints& hints = it->second;
    hints.anywhere = std::min(hints.anywhere, number);
    for (auto& [parent, start] : hints.underParent)
        if (!node->type()->dag || parent == node->parent())
            start = std::min(start, number);
}

bool NodeNames::shortNameUnique(const Node* node) const {
    return named(node->name()).size() <= 1;
}

std::string NodeNames::partialPath(const Node* node) const {
    if (shortNameUnique(node))
        return node->name();
    // One more parent at a time until the path names this node alone.
    std::string path = node->name();
    for (const Node* above = node->parent(); above; above = above->parent()) {
        path = above->name() + "|" + path;
        if (matches(path).size() == 1)
            return path;
    }
    return "|" + path;
}

std::string NodeNames::uniqueName(const Node* node) const {
    return shortNameUnique(node) ? node->name() : fullPath(node);
}

std::string NodeNames::fullPath(const Node* node) {
    if (!node->type()->dag)
        return node->name();
    // Names gathered first and joined once: no copy of the path per level.
    std::vector<const std::string*> names;
    size_t size = 0;
    for (const Node* n = node; n; n = n->parent()) {
        names.push_back(&n->name());
        size += n->name().size() + 1;
    }
    std::string path;
    path.reserve(size);
    for (auto it = names.rbegin(); it != names.rend(); ++it)
        path += "|" + **it;
    return path;
}

} // namespace host
