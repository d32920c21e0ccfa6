#include "shading/shadingNetwork.h"

#include "graph/graph.h"

#include <maya/MFloatVector.h>
#include <maya/MFloatVectorArray.h>

namespace host {

namespace {

// Deeper than any real network: a longer chain of connections is a cycle.
constexpr int kMaxDepth = 64;

void resize(MFloatVectorArray& array, int count) {
    array.clear();
    array.setLength(static_cast<unsigned int>(count));
}

void fill(MFloatVectorArray& array, const MFloatVector& value) {
    for (unsigned int i = 0; i < array.length(); ++i)
        array[i] = value;
}

bool isArrayPlug(const PlugRef& plug) {
    return plug.attribute->array && !plug.indices.empty() && plug.indices.back() < 0;
}

// An incoming connection into an ancestor of the plug (its numeric compound, an array above).
const Connection* connectionAbove(const PlugRef& plug) {
    for (const auto& c : plug.node->incoming)
        if (c->destination.covers(plug) && !(c->destination == plug))
            return c.get();
    return nullptr;
}

MStatus sample(const PlugRef& plug, const ShadingInputs& inputs, MFloatVectorArray& colors,
               MFloatVectorArray& transparencies, std::string* error, int depth);

// Colours made of per-component samples: component k of each result is the x of the samples
// of child k (a child's x is its value, or that component of what feeds it).
MStatus sampleComponents(const PlugRef& plug, const ShadingInputs& inputs,
                         MFloatVectorArray& colors, MFloatVectorArray& transparencies,
                         std::string* error, int depth) {
    MFloatVectorArray childColors, childTransparencies;
    for (int k = 0; k < 3; ++k) {
        PlugRef child{plug.node, plug.attribute->children[static_cast<size_t>(k)].get(),
                      plug.indices};
        MStatus status = sample(child, inputs, childColors, childTransparencies, error, depth + 1);
        if (!status)
            return status;
        for (int i = 0; i < inputs.count; ++i) {
            unsigned int s = static_cast<unsigned int>(i);
            colors[s][static_cast<unsigned int>(k)] = childColors[s].x;
            transparencies[s][static_cast<unsigned int>(k)] = childTransparencies[s].x;
        }
    }
    return MS::kSuccess;
}

MStatus sample(const PlugRef& plug, const ShadingInputs& inputs, MFloatVectorArray& colors,
               MFloatVectorArray& transparencies, std::string* error, int depth) {
    const std::string name = Graph::plugName(plug);
    if (depth > kMaxDepth) {
        *error = "the connections into '" + name + "' form a cycle";
        return MS::kFailure;
    }
    resize(colors, inputs.count);
    resize(transparencies, inputs.count);
    Graph& graph = Graph::instance();

    if (const Connection* c = graph.incomingTo(plug))
        return sample(c->source, inputs, colors, transparencies, error, depth + 1);
    if (const Connection* c = connectionAbove(plug)) {
        const AttributeDef* parent = plug.attribute->parent;
        if (c->destination.attribute == parent && parent->numericCompound &&
            parent->children.size() == 3) {
            unsigned int k = static_cast<unsigned int>(parent->childIndex(plug.attribute));
            MStatus status =
                sample(c->destination, inputs, colors, transparencies, error, depth + 1);
            if (!status)
                return status;
            for (unsigned int i = 0; i < colors.length(); ++i) {
                float value = colors[i][k];
                float transparency = transparencies[i][k];
                colors[i] = MFloatVector(value, value, value);
                transparencies[i] = MFloatVector(transparency, transparency, transparency);
            }
            return MS::kSuccess;
        }
        // Connected at an array or compound further up: the value it brings is the sample.
    }

    const std::string& type = plug.node->typeName();
    if (const ShadingSampler* sampler = SamplerRegistry::instance().find(type)) {
        std::string reason;
        MStatus status = (*sampler)(plug, inputs, colors, transparencies, &reason);
        if (!(status == MS::kNotImplemented)) {
            if (!status)
                *error = "'" + name + "': " + reason;
            return status;
        }
        // The sampler leaves the node's inputs to the plain rules below.
    }
    if (plug.node->type()->generic || plug.node->type()->isComputed(plug.attribute)) {
        *error = "'" + name + "' is an output of a node of type '" + type +
                 "', which the host cannot sample";
        return MS::kFailure;
    }
    if (isArrayPlug(plug)) {
        *error = "'" + name + "' is an array, not a colour or a float";
        return MS::kFailure;
    }
    const AttributeDef* attribute = plug.attribute;
    if (attribute->numericCompound && attribute->children.size() == 3)
        return sampleComponents(plug, inputs, colors, transparencies, error, depth);
    if (attribute->isNumericLike() && attribute->children.empty()) {
        Slot* slot = graph.pull(plug);
        if (!slot) {
            *error = "'" + name + "' cannot be read";
            return MS::kFailure;
        }
        float value = static_cast<float>(slot->get(attribute));
        fill(colors, MFloatVector(value, value, value));
        return MS::kSuccess;
    }
    *error = "'" + name + "' holds neither a colour nor a float";
    return MS::kFailure;
}

} // namespace

MStatus sampleShadingPlug(const PlugRef& plug, const ShadingInputs& inputs,
                          MFloatVectorArray& colors, MFloatVectorArray& transparencies,
                          std::string* error) {
    if (!plug.node || !plug.node->alive() || !plug.attribute) {
        *error = "the plug does not exist";
        return MS::kFailure;
    }
    return sample(plug, inputs, colors, transparencies, error, 0);
}

} // namespace host
