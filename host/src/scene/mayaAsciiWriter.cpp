#include "scene/mayaAsciiWriter.h"

#include "graph/graph.h"
#include "plugin/plugin.h"
#include "scene/attributeValues.h"
#include "scene/rawValues.h"
#include "scene/references.h"
#include "scene/sceneCommands.h"
#include "scene/sceneState.h"
#include "scene/typedValues.h"
#include "scene/valueText.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace host {

namespace {

// Values per line before a long setAttr wraps, as Maya wraps them.
constexpr size_t kWrapColumn = 100;

std::string baseName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// An angle stored in radians, in the file's unit: the shortest text that reads back to the same
// radians (so 30 degrees stays "30" rather than 29.999999999999996).
std::string angleText(double radians, double perUnit) {
    const double value = radians / perUnit;
    char text[40];
    for (int precision = 15; precision <= 17; ++precision) {
        std::snprintf(text, sizeof text, "%.*g", precision, value);
        if (std::strtod(text, nullptr) * perUnit == radians)
            return text;
    }
    return formatDouble(value);
}

// Appends words, wrapping onto lines indented by two tabs.
class ValueLine {
  public:
    explicit ValueLine(std::string& out) : out_(out) {}
    void add(const std::string& word) {
        if (column_ > kWrapColumn) {
            out_ += "\n\t\t";
            column_ = 0;
        } else {
            out_ += ' ';
        }
        out_ += word;
        column_ += word.size() + 1;
    }

  private:
    std::string& out_;
    size_t column_ = 0;
};

class SceneWriter {
  public:
    explicit SceneWriter(std::vector<std::string>& warnings)
        : state_(SceneState::instance()), warnings_(warnings) {}

    // Every value of the node as setAttr statements, defaults included.
    std::vector<std::string> valueLines(Node& node) {
        everyValue_ = true;
        writeValues(&node);
        std::vector<std::string> lines;
        size_t start = 0;
        for (size_t end = out_.find(";\n"); end != std::string::npos;
             start = end + 2, end = out_.find(";\n", start))
            lines.push_back(out_.substr(start, end + 1 - start));
        return lines;
    }

    std::string write(const std::string& path) {
        state_.rawConnections.prune();
        const std::string name = baseName(path);
        const std::string version = state_.mayaVersion.empty() ? "2013" : state_.mayaVersion;
        char date[64] = "";
        std::time_t now = std::time(nullptr);
        std::strftime(date, sizeof date, "%a, %b %d, %Y %I:%M:%S %p", std::localtime(&now));
        out_ += "//Maya ASCII " + version + " scene\n";
        out_ += "//Name: " + name + "\n";
        out_ += "//Last modified: " + std::string(date) + "\n";
        out_ += "//Codeset: UTF-8\n";
        for (const std::string& reference : state_.references)
            out_ += reference + ";\n";
        out_ += "requires maya " + quoteText(version) + ";\n";
        writeRequirements();
        const SceneUnits& units = state_.units;
        out_ +=
            "currentUnit -l " + units.linear + " -a " + units.angular + " -t " + units.time + ";\n";
        for (const std::string& rule : state_.workspaceRules)
            out_ += rule + ";\n";
        for (const auto& [key, value] : state_.fileInfo)
            out_ += "fileInfo " + quoteText(key) + " " + quoteText(value) + ";\n";
        for (const std::string& structure : state_.dataStructures)
            out_ += structure + ";\n";
        sortKeptCommands();
        writeKept(kept_[nullptr]);
        for (NewReferenceEdits& edits : referenceEditsSinceLoading(warnings_))
            newEdits_[edits.referenceNode] = std::move(edits.edits);
        std::vector<Node*> nodes = Graph::instance().nodes();
        for (Node* node : nodes)
            if (!isImplicit(node) && !isReferenced(node))
                writeNode(node);
        for (Node* node : nodes)
            if (isImplicit(node))
                writeDefaultNode(node);
        writeConnections(nodes);
        for (const std::string& relationship : state_.relationships)
            out_ += relationship + ";\n";
        writeKept(tail_);
        for (const std::string& text : state_.unkeptText)
            warnings_.push_back(text + " could not be read as a command and is not saved.");
        out_ += "// End of " + name + "\n";
        return out_;
    }

  private:
    // The commands read files held that the host did not apply, by where they go.
    void sortKeptCommands() {
        for (const KeptCommand& command : state_.keptCommands) {
            if (command.place == KeptCommand::Place::kTail) {
                tail_.push_back(&command);
                continue;
            }
            std::shared_ptr<Node> node = command.node.lock();
            if (command.place == KeptCommand::Place::kNode && (!node || !node->alive())) {
                warnings_.push_back("the command at " + command.where +
                                    " belonged to a node that has been deleted; it is not "
                                    "saved.");
                continue;
            }
            kept_[node.get()].push_back(&command);
        }
    }

    void writeKept(const std::vector<const KeptCommand*>& commands, bool beforeValues = false,
                   const char* indent = "") {
        for (const KeptCommand* command : commands)
            if (command->beforeValues == beforeValues || !*indent)
                out_ += indent + command->text + "\n";
    }

    static Node* writtenParent(Node* node) { return writtenParentOf(node); }

    bool isImplicit(const Node* node) const {
        const NodeExtras* extras = state_.extras(node, false);
        return extras && extras->implicit;
    }

    // The node's name as connections and selections write it: default nodes in the root
    // namespace, a DAG node that shares its short name by its full path.
    std::string reference(const Node* node) const {
        return (isImplicit(node) ? ":" : "") + Graph::instance().names().uniqueName(node);
    }

    void writeRequirements() {
        std::set<std::string> listed;
        for (const Requirement& requirement : state_.requirements) {
            out_ += requirement.text + ";\n";
            listed.insert(requirement.plugin);
        }
        for (Node* node : Graph::instance().nodes()) {
            Plugin* plugin = node->type()->plugin;
            if (!plugin || isReferenced(node) || !listed.insert(plugin->name).second)
                continue;
            out_ +=
                "requires " + quoteText(plugin->name) + " " + quoteText(plugin->version) + ";\n";
        }
    }

    // Writes the node after those of its parents not written yet.
    void writeNode(Node* node) {
        std::vector<Node*> chain;
        for (Node* n = node; n && !written_.count(n) && !isImplicit(n) && !isReferenced(n);
             n = writtenParent(n))
            chain.push_back(n);
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            written_.insert(*it);
            writeNodeBlock(*it);
        }
    }

    void writeNodeBlock(Node* node) {
        const NodeExtras* extras = state_.extras(node, false);
        out_ += "createNode " + node->typeName();
        if (extras && extras->shared)
            out_ += " -s";
        out_ += " -n " + quoteText(node->name());
        if (Node* parent = writtenParent(node))
            out_ += " -p " + quoteText(Graph::instance().names().uniqueName(parent));
        out_ += ";\n";
        if (extras && !extras->uid.empty())
            out_ += "\trename -uid " + quoteText(extras->uid) + ";\n";
        writeContents(node);
        if (node->locked)
            out_ += "lockNode -l 1 ;\n";
    }

    void writeDefaultNode(Node* node) {
        out_ += "select -ne " + reference(node) + ";\n";
        writeContents(node);
        if (node->locked)
            out_ += "lockNode -l 1 ;\n";
    }

    // Dynamic attributes and values, with the commands of the node's block that the host kept
    // without applying them (addAttr among the attributes).
    void writeContents(Node* node) {
        const std::vector<const KeptCommand*>& kept = kept_[node];
        for (const AttributeDef* top : node->topAttributes())
            if (top->dynamic)
                writeAddAttr(node, top, nullptr);
        writeKept(kept, true, "\t");
        writeValues(node);
        writeKept(kept, false, "\t");
    }

    // ---- addAttr ------------------------------------------------------------------------------

    std::string attributeType(const AttributeDef* a, const DynamicAttributeInfo* info) {
        if (info && !info->typeName.empty())
            return (info->dataType ? "-dt " : "-at ") + quoteText(info->typeName);
        using Kind = AttributeDef::Kind;
        switch (a->kind) {
        case Kind::Message:
            return "-at \"message\"";
        case Kind::Enum:
            return "-at \"enum\"";
        case Kind::Compound:
            return "-at " + quoteText(a->numericCompound ? valueTypeName(a) : "compound");
        case Kind::Typed: {
            if (a->dataType == MFnData::kMatrix)
                return "-at \"matrix\"";
            static const std::pair<MFnData::Type, const char*> names[] = {
                {MFnData::kString, "string"},
                {MFnData::kStringArray, "stringArray"},
                {MFnData::kDoubleArray, "doubleArray"},
                {MFnData::kIntArray, "Int32Array"},
                {MFnData::kPointArray, "pointArray"},
                {MFnData::kVectorArray, "vectorArray"},
                {MFnData::kMesh, "mesh"},
                {MFnData::kNurbsCurve, "nurbsCurve"},
                {MFnData::kNurbsSurface, "nurbsSurface"},
                {MFnData::kComponentList, "componentList"}};
            for (const auto& [type, text] : names)
                if (a->dataType == type)
                    return "-dt " + quoteText(text);
            if (a->dataType == MFnData::kPlugin)
                for (DataType* type : TypeRegistry::instance().dataTypes())
                    if (type->id.id() == a->pluginTypeId)
                        return "-dt " + quoteText(type->name);
            return "-dt \"string\"";
        }
        case Kind::Numeric:
            break;
        }
        switch (a->numericType) {
        case MFnNumericData::kBoolean:
            return "-at \"bool\"";
        case MFnNumericData::kByte:
            return "-at \"byte\"";
        case MFnNumericData::kChar:
            return "-at \"char\"";
        case MFnNumericData::kShort:
            return "-at \"short\"";
        case MFnNumericData::kInt:
            return "-at \"long\"";
        case MFnNumericData::kFloat:
            return "-at \"float\"";
        case MFnNumericData::kAddr:
            return "-at \"addr\"";
        default:
            return "-at \"double\"";
        }
    }

    void writeAddAttr(Node* node, const AttributeDef* a, const AttributeDef* parent) {
        const DynamicAttributeInfo* info = state_.attributeInfo(a, false);
        std::string line = "\taddAttr";
        if (a->disconnectBehavior != MFnAttribute::kNothing)
            line += " -dcb " + std::to_string(static_cast<int>(a->disconnectBehavior));
        if (!a->storable)
            line += " -s false";
        if (!a->readable)
            line += " -r false";
        if (!a->writable)
            line += " -w false";
        line += " -ci true";
        if (info && info->proxy)
            line += " -uap";
        if (a->keyable)
            line += " -k true";
        if (a->hidden)
            line += " -h true";
        if (a->usedAsColor)
            line += " -uac";
        if (a->array)
            line += " -m";
        if (a->array && !a->indexMatters)
            line += " -im false";
        line += " -sn " + quoteText(a->shortName) + " -ln " + quoteText(a->name);
        if (info)
            for (const std::string& flag : info->extraFlags)
                line += " " + flag;
        if (a->isNumericLike()) {
            const double angle = isAngleAttribute(a) ? state_.units.radiansPerAngleUnit() : 1.0;
            if (a->defaultValue != 0.0)
                line += " -dv " + (angle != 1.0 ? angleText(a->defaultValue, angle)
                                                : formatDouble(a->defaultValue));
            if (a->hasMin)
                line += " -min " + formatDouble(a->minValue);
            if (a->hasMax)
                line += " -max " + formatDouble(a->maxValue);
            if (a->hasSoftMin)
                line += " -smn " + formatDouble(a->softMinValue);
            if (a->hasSoftMax)
                line += " -smx " + formatDouble(a->softMaxValue);
        }
        if (a->kind == AttributeDef::Kind::Enum && !a->enumFields.empty()) {
            std::string fields;
            short next = 0;
            for (const auto& [name, value] : a->enumFields) {
                fields += (fields.empty() ? "" : ":") + name;
                if (value != next)
                    fields += "=" + std::to_string(value);
                next = static_cast<short>(value + 1);
            }
            line += " -en " + quoteText(fields);
        }
        if (a->isCompound())
            line += " -nc " + std::to_string(info && info->declaredChildren >= 0
                                                 ? info->declaredChildren
                                                 : static_cast<int>(a->children.size()));
        line += " " + attributeType(a, info);
        if (parent)
            line += " -p " + quoteText(parent->name);
        out_ += line + ";\n";
        for (const auto& child : a->children)
            writeAddAttr(node, child.get(), a);
    }

    // ---- setAttr ------------------------------------------------------------------------------

    std::string numberText(const AttributeDef* leaf, double value) {
        if (isAngleAttribute(leaf))
            return angleText(value, state_.units.radiansPerAngleUnit());
        if (leaf->kind == AttributeDef::Kind::Enum)
            return std::to_string(static_cast<int>(value));
        switch (leaf->numericType) {
        case MFnNumericData::kBoolean:
            return value != 0.0 ? "yes" : "no";
        case MFnNumericData::kByte:
        case MFnNumericData::kChar:
        case MFnNumericData::kShort:
        case MFnNumericData::kInt:
        case MFnNumericData::kAddr:
            return std::to_string(static_cast<long long>(value));
        case MFnNumericData::kFloat:
            return formatFloat(static_cast<float>(value));
        default:
            return formatDouble(value);
        }
    }

    // The numbers of a value made of numeric leaves, as files list them.
    void leafValues(const AttributeDef* a, const Slot& slot, std::vector<std::string>& words) {
        if (a->children.empty()) {
            words.push_back(numberText(a, slot.get(a)));
            return;
        }
        for (size_t i = 0; i < a->children.size() && i < slot.children.size(); ++i)
            leafValues(a->children[i].get(), slot.children[i], words);
    }

    bool differsFromDefault(const AttributeDef* a, const Slot& slot) {
        if (a->children.empty())
            return slot.get(a) != Slot::make(a, false).get(a);
        for (size_t i = 0; i < a->children.size() && i < slot.children.size(); ++i)
            if (differsFromDefault(a->children[i].get(), slot.children[i]))
                return true;
        return false;
    }

    bool fedByConnection(const PlugRef& plug) {
        for (const auto& c : plug.node->incoming)
            if (c->destination.covers(plug))
                return true;
        return false;
    }

    bool touchedByConnection(const PlugRef& plug) {
        for (const auto& c : plug.node->incoming)
            if (c->destination.overlaps(plug))
                return true;
        return false;
    }

    void setAttrLine(const std::string& path, const std::string& flags,
                     const std::vector<std::string>& words) {
        std::string line = "\tsetAttr" + flags + " " + quoteText("." + path);
        ValueLine values(line);
        for (const std::string& word : words)
            values.add(word);
        out_ += line + ";\n";
    }

    void writeValues(Node* node) {
        for (const AttributeDef* top : node->topAttributes()) {
            PlugRef plug{node, top, std::vector<int>(static_cast<size_t>(top->arrayDepth()), -1)};
            writeAttribute(plug);
        }
        const auto newEdits = newEdits_.find(node);
        bool editsWritten = false;
        for (const auto& [path, text] : node->rawValues) {
            RawSetting setting = decodeRawSetting(text);
            // A reference node's edits, with those made since the reference was loaded.
            if (newEdits != newEdits_.end() && (path == "ed" || path == "edits")) {
                appendEdits(setting.values, node, newEdits->second);
                editsWritten = true;
            }
            // As Maya writes them: flags before the plug, the type after it.
            std::string flags;
            std::vector<std::string> words;
            for (size_t i = 0; i < setting.flags.size(); ++i) {
                const SceneToken& token = setting.flags[i];
                if ((token.text == "-type" || token.text == "-typ") &&
                    i + 1 < setting.flags.size()) {
                    words.push_back("-type");
                    words.push_back(tokenText(setting.flags[++i]));
                    continue;
                }
                flags += " " + tokenText(token);
            }
            for (const SceneToken& token : setting.values)
                words.push_back(tokenText(token));
            setAttrLine(path, flags, words);
        }
        if (newEdits != newEdits_.end() && !editsWritten) {
            std::vector<std::string> words{"-type", quoteText("dataReferenceEdits")};
            std::vector<SceneToken> values;
            appendEdits(values, node, newEdits->second);
            for (const SceneToken& token : values)
                words.push_back(tokenText(token));
            setAttrLine("ed", "", words);
        }
        if (const NodeExtras* extras = state_.extras(node, false))
            for (const auto& [path, flags] : extras->plugFlags) {
                std::string text;
                if (flags.keyable >= 0)
                    text += flags.keyable ? " -k on" : " -k off";
                if (flags.channelBox >= 0)
                    text += flags.channelBox ? " -cb on" : " -cb off";
                if (!text.empty())
                    setAttrLine(path, text, {});
            }
        for (const std::string& path : node->lockedPlugs) {
            bool connected = false;
            PlugRef ref;
            if (resolvePlug(node, path, ref))
                connected = fedByConnection(ref);
            if (!connected)
                setAttrLine(path, " -l on", {});
        }
    }

    // Adds the edits made since loading to a reference node's ".ed" words, as a section of
    // their own.
    static void appendEdits(std::vector<SceneToken>& values, const Node* node,
                            const std::vector<ReferenceEdit>& edits) {
        if (values.empty()) {
            SceneToken owner;
            owner.text = node->name();
            owner.quoted = true;
            values.push_back(owner);
        }
        ReferenceEditSection section;
        section.referenceNode = node->name();
        section.edits = edits;
        for (SceneToken& token : referenceEditWords(section))
            values.push_back(std::move(token));
    }

    void writeAttribute(const PlugRef& plug) {
        const AttributeDef* a = plug.attribute;
        Node* node = plug.node;
        if (!a->storable || a->kind == AttributeDef::Kind::Message || node->type()->isComputed(a) ||
            fedByConnection(plug))
            return;
        if (a->array && (plug.indices.empty() || plug.indices.back() < 0)) {
            Slot* container = node->slot(a, plug.indices, false);
            if (!container || container->elements.empty())
                return;
            if (!numericLeaves(a).empty())
                writeNumericElements(plug, *container);
            else if (a->kind == AttributeDef::Kind::Typed && a->dataType != MFnData::kString)
                writeDataElements(plug, *container);
            else
                for (const auto& element : container->elements) {
                    PlugRef child = plug;
                    child.indices.back() = static_cast<int>(element.first);
                    writeAttribute(child);
                }
            return;
        }
        Slot* slot = node->slot(a, plug.indices, false);
        if (!slot)
            return;
        if (a->isCompound() && !a->numericCompound) {
            for (const auto& child : a->children) {
                PlugRef childPlug{node, child.get(), plug.indices};
                if (child->array)
                    childPlug.indices.push_back(-1);
                writeAttribute(childPlug);
            }
            return;
        }
        const std::string path = shortPlugPath(plug);
        if (a->numericCompound) {
            if (touchedByConnection(plug)) {
                for (const auto& child : a->children)
                    writeAttribute(PlugRef{node, child.get(), plug.indices});
                return;
            }
            if (!everyValue_ && !differsFromDefault(a, *slot))
                return;
            std::vector<std::string> words;
            leafValues(a, *slot, words);
            std::string line =
                "\tsetAttr " + quoteText("." + path) + " -type " + quoteText(valueTypeName(a));
            ValueLine values(line);
            for (const std::string& word : words)
                values.add(word);
            out_ += line + " ;\n";
            return;
        }
        if (a->isNumericLike()) {
            if (everyValue_ || differsFromDefault(a, *slot))
                setAttrLine(path, "", {numberText(a, slot->get(a))});
            return;
        }
        if (a->kind != AttributeDef::Kind::Typed)
            return;
        if (a->dataType == MFnData::kString) {
            Slot defaults = Slot::make(a, false);
            if (everyValue_ || std::string(slot->text.asChar()) != defaults.text.asChar())
                out_ += "\tsetAttr " + quoteText("." + path) + " -type \"string\" " +
                        quoteText(slot->text.asChar()) + ";\n";
            return;
        }
        if (slot->data.isNull() || (!everyValue_ && slot->data.impl() == a->defaultData.impl()))
            return;
        const TypedValueFormat* format = formatOwning(slot->data);
        if (!format) {
            warnings_.push_back("'" + node->name() + "." + path +
                                "' holds data that has no text form in scene files; it is not "
                                "saved.");
            return;
        }
        out_ += "\tsetAttr " + quoteText("." + path) + " -type " + quoteText(format->typeName) +
                " " + format->format(slot->data) + ";\n";
    }

    // Elements of an array of numbers (or of compounds of numbers), in runs of consecutive
    // indices: setAttr -s 8 ".vt[0:7]" ...
    void writeNumericElements(const PlugRef& array, const Slot& container) {
        const AttributeDef* a = array.attribute;
        const std::string path = shortPlugPath(array);
        if (const PackedElements* packed = container.elements.packed()) {
            writePackedElements(array, *packed);
            return;
        }
        std::vector<std::pair<unsigned int, const Slot*>> run;
        auto flush = [&] {
            if (run.empty())
                return;
            const std::string index = run.size() == 1 ? std::to_string(run.front().first)
                                                      : std::to_string(run.front().first) + ":" +
                                                            std::to_string(run.back().first);
            std::vector<std::string> words;
            for (const auto& element : run)
                leafValues(a, *element.second, words);
            std::string flags =
                run.size() > 1 ? " -s " + std::to_string(container.elements.size()) : "";
            std::string type = a->numericCompound && uniformComponents(a)
                                   ? " -type " + quoteText(valueTypeName(a))
                                   : "";
            std::string line =
                "\tsetAttr" + flags + " " + quoteText("." + path + "[" + index + "]") + type;
            ValueLine values(line);
            for (const std::string& word : words)
                values.add(word);
            out_ += line + ";\n";
            run.clear();
        };
        unsigned int previous = 0;
        for (const auto& [index, element] : container.elements) {
            PlugRef plug = array;
            plug.indices.back() = static_cast<int>(index);
            if (touchedByConnection(plug)) {
                flush();
                if (!fedByConnection(plug))
                    for (const auto& child : a->children)
                        writeAttribute(PlugRef{array.node, child.get(), plug.indices});
                continue;
            }
            if (!run.empty() && index != previous + 1)
                flush();
            run.emplace_back(index, &element);
            previous = index;
        }
        flush();
    }

    // As writeNumericElements, straight from packed numbers (no element of a packed array has
    // a connection).
    void writePackedElements(const PlugRef& array, const PackedElements& packed) {
        const AttributeDef* a = array.attribute;
        const std::string path = shortPlugPath(array);
        std::vector<const AttributeDef*> leaves;
        if (a->isCompound())
            for (const auto& child : a->children)
                leaves.push_back(child.get());
        else
            leaves.push_back(a);
        const std::string type = a->numericCompound && uniformComponents(a)
                                     ? " -type " + quoteText(valueTypeName(a))
                                     : "";
        const size_t count = packed.indices.size();
        for (size_t first = 0, last = 0; first < count; first = last + 1) {
            last = first;
            while (last + 1 < count && packed.indices[last + 1] == packed.indices[last] + 1)
                ++last;
            const std::string index = first == last ? std::to_string(packed.indices[first])
                                                    : std::to_string(packed.indices[first]) + ":" +
                                                          std::to_string(packed.indices[last]);
            out_ += "\tsetAttr" + (last > first ? " -s " + std::to_string(count) : std::string()) +
                    " " + quoteText("." + path + "[" + index + "]") + type;
            ValueLine values(out_);
            for (size_t k = first; k <= last; ++k)
                for (size_t j = 0; j < leaves.size(); ++j)
                    values.add(numberText(leaves[j], packed.values[k * packed.width + j]));
            out_ += ";\n";
        }
    }

    static bool uniformComponents(const AttributeDef* a) {
        for (const auto& child : a->children)
            if (child->numericType != a->children.front()->numericType)
                return false;
        return true;
    }

    // Elements of an array of data (".fc[0:5]" -type "polyFaces" ...), in runs of consecutive
    // indices with the same text form. A value written as nothing (an empty component list)
    // stands alone: in a run it could not be told from the next.
    void writeDataElements(const PlugRef& array, const Slot& container) {
        const AttributeDef* a = array.attribute;
        const std::string path = shortPlugPath(array);
        std::vector<std::pair<unsigned int, std::string>> run;
        const TypedValueFormat* runFormat = nullptr;
        auto flush = [&] {
            if (run.empty())
                return;
            const std::string index = run.size() == 1 ? std::to_string(run.front().first)
                                                      : std::to_string(run.front().first) + ":" +
                                                            std::to_string(run.back().first);
            std::string line = "\tsetAttr";
            if (run.size() > 1)
                line += " -s " + std::to_string(container.elements.size());
            line += " " + quoteText("." + path + "[" + index + "]") + " -type " +
                    quoteText(runFormat->typeName);
            for (const auto& element : run)
                line += element.second.empty() ? " " : " \n\t\t" + element.second;
            out_ += line + ";\n";
            run.clear();
        };
        unsigned int previous = 0;
        auto add = [&](unsigned int index, const MObject& data) {
            PlugRef plug = array;
            plug.indices.back() = static_cast<int>(index);
            if (fedByConnection(plug) || data.isNull() ||
                (!everyValue_ && data.impl() == a->defaultData.impl())) {
                flush();
                return;
            }
            const TypedValueFormat* format = formatOwning(data);
            if (!format) {
                flush();
                warnings_.push_back("'" + array.node->name() + "." + path + "[" +
                                    std::to_string(index) +
                                    "]' holds data that has no text form in scene files; it is "
                                    "not saved.");
                return;
            }
            std::string text = format->format(data);
            if (!run.empty() && (index != previous + 1 || format != runFormat || text.empty() ||
                                 run.back().second.empty()))
                flush();
            runFormat = format;
            run.emplace_back(index, std::move(text));
            previous = index;
        };
        if (const PackedElements* packed = container.elements.packed(); packed && packed->codec) {
            // Each value made from its ints only while it is written.
            for (size_t k = 0; k < packed->indices.size(); ++k) {
                size_t count = 0;
                const int* ints = packed->dataOf(k, count);
                add(packed->indices[k], packed->codec->decode(ints, count));
            }
        } else {
            for (const auto& [index, element] : container.elements)
                add(index, element.data);
        }
        flush();
    }

    // ---- Connections --------------------------------------------------------------------------

    std::string plugText(const PlugRef& plug) {
        return reference(plug.node) + "." + Graph::attributePath(plug, false);
    }

    void writeConnections(const std::vector<Node*>& nodes) {
        // A connection with a referenced end is the referenced file's, or a reference edit.
        for (Node* node : nodes)
            for (const auto& c : node->outgoing) {
                if (isReferenced(c->source.node) || isReferenced(c->destination.node))
                    continue;
                const PlugRef& to = c->destination;
                std::string destination = plugText(to);
                bool nextAvailable = false;
                // Members of sets and the like: Maya writes them with -na.
                if (to.attribute->array && !to.attribute->indexMatters && !to.indices.empty() &&
                    to.indices.back() >= 0) {
                    PlugRef array = to;
                    array.indices.back() = -1;
                    destination = plugText(array);
                    nextAvailable = true;
                }
                std::string line =
                    "connectAttr " + quoteText(plugText(c->source)) + " " + quoteText(destination);
                if (plugLocked(to))
                    line += " -l on";
                if (nextAvailable)
                    line += " -na";
                out_ += line + ";\n";
            }
        for (const RawConnection* c : state_.rawConnections.all()) {
            auto from = c->source.lock();
            auto to = c->destination.lock();
            if (isReferenced(from.get()) || isReferenced(to.get()))
                continue;
            std::string destination = c->destinationPath;
            if (c->nextAvailable && !destination.empty() && destination.back() == ']')
                destination.erase(destination.rfind('['));
            std::string line = "connectAttr " +
                               quoteText(reference(from.get()) + "." + c->sourcePath) + " " +
                               quoteText(reference(to.get()) + "." + destination);
            if (c->locked)
                line += " -l on";
            if (c->nextAvailable)
                line += " -na";
            out_ += line + ";\n";
        }
    }

    SceneState& state_;
    std::vector<std::string>& warnings_;
    std::map<const Node*, std::vector<const KeptCommand*>> kept_; // null: the file's head
    std::vector<const KeptCommand*> tail_;
    std::map<const Node*, std::vector<ReferenceEdit>> newEdits_; // by reference node
    bool everyValue_ = false; // defaults too, to compare referenced nodes
    std::string out_;
    std::set<const Node*> written_;
};

} // namespace

std::string writeScene(const std::string& path, std::vector<std::string>& warnings) {
    return SceneWriter(warnings).write(path);
}

std::vector<std::string> nodeValueLines(Node& node) {
    std::vector<std::string> ignored;
    return SceneWriter(ignored).valueLines(node);
}

bool writeFileAtomically(const std::string& path, const std::string& text, std::string& error) {
    size_t slash = path.find_last_of('/');
    std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    std::string pattern = path + ".saving-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = mkstemp(name.data());
    if (fd < 0) {
        error = "cannot write in the folder '" + folder + "': " + std::strerror(errno);
        return false;
    }
    const std::string temporary(name.data());
    // The new file gets the old one's permissions, or the usual ones for a new file.
    struct stat old {};
    mode_t mode = 0;
    if (stat(path.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    fchmod(fd, mode);
    size_t done = 0;
    bool ok = true;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        done += static_cast<size_t>(n);
    }
    int savedErrno = errno;
    if (ok && fsync(fd) != 0) {
        ok = false;
        savedErrno = errno;
    }
    if (close(fd) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        unlink(temporary.c_str());
        error = std::strerror(savedErrno);
        return false;
    }
    return true;
}

} // namespace host
