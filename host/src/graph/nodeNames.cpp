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

void NodeNames::add(Node* node) {
    byName_[node->name()].push_back(node);
}

void NodeNames::remove(Node* node) {
    auto it = byName_.find(node->name());
    if (it == byName_.end())
        return;
    auto& list = it->second;
    list.erase(std::remove(list.begin(), list.end(), node), list.end());
    if (list.empty())
        byName_.erase(it);
}

std::vector<Node*> NodeNames::matches(const std::string& path) const {
    std::vector<Node*> found;
    const std::vector<std::string> parts = splitPath(path);
    auto it = byName_.find(parts.back());
    if (parts.back().empty() || it == byName_.end())
        return found;
    for (Node* node : it->second)
        if (node->alive() && (parts.size() == 1 || ancestorsMatch(node, parts)))
            found.push_back(node);
    return found;
}

bool NodeNames::taken(const std::string& name, bool dag, const Node* parent,
                      const Node* self) const {
    auto it = byName_.find(name);
    if (it == byName_.end())
        return false;
    for (const Node* other : it->second)
        if (other != self && (!dag || !other->type()->dag || other->parent() == parent))
            return true;
    return false;
}

std::string NodeNames::unique(const std::string& wanted, bool dag, const Node* parent,
                              const Node* self) const {
    if (!taken(wanted, dag, parent, self))
        return wanted;
    std::string base = wanted;
    while (!base.empty() && std::isdigit(static_cast<unsigned char>(base.back())))
        base.pop_back();
    for (int n = 1;; ++n) {
        std::string candidate = base + std::to_string(n);
        if (!taken(candidate, dag, parent, self))
            return candidate;
    }
}

bool NodeNames::shortNameUnique(const Node* node) const {
    auto it = byName_.find(node->name());
    return it == byName_.end() || it->second.size() <= 1;
}

std::string NodeNames::partialPath(const Node* node) const {
    if (shortNameUnique(node))
        return node->name();
    // One more parent at a time until no other node of the name sits under the same chain.
    auto others = byName_.find(node->name())->second;
    others.erase(std::remove(others.begin(), others.end(), node), others.end());
    std::vector<const Node*> chains(others.begin(), others.end());
    std::string path = node->name();
    for (const Node* above = node->parent(); above; above = above->parent()) {
        path = above->name() + "|" + path;
        size_t kept = 0;
        for (const Node*& other : chains) {
            other = other ? other->parent() : nullptr;
            if (other && other->name() == above->name())
                chains[kept++] = other;
        }
        chains.resize(kept);
        if (chains.empty())
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
