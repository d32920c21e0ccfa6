#include "scene/sceneState.h"

#include "anim/sceneTime.h"

#include "graph/node.h"

#include <algorithm>
#include <cmath>

namespace host {

double SceneUnits::radiansPerAngleUnit() const {
    if (angular == "radian")
        return 1.0;
    if (angular == "minute")
        return M_PI / (180.0 * 60.0);
    if (angular == "second")
        return M_PI / (180.0 * 3600.0);
    return M_PI / 180.0;
}

std::string linearUnitName(const std::string& text) {
    static const std::pair<const char*, const char*> names[] = {
        {"mm", "millimeter"}, {"millimeter", "millimeter"},
        {"cm", "centimeter"}, {"centimeter", "centimeter"},
        {"m", "meter"},       {"meter", "meter"},
        {"km", "kilometer"},  {"kilometer", "kilometer"},
        {"in", "inch"},       {"inch", "inch"},
        {"ft", "foot"},       {"foot", "foot"},
        {"yd", "yard"},       {"yard", "yard"},
        {"mi", "mile"},       {"mile", "mile"}};
    for (const auto& [alias, name] : names)
        if (text == alias)
            return name;
    return "";
}

std::string angularUnitName(const std::string& text) {
    static const std::pair<const char*, const char*> names[] = {
        {"deg", "degree"}, {"degree", "degree"}, {"rad", "radian"}, {"radian", "radian"},
        {"min", "minute"}, {"minute", "minute"}, {"sec", "second"}, {"second", "second"}};
    for (const auto& [alias, name] : names)
        if (text == alias)
            return name;
    return "";
}

bool RawConnection::alive() const {
    auto from = source.lock();
    auto to = destination.lock();
    return from && to && from->alive() && to->alive();
}

SceneState& SceneState::instance() {
    static SceneState state;
    return state;
}

void SceneState::clear() {
    *this = SceneState();
    SceneTime::instance().reset();
}

NodeExtras* SceneState::extras(const Node* node, bool create) {
    if (!node)
        return nullptr;
    auto it = nodes_.find(node);
    if (it != nodes_.end()) {
        auto owner = it->second.first.lock();
        if (owner.get() == node && node->alive())
            return &it->second.second;
        nodes_.erase(it); // the address belongs to a node that is gone
    }
    if (!create)
        return nullptr;
    auto& entry = nodes_[node];
    entry.first = const_cast<Node*>(node)->shared_from_this();
    return &entry.second;
}

DynamicAttributeInfo* SceneState::attributeInfo(const AttributeDef* attribute, bool create) {
    if (!attribute)
        return nullptr;
    auto it = attributes_.find(attribute);
    if (it != attributes_.end()) {
        if (it->second.first.lock().get() == attribute)
            return &it->second.second;
        attributes_.erase(it);
    }
    if (!create)
        return nullptr;
    auto& entry = attributes_[attribute];
    entry.first = attribute->shared_from_this();
    return &entry.second;
}

void RawConnectionList::add(RawConnection connection) {
    const Node* destination = connection.destination.lock().get();
    const unsigned long long key = next_++;
    ordered_.emplace(key, std::move(connection));
    byDestination_.emplace(destination, key);
}

std::vector<const RawConnection*> RawConnectionList::into(const Node* node) const {
    std::vector<unsigned long long> keys;
    auto range = byDestination_.equal_range(node);
    for (auto it = range.first; it != range.second; ++it)
        keys.push_back(it->second);
    std::sort(keys.begin(), keys.end());
    std::vector<const RawConnection*> found;
    for (unsigned long long key : keys) {
        auto it = ordered_.find(key);
        if (it != ordered_.end() && it->second.alive() &&
            it->second.destination.lock().get() == node)
            found.push_back(&it->second);
    }
    return found;
}

std::vector<const RawConnection*> RawConnectionList::all() const {
    std::vector<const RawConnection*> found;
    for (const auto& entry : ordered_)
        if (entry.second.alive())
            found.push_back(&entry.second);
    return found;
}

void RawConnectionList::remove(const RawConnection* connection) {
    for (auto it = ordered_.begin(); it != ordered_.end(); ++it) {
        if (&it->second != connection)
            continue;
        auto range = byDestination_.equal_range(connection->destination.lock().get());
        for (auto d = range.first; d != range.second; ++d)
            if (d->second == it->first) {
                byDestination_.erase(d);
                break;
            }
        ordered_.erase(it);
        return;
    }
}

void RawConnectionList::prune() {
    bool removed = false;
    for (auto it = ordered_.begin(); it != ordered_.end();) {
        if (it->second.alive()) {
            ++it;
            continue;
        }
        it = ordered_.erase(it);
        removed = true;
    }
    if (!removed)
        return;
    byDestination_.clear();
    for (const auto& [key, connection] : ordered_)
        byDestination_.emplace(connection.destination.lock().get(), key);
}

} // namespace host
