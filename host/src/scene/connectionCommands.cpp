// connectAttr, disconnectAttr and listConnections. Connections between attributes the host
// defines go into the graph; any other is kept as a raw connection (sceneState.h).

#include "scene/attributeValues.h"
#include "scene/geometryHistory.h"
#include "scene/plugPath.h"
#include "scene/sceneCommands.h"
#include "scene/valueText.h"

#include "graph/graph.h"

#include <algorithm>
#include <climits>
#include <set>

namespace host {

namespace {

// One end of a connection as written.
struct PlugEnd {
    Node* node = nullptr;
    std::string path; // as written after the node
    std::vector<PlugPathPart> parts;
    bool known = false;
    ResolvedPlug plug;
    std::string text() const { return Graph::instance().names().partialPath(node) + "." + path; }
};

bool resolveEnd(CommandRun& run, const std::string& text, PlugEnd& end) {
    std::vector<Node*> nodes;
    if (!text.empty() && text[0] == '.') {
        run.error("'" + text + "' needs its node name.");
        return false;
    }
    if (!splitPlugArgument(run, text, nodes, end.path))
        return false;
    end.node = nodes.front();
    std::string error;
    if (!parsePlugPath(end.path, end.parts, error)) {
        run.error(error + ".");
        return false;
    }
    for (const PlugPathPart& part : end.parts)
        if (part.range) {
            run.error("'" + text + "': a connection takes one plug, not an index range.");
            return false;
        }
    switch (resolvePlugPath(end.node, end.parts, end.plug, error)) {
    case PlugResolution::kError:
        run.error("'" + text + "': " + error + ".");
        return false;
    case PlugResolution::kKnown:
        end.known = true;
        break;
    case PlugResolution::kUnknown:
        // A plug-in defines every attribute of its types (addAttr adds the rest), so a name it
        // does not know is a mistake, as in Maya. The host's built-in types define only part
        // of Maya's attributes: theirs, like those of unknown types, are kept raw.
        if (end.node->type()->plugin) {
            run.error("no attribute '" + error + "' on '" + end.node->name() + "'.");
            return false;
        }
        end.known = false;
        break;
    }
    return true;
}

// Maya reads an array plug named without an index as its element 0 when the other end is a
// single plug: "planeShape.ws" is "planeShape.ws[0]". Two whole arrays connect as arrays.
void takeImpliedElement(PlugEnd& source, PlugEnd& destination) {
    if (!source.known || !destination.known || source.plug.isArray() == destination.plug.isArray())
        return;
    PlugEnd& whole = source.plug.isArray() ? source : destination;
    whole.plug.ref.indices.back() = 0;
    whole.path += "[0]";
    whole.parts.back().indexed = true;
}

bool pathUnder(const std::string& path, const std::string& top) {
    return path == top || (path.size() > top.size() && path.compare(0, top.size(), top) == 0 &&
                           (path[top.size()] == '[' || path[top.size()] == '.'));
}

// Whether a kept connection feeds the destination plug, or a plug above or below it.
bool rawOverlaps(const RawConnection& connection, const PlugEnd& destination) {
    if (pathUnder(connection.destinationPath, destination.path) ||
        pathUnder(destination.path, connection.destinationPath))
        return true;
    if (!destination.known)
        return false;
    std::vector<PlugPathPart> parts;
    ResolvedPlug plug;
    std::string error;
    return parsePlugPath(connection.destinationPath, parts, error) &&
           resolvePlugPath(destination.node, parts, plug, error) == PlugResolution::kKnown &&
           plug.ref.overlaps(destination.plug.ref);
}

// The first free logical index of an array plug: one past every element that holds a value or
// a connection (graph or raw).
int nextIndex(const PlugEnd& end) {
    long long next = 0;
    auto consider = [&](const std::string& path) {
        if (path.compare(0, end.path.size() + 1, end.path + "[") != 0)
            return;
        int index = 0;
        size_t close = path.find_first_of(":]", end.path.size() + 1);
        if (close == std::string::npos)
            return;
        if (path[close] == ':') {
            size_t last = path.find(']', close);
            if (last == std::string::npos ||
                !parseIntText(path.substr(close + 1, last - close - 1), index))
                return;
        } else if (!parseIntText(path.substr(end.path.size() + 1, close - end.path.size() - 1),
                                 index)) {
            return;
        }
        next = std::max(next, static_cast<long long>(index) + 1);
    };
    for (const auto& entry : end.node->rawValues)
        consider(entry.first);
    for (const RawConnection* c : SceneState::instance().rawConnections.into(end.node))
        consider(c->destinationPath);
    if (end.known) {
        const PlugRef& array = end.plug.ref;
        size_t level = array.indices.size() - 1;
        if (Slot* container = end.node->slot(array.attribute, array.indices, false))
            if (!container->elements.empty())
                next =
                    std::max(next, static_cast<long long>(container->elements.rbegin()->first) + 1);
        for (const auto& c : end.node->incoming)
            if (array.covers(c->destination) && level < c->destination.indices.size())
                next = std::max(next, static_cast<long long>(c->destination.indices[level]) + 1);
    }
    // Past the largest index there is no next one: the last is taken again and refused.
    return static_cast<int>(std::min<long long>(next, INT_MAX));
}

// Remembers a connection into a shape's geometry input: once the whole file is read, the reader
// reports shapes whose history the host does not evaluate.
void noteHistory(CommandRun& run, const PlugEnd& destination) {
    const ShapeGeometry* shape = shapeGeometryOf(destination.node->typeName());
    if (run.reading && shape &&
        std::find(shape->inputs.begin(), shape->inputs.end(), destination.parts.front().name) !=
            shape->inputs.end())
        run.reading->history.push_back(
            ReadState::History{destination.node->shared_from_this(), run.line});
}

} // namespace

bool shapeStoresGeometry(const ReadState& reading, const Node* shape) {
    const ShapeGeometry* input = shapeGeometryOf(shape->typeName());
    auto it = reading.written.find(shape);
    if (!input || it == reading.written.end())
        return false;
    for (const std::string& name : input->stored)
        if (it->second.count(name))
            return true;
    return false;
}

bool runConnectAttr(CommandRun& run) {
    const ParsedArgs& args = run.args;
    if (args.positional.size() != 2) {
        run.error("expected the source plug and the destination plug.");
        return false;
    }
    PlugEnd source, destination;
    if (!resolveEnd(run, args.positional[0].text, source) ||
        !resolveEnd(run, args.positional[1].text, destination))
        return false;
    bool lock = false;
    const SceneToken* lockToken = args.value("lock");
    if (lockToken && !tokenBool(*lockToken, lock)) {
        run.error("-lock expects on or off, got '" + lockToken->text + "'.");
        return false;
    }
    const bool force = args.has("force");
    if (args.has("nextAvailable")) {
        if (destination.known && !destination.plug.isArray()) {
            run.error("-nextAvailable needs an array plug; '" + destination.text() +
                      "' is not one.");
            return false;
        }
        if (!destination.known && !destination.parts.back().indexed) {
            int index = nextIndex(destination);
            destination.path += "[" + std::to_string(index) + "]";
            destination.parts.back().indexed = true;
            destination.parts.back().first = destination.parts.back().last = index;
        } else if (destination.known) {
            int index = nextIndex(destination);
            destination.plug.ref.indices.back() = index;
            destination.path += "[" + std::to_string(index) + "]";
        }
    }
    takeImpliedElement(source, destination);
    Graph& graph = Graph::instance();
    std::string error;
    // A kept connection into the destination counts as its input as much as a graph one does.
    SceneState& state = SceneState::instance();
    const RawConnection* replaced = nullptr; // dropped once the new connection is made
    for (const RawConnection* c : state.rawConnections.into(destination.node)) {
        if (!rawOverlaps(*c, destination))
            continue;
        const std::string from = c->source.lock()->name() + "." + c->sourcePath;
        if (c->source.lock().get() == source.node && c->sourcePath == source.path &&
            c->destinationPath == destination.path) {
            run.error("'" + source.text() + "' is already connected to '" + destination.text() +
                      "'.");
            return false;
        }
        if (!force) {
            run.error("'" + destination.text() + "' already has an incoming connection from '" +
                      from + "'.");
            return false;
        }
        replaced = c;
        break;
    }
    if (source.known && destination.known) {
        if (!graph.connect(source.plug.ref, destination.plug.ref, force, &error)) {
            run.error(error);
            return false;
        }
        if (replaced)
            state.rawConnections.remove(replaced);
        noteHistory(run, destination);
        if (lockToken)
            Graph::toMPlug(destination.plug.ref).setLocked(lock);
        run.result = MelValue(Graph::plugName(source.plug.ref) + " " +
                              Graph::plugName(destination.plug.ref));
        return true;
    }
    // A raw connection: nothing flows through it, but it is kept and saved.
    if (destination.known)
        for (const auto& c : destination.node->incoming)
            if (c->destination.overlaps(destination.plug.ref)) {
                if (!force) {
                    run.error("'" + destination.text() +
                              "' already has an incoming connection from '" +
                              Graph::plugName(c->source) + "'.");
                    return false;
                }
                if (!graph.disconnect(c->source, c->destination, &error)) {
                    run.error(error);
                    return false;
                }
                break;
            }
    if (replaced)
        state.rawConnections.remove(replaced);
    RawConnection connection;
    connection.source = source.node->shared_from_this();
    connection.sourcePath = source.path;
    connection.destination = destination.node->shared_from_this();
    connection.destinationPath = destination.path;
    connection.nextAvailable = args.has("nextAvailable");
    connection.locked = lockToken && lock;
    state.rawConnections.add(connection);
    noteHistory(run, destination);
    run.result = MelValue(source.text() + " " + destination.text());
    return true;
}

bool runDisconnectAttr(CommandRun& run) {
    const ParsedArgs& args = run.args;
    if (args.positional.size() != 2) {
        run.error("expected the source plug and the destination plug.");
        return false;
    }
    PlugEnd source, destination;
    if (!resolveEnd(run, args.positional[0].text, source) ||
        !resolveEnd(run, args.positional[1].text, destination))
        return false;
    const bool anyElement = args.has("nextAvailable");
    if (!anyElement)
        takeImpliedElement(source, destination);
    Graph& graph = Graph::instance();
    if (source.known && destination.known) {
        for (const auto& c : std::vector<std::shared_ptr<Connection>>(destination.node->incoming)) {
            bool match = c->source == source.plug.ref &&
                         (c->destination == destination.plug.ref ||
                          (anyElement && destination.plug.ref.covers(c->destination)));
            if (!match)
                continue;
            std::string error;
            if (!graph.disconnect(c->source, c->destination, &error)) {
                run.error(error);
                return false;
            }
            return true;
        }
    }
    SceneState& state = SceneState::instance();
    for (const RawConnection* c : state.rawConnections.into(destination.node)) {
        if (c->source.lock().get() != source.node || c->sourcePath != source.path)
            continue;
        if (c->destinationPath == destination.path ||
            (anyElement && pathUnder(c->destinationPath, destination.path))) {
            state.rawConnections.remove(c);
            return true;
        }
    }
    run.error("'" + source.text() + "' is not connected to '" + destination.text() + "'.");
    return false;
}

bool runListConnections(CommandRun& run) {
    const ParsedArgs& args = run.args;
    bool sources = true, destinations = true, plugs = false, pairs = false, shapes = false;
    for (auto [flag, value] : {std::pair<const char*, bool*>{"source", &sources},
                               {"destination", &destinations},
                               {"plugs", &plugs},
                               {"connections", &pairs},
                               {"shapes", &shapes}})
        if (const SceneToken* token = args.value(flag); token && !tokenBool(*token, *value)) {
            run.error("-" + std::string(flag) + " expects true or false, got '" + token->text +
                      "'.");
            return false;
        }
    std::string type = args.value("type") ? args.value("type")->text : "";
    std::vector<std::string> targets;
    for (const SceneToken& token : args.positional)
        targets.push_back(token.text);
    if (targets.empty())
        for (Node* node : relativeTargets(run))
            targets.push_back(node->name());
    std::vector<std::string> result;
    auto report = [&](const std::string& mine, Node* other, const std::string& otherPlug) {
        if (!type.empty() && other->typeName() != type &&
            !(type == "transform" && isTransformLike(other)))
            return;
        std::string name = otherPlug;
        if (!plugs) {
            Node* shown = other;
            if (!shapes && other->type()->dag && !isTransformLike(other) && other->parent())
                shown = other->parent();
            name = Graph::instance().names().partialPath(shown);
        }
        if (pairs)
            result.push_back(mine);
        result.push_back(name);
    };
    SceneState& state = SceneState::instance();
    const std::vector<const RawConnection*> raw = state.rawConnections.all();
    for (const std::string& target : targets) {
        size_t dot = target.find('.');
        Node* node = findNodeNamed(run, target.substr(0, dot));
        if (!node) {
            run.error(unresolvedName(run, target.substr(0, dot),
                                     "no object matches name '" + target + "'."));
            return false;
        }
        std::string path = dot == std::string::npos ? "" : target.substr(dot + 1);
        PlugEnd end;
        end.node = node;
        end.path = path;
        if (!path.empty()) {
            std::string error;
            if (!parsePlugPath(path, end.parts, error)) {
                run.error(error + ".");
                return false;
            }
            PlugResolution resolution = resolvePlugPath(node, end.parts, end.plug, error);
            if (resolution == PlugResolution::kError) {
                run.error("'" + target + "': " + error + ".");
                return false;
            }
            end.known = resolution == PlugResolution::kKnown;
        }
        auto mine = [&](const PlugRef& ref) {
            return path.empty() || (end.known && end.plug.ref.covers(ref));
        };
        if (sources)
            for (const auto& c : node->incoming)
                if (mine(c->destination))
                    report(Graph::plugName(c->destination), c->source.node,
                           Graph::plugName(c->source));
        if (destinations)
            for (const auto& c : node->outgoing)
                if (mine(c->source))
                    report(Graph::plugName(c->source), c->destination.node,
                           Graph::plugName(c->destination));
        const NodeNames& names = Graph::instance().names();
        for (const RawConnection* c : raw) {
            Node* from = c->source.lock().get();
            Node* to = c->destination.lock().get();
            if (sources && to == node && (path.empty() || pathUnder(c->destinationPath, path)))
                report(names.partialPath(node) + "." + c->destinationPath, from,
                       names.partialPath(from) + "." + c->sourcePath);
            if (destinations && from == node && (path.empty() || pathUnder(c->sourcePath, path)))
                report(names.partialPath(node) + "." + c->sourcePath, to,
                       names.partialPath(to) + "." + c->destinationPath);
        }
    }
    run.result = MelValue(result);
    return true;
}

} // namespace host
