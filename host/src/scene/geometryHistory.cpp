#include "scene/geometryHistory.h"

#include "graph/graph.h"
#include "scene/sceneState.h"

#include <algorithm>
#include <set>

namespace host {

namespace {

// Types the host evaluates that pass geometry on from an input, besides the shapes.
struct PassingType {
    const char* type;
    std::vector<std::string> inputs;
};
const PassingType kPassingTypes[] = {
    {"groupParts", {"inputGeometry", "ig"}},
};

bool listed(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The last attribute name of a plug path as written ("ip[0].ig" -> "ig").
std::string lastAttributeName(const std::string& path) {
    std::string last = path.substr(path.rfind('.') == std::string::npos ? 0 : path.rfind('.') + 1);
    return last.substr(0, last.find('['));
}

// The nodes feeding a node's inputs of the given names, graph and kept connections alike.
std::vector<Node*> sourcesInto(Node& node, const std::vector<std::string>& inputs) {
    std::vector<Node*> sources;
    for (const auto& c : node.incoming)
        if (listed(inputs, c->destination.attribute->name) ||
            listed(inputs, c->destination.attribute->shortName))
            sources.push_back(c->source.node);
    for (const RawConnection* c : SceneState::instance().rawConnections.into(&node)) {
        // A reference node's placeholder stands for a referenced plug: a loaded reference
        // connects that plug too, one that is not loaded is reported as such.
        const std::string from = lastAttributeName(c->sourcePath);
        if (listed(inputs, lastAttributeName(c->destinationPath)) && from != "phl" &&
            from != "placeHolderList")
            sources.push_back(c->source.lock().get());
    }
    return sources;
}

} // namespace

const ShapeGeometry* shapeGeometryOf(const std::string& type) {
    static const ShapeGeometry shapes[] = {{"mesh", {"i", "inMesh"}, {"vt", "vrts", "fc", "face"}},
                                           {"nurbsSurface", {"cr", "create"}, {"cc", "cached"}},
                                           {"nurbsCurve", {"cr", "create"}, {"cc", "cached"}},
                                           {"subdiv", {"cr", "create"}, {"cc", "cached"}}};
    for (const ShapeGeometry& shape : shapes)
        if (type == shape.type)
            return &shape;
    return nullptr;
}

bool evaluatesGeometry(const Node& node, std::vector<std::string>& inputs) {
    inputs.clear();
    if (node.type()->generic)
        return false;
    for (const PassingType& passing : kPassingTypes)
        if (node.typeName() == passing.type) {
            inputs = passing.inputs;
            return true;
        }
    // Deformers (those passed through unchanged too) take geometry in on each input.
    if (node.hasFn(MFn::kGeometryFilt)) {
        inputs = {"inputGeometry", "ig"};
        return true;
    }
    if (const ShapeGeometry* shape = shapeGeometryOf(node.typeName()))
        inputs = shape->inputs;
    return true;
}

Node* firstUnevaluatedHistory(Node& shape) {
    const ShapeGeometry* geometry = shapeGeometryOf(shape.typeName());
    if (!geometry)
        return nullptr;
    std::set<const Node*> visited{&shape};
    std::vector<Node*> pending = sourcesInto(shape, geometry->inputs);
    std::vector<std::string> inputs;
    // Nearest first: the walk goes up one node at a time, in connection order.
    for (size_t next = 0; next < pending.size(); ++next) {
        Node* node = pending[next];
        if (!node || !node->alive() || !visited.insert(node).second)
            continue;
        if (!evaluatesGeometry(*node, inputs))
            return node;
        for (Node* source : sourcesInto(*node, inputs))
            pending.push_back(source);
    }
    return nullptr;
}

} // namespace host
