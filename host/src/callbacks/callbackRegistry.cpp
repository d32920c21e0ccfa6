#include "callbacks/callbackRegistry.h"

#include "graph/node.h"
#include "plugin/plugin.h"

#include <maya/MCallbackIdArray.h>

#include <algorithm>

namespace host {

CallbackRegistry& CallbackRegistry::instance() {
    static CallbackRegistry registry;
    return registry;
}

MCallbackId CallbackRegistry::add(Entry entry) {
    entry.id = nextId_++;
    entry.owner = Plugin::active();
    entries_.push_back(entry);
    return entry.id;
}

MCallbackId CallbackRegistry::addNodeRemoved(MDGMessage::MNodeFunction func,
                                             const std::string& typeFilter, void* clientData) {
    return add({0, Kind::NodeRemoved, typeFilter, MSceneMessage::kLast, func, nullptr, clientData,
                nullptr});
}

MCallbackId CallbackRegistry::addNodeAdded(MDGMessage::MNodeFunction func,
                                           const std::string& typeFilter, void* clientData) {
    return add(
        {0, Kind::NodeAdded, typeFilter, MSceneMessage::kLast, func, nullptr, clientData, nullptr});
}

MCallbackId CallbackRegistry::addScene(MSceneMessage::Message message,
                                       MSceneMessage::MBasicFunction func, void* clientData) {
    return add({0, Kind::Scene, "", message, nullptr, func, clientData, nullptr});
}

MStatus CallbackRegistry::remove(MCallbackId id) {
    auto it =
        std::find_if(entries_.begin(), entries_.end(), [id](const Entry& e) { return e.id == id; });
    if (it == entries_.end())
        return MS::kInvalidParameter;
    entries_.erase(it);
    return MS::kSuccess;
}

bool CallbackRegistry::exists(MCallbackId id) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [id](const Entry& e) { return e.id == id; });
}

void CallbackRegistry::fireNode(Kind kind, Node& node) {
    // Copy first: a callback may add or remove callbacks.
    std::vector<Entry> snapshot = entries_;
    for (const Entry& entry : snapshot) {
        if (entry.kind != kind || !exists(entry.id))
            continue;
        if (entry.typeFilter != "dependNode" && entry.typeFilter != node.type()->name)
            continue;
        MObject object = node.object();
        entry.nodeFunc(object, entry.clientData);
    }
}

void CallbackRegistry::nodeRemoved(Node& node) {
    fireNode(Kind::NodeRemoved, node);
}

void CallbackRegistry::nodeAdded(Node& node) {
    fireNode(Kind::NodeAdded, node);
}

void CallbackRegistry::scene(MSceneMessage::Message message) {
    std::vector<Entry> snapshot = entries_;
    for (const Entry& entry : snapshot)
        if (entry.kind == Kind::Scene && entry.message == message && exists(entry.id))
            entry.sceneFunc(entry.clientData);
}

int CallbackRegistry::removeOwnedBy(const Plugin* plugin) {
    auto first = std::remove_if(entries_.begin(), entries_.end(), [plugin](const Entry& e) {
        const void* code = e.nodeFunc ? reinterpret_cast<const void*>(e.nodeFunc)
                                      : reinterpret_cast<const void*>(e.sceneFunc);
        return e.owner == plugin || plugin->owns(code);
    });
    int count = static_cast<int>(entries_.end() - first);
    entries_.erase(first, entries_.end());
    return count;
}

} // namespace host

MCallbackId MDGMessage::addNodeRemovedCallback(MNodeFunction func, const MString& nodeType,
                                               void* clientData, MStatus* status) {
    if (!func) {
        if (status)
            *status = MS::kInvalidParameter;
        return 0;
    }
    if (status)
        *status = MS::kSuccess;
    return host::CallbackRegistry::instance().addNodeRemoved(func, nodeType.asChar(), clientData);
}

MCallbackId MDGMessage::addNodeAddedCallback(MNodeFunction func, const MString& nodeType,
                                             void* clientData, MStatus* status) {
    if (!func) {
        if (status)
            *status = MS::kInvalidParameter;
        return 0;
    }
    if (status)
        *status = MS::kSuccess;
    return host::CallbackRegistry::instance().addNodeAdded(func, nodeType.asChar(), clientData);
}

MCallbackId MSceneMessage::addCallback(Message message, MBasicFunction func, void* clientData,
                                       MStatus* status) {
    if (!func || message < 0 || message >= kLast) {
        if (status)
            *status = MS::kInvalidParameter;
        return 0;
    }
    if (status)
        *status = MS::kSuccess;
    return host::CallbackRegistry::instance().addScene(message, func, clientData);
}

MStatus MMessage::removeCallback(MCallbackId id) {
    return host::CallbackRegistry::instance().remove(id);
}

MStatus MMessage::removeCallbacks(MCallbackIdArray& ids) {
    MStatus result;
    for (unsigned int i = 0; i < ids.length(); ++i)
        if (!removeCallback(ids[i]))
            result = MS::kFailure;
    return result;
}
