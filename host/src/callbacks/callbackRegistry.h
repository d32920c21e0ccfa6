#pragma once
// Callbacks the plug-ins installed, by id. Each remembers the plug-in that was loading or
// running when it was added, so that a plug-in's leftovers can be dropped at unload.

#include <maya/MDGMessage.h>
#include <maya/MSceneMessage.h>

#include <string>
#include <vector>

namespace host {

class Node;
class Plugin;

class CallbackRegistry {
  public:
    static CallbackRegistry& instance();

    MCallbackId addNodeRemoved(MDGMessage::MNodeFunction func, const std::string& typeFilter,
                               void* clientData);
    MCallbackId addNodeAdded(MDGMessage::MNodeFunction func, const std::string& typeFilter,
                             void* clientData);
    MCallbackId addScene(MSceneMessage::Message message, MSceneMessage::MBasicFunction func,
                         void* clientData);
    MStatus remove(MCallbackId id);
    bool exists(MCallbackId id) const;

    void nodeRemoved(Node& node);
    void nodeAdded(Node& node);
    void scene(MSceneMessage::Message message);

    // Removes what the plug-in left installed; returns how many there were.
    int removeOwnedBy(const Plugin* plugin);
    size_t count() const { return entries_.size(); }

  private:
    enum class Kind { NodeRemoved, NodeAdded, Scene };
    struct Entry {
        MCallbackId id;
        Kind kind;
        std::string typeFilter;
        MSceneMessage::Message message;
        MDGMessage::MNodeFunction nodeFunc;
        MSceneMessage::MBasicFunction sceneFunc;
        void* clientData;
        const Plugin* owner;
    };
    MCallbackId add(Entry entry);
    void fireNode(Kind kind, Node& node);
    std::vector<Entry> entries_;
    MCallbackId nextId_ = 1;
};

} // namespace host
