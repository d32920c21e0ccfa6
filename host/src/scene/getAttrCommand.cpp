// getAttr.

#include "scene/attributeValues.h"
#include "scene/plugPath.h"
#include "scene/rawValues.h"
#include "scene/sceneCommands.h"
#include "scene/typedValues.h"
#include "scene/valueText.h"

#include "data/dataObjects.h"
#include "graph/graph.h"

#include <maya/MGlobal.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <set>
#include <sstream>

namespace host {

namespace {

std::string typeNameOf(const AttributeDef* attribute, const Slot* slot) {
    using Kind = AttributeDef::Kind;
    switch (attribute->kind) {
    case Kind::Message:
        return "message";
    case Kind::Enum:
        return "enum";
    case Kind::Compound:
        return attribute->numericCompound ? valueTypeName(attribute) : "TdataCompound";
    case Kind::Typed:
        if (attribute->dataType == MFnData::kString)
            return "string";
        if (slot)
            if (const TypedValueFormat* format = formatOwning(slot->data))
                return format->typeName;
        return "data";
    case Kind::Numeric:
        break;
    }
    switch (attribute->numericType) {
    case MFnNumericData::kBoolean:
        return "bool";
    case MFnNumericData::kByte:
        return "byte";
    case MFnNumericData::kChar:
        return "char";
    case MFnNumericData::kShort:
        return "short";
    case MFnNumericData::kInt:
        return "long";
    case MFnNumericData::kFloat:
        return isAngleAttribute(attribute) ? "floatAngle" : "float";
    default:
        return isAngleAttribute(attribute) ? "doubleAngle" : "double";
    }
}

bool wholeNumber(const AttributeDef* attribute) {
    if (attribute->kind == AttributeDef::Kind::Enum)
        return true;
    switch (attribute->numericType) {
    case MFnNumericData::kBoolean:
    case MFnNumericData::kByte:
    case MFnNumericData::kChar:
    case MFnNumericData::kShort:
    case MFnNumericData::kInt:
        return true;
    default:
        return false;
    }
}

// Logical indices of an array plug: elements that hold values or connections.
std::set<int> existingIndices(Node* node, const std::string& path, const ResolvedPlug* plug) {
    std::set<int> indices;
    auto addFromPath = [&](const std::string& other) {
        if (other.compare(0, path.size() + 1, path + "[") != 0)
            return;
        int index = 0;
        size_t close = other.find_first_of(":]", path.size() + 1);
        if (close != std::string::npos &&
            parseIntText(other.substr(path.size() + 1, close - path.size() - 1), index)) {
            if (other[close] == ':') {
                int last = 0;
                size_t end = other.find(']', close);
                if (end != std::string::npos &&
                    parseIntText(other.substr(close + 1, end - close - 1), last))
                    for (int i = index; i <= last && i - index < 1000000; ++i)
                        indices.insert(i);
            } else {
                indices.insert(index);
            }
        }
    };
    for (const auto& entry : node->rawValues)
        addFromPath(entry.first);
    for (const RawConnection* c : SceneState::instance().rawConnections.all()) {
        if (c->source.lock().get() == node)
            addFromPath(c->sourcePath);
        if (c->destination.lock().get() == node)
            addFromPath(c->destinationPath);
    }
    if (plug) {
        PlugRef array = plug->ref;
        size_t level = array.indices.size() - 1;
        if (Slot* container = node->slot(array.attribute, array.indices, false))
            for (const auto& element : container->elements)
                indices.insert(static_cast<int>(element.first));
        for (const auto* list : {&node->incoming, &node->outgoing})
            for (const auto& c : *list) {
                const PlugRef& end = list == &node->incoming ? c->destination : c->source;
                if (array.covers(end) && level < end.indices.size() && end.indices[level] >= 0)
                    indices.insert(end.indices[level]);
            }
    }
    return indices;
}

MelValue rawValueOf(const RawSetting& setting) {
    if (rawType(setting) == "string" && setting.values.size() == 1)
        return MelValue(setting.values[0].text);
    std::vector<double> numbers;
    for (const SceneToken& token : setting.values) {
        double value = 0.0;
        if (!parseNumberText(token.text, value)) {
            std::vector<std::string> words;
            for (const SceneToken& t : setting.values)
                words.push_back(t.text);
            return words.size() == 1 ? MelValue(words[0]) : MelValue(words);
        }
        numbers.push_back(value);
    }
    if (numbers.size() == 1)
        return MelValue(numbers[0]);
    return MelValue(numbers);
}

} // namespace

bool runGetAttr(CommandRun& run) {
    const ParsedArgs& args = run.args;
    if (args.positional.size() != 1) {
        run.error("expected one plug.");
        return false;
    }
    std::vector<Node*> nodes;
    std::string path;
    if (!splitPlugArgument(run, args.positional[0].text, nodes, path))
        return false;
    Node* node = nodes.front();
    const std::string plugText = node->name() + "." + path;
    std::vector<PlugPathPart> parts;
    std::string error;
    if (!parsePlugPath(path, parts, error)) {
        run.error(error + ".");
        return false;
    }
    ResolvedPlug plug;
    PlugResolution resolution = resolvePlugPath(node, parts, plug, error);
    if (resolution == PlugResolution::kError) {
        run.error("'" + plugText + "': " + error + ".");
        return false;
    }
    if (resolution == PlugResolution::kUnknown) {
        std::set<int> indices = existingIndices(node, path, nullptr);
        if (args.has("multiIndices") || args.has("size")) {
            if (args.has("size"))
                run.result = MelValue(static_cast<int>(indices.size()));
            else
                run.result = MelValue(std::vector<int>(indices.begin(), indices.end()));
            return true;
        }
        auto it = node->rawValues.find(path);
        if (it == node->rawValues.end()) {
            if (args.has("silent"))
                return true;
            run.error("'" + node->name() + "' has no attribute '" + path + "'" +
                      (node->type()->generic ? "" : " with a value") + ".");
            return false;
        }
        RawSetting setting = decodeRawSetting(it->second);
        if (args.has("type"))
            run.result = MelValue(rawType(setting));
        else if (args.has("lock"))
            run.result = MelValue(it->second.find("-l on") != std::string::npos ? 1 : 0);
        else
            run.result = rawValueOf(setting);
        return true;
    }
    const AttributeDef* attribute = plug.ref.attribute;
    if (args.has("multiIndices") || args.has("size")) {
        if (!plug.isArray()) {
            run.error("'" + plugText + "' is not an array attribute.");
            return false;
        }
        std::set<int> indices = existingIndices(node, path, &plug);
        if (args.has("size"))
            run.result = MelValue(static_cast<int>(indices.size()));
        else
            run.result = MelValue(std::vector<int>(indices.begin(), indices.end()));
        return true;
    }
    if (args.has("lock")) {
        run.result = MelValue(plugLocked(plug.ref) ? 1 : 0);
        return true;
    }
    if (args.has("keyable") || args.has("channelBox")) {
        bool keyable = args.has("keyable");
        bool value = keyable ? attribute->keyable : attribute->channelBox;
        if (NodeExtras* extras = SceneState::instance().extras(node, false)) {
            auto it = extras->plugFlags.find(shortPlugPath(plug.ref));
            if (it != extras->plugFlags.end()) {
                int state = keyable ? it->second.keyable : it->second.channelBox;
                if (state >= 0)
                    value = state != 0;
            }
        }
        run.result = MelValue(value ? 1 : 0);
        return true;
    }
    Graph& graph = Graph::instance();
    if (args.has("type")) {
        run.result = MelValue(typeNameOf(attribute, graph.pull(plug.ref)));
        return true;
    }
    if (plug.isArray()) {
        run.error("'" + plugText + "' is an array: give an index or a range.");
        return false;
    }
    if (attribute->kind == AttributeDef::Kind::Typed) {
        if (attribute->dataType != MFnData::kString) {
            run.error("'" + plugText + "' holds data that getAttr cannot show.");
            return false;
        }
        std::vector<std::string> strings;
        for (size_t k = 0; k < plug.count(); ++k) {
            Slot* slot = graph.pull(plug.element(k));
            strings.push_back(slot ? slot->text.asChar() : "");
        }
        run.result = strings.size() == 1 ? MelValue(strings[0]) : MelValue(strings);
        return true;
    }
    std::vector<const AttributeDef*> leaves = numericLeaves(attribute);
    if (leaves.empty()) {
        run.error("'" + plugText + "' holds no value getAttr can show.");
        return false;
    }
    std::vector<std::vector<int>> paths;
    std::vector<int> prefix;
    leafPaths(attribute, prefix, paths);
    const double radians = activeUnits(run).radiansPerAngleUnit();
    std::vector<double> numbers;
    for (size_t k = 0; k < plug.count(); ++k) {
        Slot* slot = graph.pull(plug.element(k));
        for (size_t j = 0; j < leaves.size(); ++j) {
            const Slot* leaf = slot;
            for (int child : paths[j])
                leaf = leaf && static_cast<size_t>(child) < leaf->children.size()
                           ? &leaf->children[static_cast<size_t>(child)]
                           : nullptr;
            double value = leaf ? leaf->get(leaves[j]) : 0.0;
            if (isAngleAttribute(leaves[j]))
                value /= radians;
            numbers.push_back(value);
        }
    }
    if (numbers.size() == 1)
        run.result =
            wholeNumber(leaves[0]) ? MelValue(static_cast<int>(numbers[0])) : MelValue(numbers[0]);
    else
        run.result = MelValue(numbers);
    return true;
}

} // namespace host
