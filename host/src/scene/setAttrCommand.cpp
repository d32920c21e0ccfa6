// setAttr: values, data and flags of plugs, and values of attributes the host does not define.

#include "scene/attributeValues.h"
#include "scene/plugPath.h"
#include "scene/rawValues.h"
#include "scene/sceneCommands.h"
#include "scene/sparseArrayValues.h"
#include "scene/typedValues.h"
#include "scene/valueText.h"

#include "data/dataObjects.h"
#include "graph/graph.h"

#include <maya/MGlobal.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <iterator>
#include <set>
#include <sstream>

namespace host {

namespace {

// Checks the count of values kept raw where their form is known.
bool checkRawValues(CommandRun& run, const std::string& plug, const std::string& type,
                    const std::vector<SceneToken>& values, size_t elements) {
    if (values.empty())
        return true;
    size_t per = 0;
    if (type == "string")
        per = 1;
    else if (int n = compoundTypeSize(type))
        per = static_cast<size_t>(n);
    else if (type == "matrix" && (values.empty() || values[0].text != "xform"))
        per = 16;
    if (per) {
        if (values.size() != per * elements) {
            std::string form = elements == 1
                                   ? type
                                   : std::to_string(per) + " for each of " +
                                         countText(elements, "element") + " of type " + type;
            run.error("expected " + countText(per * elements, "value") + " for '" + plug + "' (" +
                      form + "), got " + std::to_string(values.size()) + ".");
            return false;
        }
        return true;
    }
    static const std::pair<const char*, size_t> arrays[] = {
        {"Int32Array", 1}, {"doubleArray", 1}, {"floatArray", 1},   {"stringArray", 1},
        {"pointArray", 4}, {"vectorArray", 3}, {"componentList", 1}};
    for (const auto& [name, size] : arrays) {
        if (type != name)
            continue;
        size_t pos = 0;
        for (size_t e = 0; e < elements; ++e) {
            int count = 0;
            if (pos >= values.size() || !parseIntText(values[pos].text, count) || count < 0) {
                run.error("expected the element count of the " + type + " value of '" + plug + "'" +
                          (pos < values.size() ? ", got '" + values[pos].text + "'."
                                               : ", but the values end there."));
                return false;
            }
            pos += 1 + static_cast<size_t>(count) * size;
            if (pos > values.size()) {
                run.error(
                    "expected " + countText(static_cast<size_t>(count) * size, "value") +
                    " in the " + type + " value of '" + plug + "', only " +
                    std::to_string(values.size() - (pos - static_cast<size_t>(count) * size)) +
                    " follow.");
                return false;
            }
        }
        if (pos != values.size()) {
            run.error("expected " + countText(elements, type + " value") + " for '" + plug +
                      "', more values follow ('" + values[pos].text + "').");
            return false;
        }
        return true;
    }
    if (const TypedValueFormat* format = type.empty() ? nullptr : findTypedValueFormat(type)) {
        std::vector<std::string> words = tokenTexts(values);
        size_t pos = 0;
        for (size_t e = 0; e < elements; ++e) {
            MObject data;
            std::string error;
            if (!format->parse(words, pos, data, error)) {
                run.error("'" + plug + "'" +
                          (elements > 1 ? " element " + std::to_string(e) : std::string()) + ": " +
                          error + ".");
                return false;
            }
        }
        if (pos != words.size()) {
            run.error("expected " + countText(elements, type + " value") + " for '" + plug +
                      "', more values follow ('" + words[pos] + "').");
            return false;
        }
        return true;
    }
    if (type.empty() && elements > 1 && values.size() % elements != 0) {
        run.error("expected the same number of values for each of the " + std::to_string(elements) +
                  " elements of '" + plug + "', got " + std::to_string(values.size()) + " values.");
        return false;
    }
    return true;
}

// The flags of a setAttr as tokens for keeping raw.
std::vector<SceneToken> flagTokens(const ParsedArgs& args) {
    std::vector<SceneToken> tokens;
    for (const ParsedArgs::Use& use : args.flags) {
        SceneToken flag;
        flag.text = "-" + (use.flag->longName == "type" ? use.flag->longName : use.flag->shortName);
        tokens.push_back(flag);
        tokens.insert(tokens.end(), use.values.begin(), use.values.end());
    }
    return tokens;
}

void noteWritten(CommandRun& run, Node* node, const std::string& head) {
    if (run.reading)
        run.reading->written[node].insert(head);
}

bool storeRaw(CommandRun& run, Node* node, const std::string& path,
              const std::vector<PlugPathPart>& parts, const std::vector<SceneToken>& values,
              const std::string& type) {
    size_t elements = 1;
    for (const PlugPathPart& part : parts)
        if (part.range)
            elements = static_cast<size_t>(part.last - part.first) + 1;
    if (!checkRawValues(run, node->name() + "." + path, type, values, elements))
        return false;
    RawSetting update{flagTokens(run.args), values};
    auto it = node->rawValues.find(path);
    if (it == node->rawValues.end()) {
        node->rawValues.emplace(path, encodeRawSetting(update));
    } else {
        RawSetting setting = decodeRawSetting(it->second);
        mergeRawSetting(setting, update);
        it->second = encodeRawSetting(setting);
    }
    noteWritten(run, node, parts.front().name);
    return true;
}

// Whether a whole range may be written in one go: nothing locked, nothing connected into it.
bool canWriteInBulk(const PlugRef& array) {
    Node* node = array.node;
    if (plugLocked(array))
        return false;
    const std::string prefix = Graph::attributePath(array);
    for (const std::string& locked : node->lockedPlugs)
        if (locked.compare(0, prefix.size(), prefix) == 0)
            return false;
    for (const auto& c : node->incoming)
        if (c->destination.overlaps(array))
            return false;
    return true;
}

// All the values of a command that came in parts, the first part given; afterwards the run
// reads no more parts. False when the file broke off inside the command.
bool gatherValues(CommandRun& run, const std::vector<SceneToken>& first,
                  std::vector<SceneToken>& whole) {
    whole = first;
    for (std::vector<SceneToken> part; run.moreValues(part);)
        whole.insert(whole.end(), std::make_move_iterator(part.begin()),
                     std::make_move_iterator(part.end()));
    run.moreValues = nullptr;
    return !run.failed();
}

std::string clampWarning(const ResolvedPlug& plug, const AttributeDef* leaf, size_t element,
                         double given, double stored) {
    std::ostringstream text;
    text << "Value " << given << " of '"
         << Graph::plugName(PlugRef{plug.ref.node, leaf, plug.element(element).indices})
         << "' is outside its limits; clamped to " << stored << ".";
    return text.str();
}

// After a bulk write: the clamping warnings it gathered, then its error if it failed.
bool finishBulkWrite(CommandRun& run, const MStatus& status, const std::string& error,
                     const std::vector<std::string>& clampWarnings) {
    for (const std::string& warning : clampWarnings)
        MGlobal::displayWarning(warning.c_str());
    if (!status)
        run.error(error);
    return static_cast<bool>(status);
}

bool setNumbers(CommandRun& run, const ResolvedPlug& plug, const std::string& plugText,
                const std::vector<SceneToken>& values, const std::string& type) {
    const AttributeDef* attribute = plug.ref.attribute;
    std::vector<const AttributeDef*> leaves = numericLeaves(attribute);
    if (leaves.empty()) {
        run.error("'" + plugText + "' cannot be set from a list of values.");
        return false;
    }
    const size_t per = leaves.size(), count = plug.count();
    if (!type.empty()) {
        int size = compoundTypeSize(type);
        if (!size) {
            run.error("-type \"" + type + "\" does not fit '" + plugText + "', which holds " +
                      (per == 1 ? "a number." : countText(per, "number") + "."));
            return false;
        }
        if (!attribute->numericCompound || static_cast<size_t>(size) != per) {
            run.error("-type \"" + type + "\" does not fit '" + plugText + "', which holds " +
                      (per == 1 ? "a single number." : countText(per, "number") + "."));
            return false;
        }
    }
    auto countMatches = [&](size_t given) {
        if (given == per * count)
            return true;
        std::string expected = countText(per * count, "value");
        if (count > 1)
            expected +=
                " (" + std::to_string(per) + " for each of " + countText(count, "element") + ")";
        run.error("expected " + expected + " for '" + plugText + "', got " + std::to_string(given) +
                  ".");
        return false;
    };
    // A command read in parts is counted once all of it is read: the count a file announces
    // sizes nothing.
    if (!run.moreValues && !countMatches(values.size()))
        return false;
    std::vector<double> numbers;
    const double radians = activeUnits(run).radiansPerAngleUnit();
    auto parse = [&](const std::vector<SceneToken>& part) {
        for (const SceneToken& token : part) {
            double number = 0.0;
            if (!parseNumberText(token.text, number)) {
                run.error("expected a number for '" + plugText + "', got '" + token.text + "'.");
                return false;
            }
            if (isAngleAttribute(leaves[numbers.size() % per]))
                number *= radians;
            numbers.push_back(number);
        }
        return true;
    };
    if (!parse(values))
        return false;
    for (std::vector<SceneToken> part; run.moreValues && run.moreValues(part);)
        if (!parse(part))
            return false;
    if (run.failed() || (run.moreValues && !countMatches(numbers.size())))
        return false;
    Graph& graph = Graph::instance();
    std::string error;
    const bool rangeOnArray = count > 1 && attribute->array &&
                              plug.rangeLevel == static_cast<int>(plug.ref.indices.size()) - 1;
    PlugRef array = plug.ref;
    if (rangeOnArray)
        array.indices.back() = -1;
    // One element or a range of an array of numbers goes into its packed numbers.
    const bool oneElement =
        count == 1 && attribute->array && !plug.ref.indices.empty() && plug.ref.indices.back() >= 0;
    if (oneElement)
        array.indices.back() = -1;
    const unsigned int first =
        static_cast<unsigned int>(oneElement ? plug.ref.indices.back() : plug.first);
    if ((rangeOnArray || oneElement) && canWriteInBulk(array) && ElementMap::packable(attribute)) {
        Slot* container = array.node->slot(attribute, array.indices, true);
        if (container && container->elements.packedForWrite(attribute)) {
            std::vector<std::string> clampWarnings;
            for (size_t i = 0; i < numbers.size(); ++i) {
                bool clamped = false;
                const double value = leaves[i % per]->clamp(numbers[i], &clamped);
                if (clamped)
                    clampWarnings.push_back(
                        clampWarning(plug, leaves[i % per], i / per, numbers[i], value));
                numbers[i] = storedNumber(leaves[i % per], value);
            }
            MStatus status = graph.setValue(
                array,
                [&](Slot& slot) {
                    slot.elements.packedForWrite(attribute)->assign(first, count, numbers.data());
                },
                &error);
            return finishBulkWrite(run, status, error, clampWarnings);
        }
    }
    if (rangeOnArray && canWriteInBulk(array)) {
        std::vector<std::vector<int>> paths;
        std::vector<int> prefix;
        leafPaths(attribute, prefix, paths);
        std::vector<std::string> clampWarnings;
        MStatus status = graph.setValue(
            array,
            [&](Slot& container) {
                for (size_t k = 0; k < count; ++k) {
                    unsigned int index =
                        static_cast<unsigned int>(plug.first) + static_cast<unsigned int>(k);
                    auto it = container.elements.find(index);
                    if (it == container.elements.end())
                        it = container.elements.emplace(index, Slot::make(attribute, false)).first;
                    for (size_t j = 0; j < per; ++j) {
                        Slot* slot = &it->second;
                        for (int child : paths[j])
                            slot = &slot->children[static_cast<size_t>(child)];
                        bool clamped = false;
                        double value = leaves[j]->clamp(numbers[k * per + j], &clamped);
                        if (clamped)
                            clampWarnings.push_back(
                                clampWarning(plug, leaves[j], k, numbers[k * per + j], value));
                        slot->set(leaves[j], value);
                    }
                }
            },
            &error);
        return finishBulkWrite(run, status, error, clampWarnings);
    }
    for (size_t k = 0; k < count; ++k) {
        PlugRef element = plug.element(k);
        if (plugLocked(element)) {
            run.error("'" + Graph::plugName(element) + "' is locked.");
            return false;
        }
        for (size_t j = 0; j < per; ++j) {
            PlugRef leaf{element.node, leaves[j], element.indices};
            if (!graph.setNumber(leaf, numbers[k * per + j], &error)) {
                run.error(error);
                return false;
            }
        }
    }
    return true;
}

// The data values of a setAttr, one per element of the plug (its range), handed to `take`
// as read. When the command came in parts and the format says which word starts a value (a
// face's "f"), values are read part by part, each once the next value's first word is in;
// otherwise all of them at once.
bool readDataValues(CommandRun& run, const ResolvedPlug& plug, const std::string& plugText,
                    const std::vector<SceneToken>& values, const TypedValueFormat& format,
                    const std::function<bool(const MObject&)>& take) {
    const AttributeDef* attribute = plug.ref.attribute;
    std::vector<std::string> words = tokenTexts(values);
    if (run.moreValues && format.firstWord.empty()) {
        std::vector<SceneToken> whole;
        if (!gatherValues(run, values, whole))
            return false;
        words = tokenTexts(whole);
    }
    bool last = !run.moreValues;
    size_t pos = 0;
    // Where the last value read so far starts (0: none after pos yet).
    size_t lastStart = 0;
    auto noteStarts = [&](size_t from) {
        for (size_t i = words.size(); i-- > std::max(from, pos + 1);)
            if (words[i] == format.firstWord) {
                lastStart = std::max(lastStart, i);
                break;
            }
    };
    noteStarts(0);
    const size_t count = plug.count();
    for (size_t read = 0; read < count;) {
        if (!last && lastStart <= pos) {
            // The value at pos may go on in the next part: read it first.
            std::vector<SceneToken> part;
            last = !run.moreValues(part);
            if (run.failed())
                return false;
            words.erase(words.begin(), words.begin() + static_cast<long>(pos));
            lastStart = lastStart > pos ? lastStart - pos : 0;
            pos = 0;
            const size_t from = words.size();
            for (SceneToken& token : part)
                words.push_back(std::move(token.text));
            noteStarts(from);
            continue;
        }
        MObject data;
        std::string error;
        if (!format.parse(words, pos, data, error)) {
            run.error("'" + plugText + "'" +
                      (count > 1 ? " element " + std::to_string(plug.first + static_cast<int>(read))
                                 : std::string()) +
                      ": " + error + ".");
            return false;
        }
        const DataObject* object = dataAs<DataObject>(data);
        MFnData::Type have = object ? object->dataType() : MFnData::kAny;
        if (have != MFnData::kAny && attribute->dataType != MFnData::kAny &&
            have != attribute->dataType) {
            run.error("'" + plugText + "' does not hold " + format.typeName + " data.");
            return false;
        }
        if (!take(data))
            return false;
        ++read;
    }
    for (std::vector<SceneToken> part; pos == words.size() && !last;) {
        last = !run.moreValues(part);
        if (run.failed())
            return false;
        for (SceneToken& token : part)
            words.push_back(std::move(token.text));
    }
    if (pos != words.size()) {
        run.error("expected " + countText(count, format.typeName + " value") + " for '" + plugText +
                  "', more values follow ('" + words[pos] + "').");
        return false;
    }
    return true;
}

bool setData(CommandRun& run, const ResolvedPlug& plug, const std::string& plugText,
             const std::vector<SceneToken>& values, const TypedValueFormat& format) {
    const AttributeDef* attribute = plug.ref.attribute;
    if (attribute->kind != AttributeDef::Kind::Typed) {
        run.error("'" + plugText + "' does not hold " + format.typeName + " data.");
        return false;
    }
    // Elements of an array of data the format packs (a mesh's faces) go in as ints.
    PlugRef array = plug.ref;
    const bool element = attribute->array && !array.indices.empty() && array.indices.back() >= 0;
    if (element)
        array.indices.back() = -1;
    Slot* container = element && format.packing && canWriteInBulk(array)
                          ? array.node->slot(attribute, array.indices, true)
                          : nullptr;
    if (container && container->elements.packedDataForWrite(attribute, format.packing)) {
        std::vector<int> ints;
        std::vector<size_t> starts;
        const bool read =
            readDataValues(run, plug, plugText, values, format, [&](const MObject& data) {
                starts.push_back(ints.size());
                return format.packing->encode(data, ints);
            });
        if (!read)
            return false;
        std::string error;
        const unsigned int first =
            static_cast<unsigned int>(plug.rangeLevel >= 0 ? plug.first : plug.ref.indices.back());
        if (!Graph::instance().setValue(
                array,
                [&](Slot& slot) {
                    slot.elements.packedDataForWrite(attribute, format.packing)
                        ->assignData(first, ints, starts);
                },
                &error)) {
            run.error(error);
            return false;
        }
        return true;
    }
    std::vector<MObject> data;
    if (!readDataValues(run, plug, plugText, values, format, [&](const MObject& value) {
            data.push_back(value);
            return true;
        }))
        return false;
    for (size_t k = 0; k < data.size(); ++k) {
        PlugRef element = plug.element(k);
        if (plugLocked(element)) {
            run.error("'" + Graph::plugName(element) + "' is locked.");
            return false;
        }
        std::string error;
        MObject value = data[k];
        if (!Graph::instance().setValue(
                element, [&](Slot& slot) { slot.data = value; }, &error)) {
            run.error(error);
            return false;
        }
    }
    return true;
}

bool setStrings(CommandRun& run, const ResolvedPlug& plug, const std::string& plugText,
                const std::vector<SceneToken>& values) {
    const AttributeDef* attribute = plug.ref.attribute;
    if (attribute->kind != AttributeDef::Kind::Typed || attribute->dataType != MFnData::kString) {
        run.error("'" + plugText + "' is not a string attribute.");
        return false;
    }
    if (values.size() != plug.count()) {
        run.error("expected " + countText(plug.count(), "string") + " for '" + plugText +
                  "', got " + std::to_string(values.size()) + " values.");
        return false;
    }
    for (size_t k = 0; k < values.size(); ++k) {
        PlugRef element = plug.element(k);
        if (plugLocked(element)) {
            run.error("'" + Graph::plugName(element) + "' is locked.");
            return false;
        }
        std::string error;
        MString text(values[k].text.c_str());
        if (!Graph::instance().setValue(
                element, [&](Slot& slot) { slot.text = text; }, &error)) {
            run.error(error);
            return false;
        }
    }
    return true;
}

bool applyPlugFlags(CommandRun& run, const ResolvedPlug& plug) {
    const ParsedArgs& args = run.args;
    bool lock = false, keyable = false, channelBox = false;
    const SceneToken* lockToken = args.value("lock");
    const SceneToken* keyableToken = args.value("keyable");
    const SceneToken* channelBoxToken = args.value("channelBox");
    for (const SceneToken* token : {lockToken, keyableToken, channelBoxToken})
        if (token && !tokenBool(*token, token == lockToken      ? lock
                                        : token == keyableToken ? keyable
                                                                : channelBox)) {
            run.error("expected on or off, got '" + token->text + "'.");
            return false;
        }
    if (!lockToken && !keyableToken && !channelBoxToken)
        return true;
    for (size_t k = 0; k < plug.count(); ++k) {
        PlugRef element = plug.element(k);
        if (lockToken)
            Graph::toMPlug(element).setLocked(lock);
        if (keyableToken || channelBoxToken) {
            PlugFlags& flags = SceneState::instance()
                                   .extras(element.node, true)
                                   ->plugFlags[shortPlugPath(element)];
            AttributeDef* attribute = const_cast<AttributeDef*>(element.attribute);
            if (keyableToken) {
                flags.keyable = keyable ? 1 : 0;
                if (attribute->dynamic)
                    attribute->keyable = keyable;
            }
            if (channelBoxToken) {
                flags.channelBox = channelBox ? 1 : 0;
                if (attribute->dynamic)
                    attribute->channelBox = channelBox;
            }
        }
    }
    return true;
}

bool setOnNode(CommandRun& run, Node* node, const std::string& path,
               const std::vector<PlugPathPart>& parts, const std::vector<SceneToken>& values) {
    const std::string type = run.args.value("type") ? run.args.value("type")->text : "";
    const std::string plugText = node->name() + "." + path;
    ResolvedPlug plug;
    std::string error;
    switch (resolvePlugPath(node, parts, plug, error)) {
    case PlugResolution::kError:
        run.error("'" + plugText + "': " + error + ".");
        return false;
    case PlugResolution::kUnknown:
        if (run.moreValues) {
            std::vector<SceneToken> whole;
            return gatherValues(run, values, whole) &&
                   storeRaw(run, node, path, parts, whole, type);
        }
        return storeRaw(run, node, path, parts, values, type);
    case PlugResolution::kKnown:
        break;
    }
    const AttributeDef* attribute = plug.ref.attribute;
    const TypedValueFormat* format =
        type.empty() || type == "string" ? nullptr : findTypedValueFormat(type);
    const bool numbers = !format && type != "string" &&
                         attribute->kind != AttributeDef::Kind::Typed &&
                         attribute->kind != AttributeDef::Kind::Message;
    // Numbers and data of formats that say where each value starts (faces) are read part by
    // part; anything else takes its values whole.
    std::vector<SceneToken> whole;
    if (run.moreValues && !numbers && !format) {
        if (!gatherValues(run, values, whole))
            return false;
        return setOnNode(run, node, path, parts, whole);
    }
    // Data may have no values at all: an empty list is -type "componentList" ;
    if (!values.empty() || format) {
        if (type.empty() && takesSparseArrays(plug)) {
            if (!setSparseArrays(run, plug, plugText, values))
                return false;
            noteWritten(run, node, parts.front().name);
            return applyPlugFlags(run, plug);
        }
        if (plug.isArray()) {
            run.error("give the elements of the array '" + plugText + "' an index or a range.");
            return false;
        }
        bool ok = false;
        if (attribute->kind == AttributeDef::Kind::Message) {
            run.error("'" + plugText + "' is a message attribute and holds no value.");
            return false;
        } else if (format) {
            ok = setData(run, plug, plugText, values, *format);
        } else if (type == "string" ||
                   (type.empty() && attribute->kind == AttributeDef::Kind::Typed &&
                    attribute->dataType == MFnData::kString)) {
            ok = setStrings(run, plug, plugText, values);
        } else if (attribute->kind == AttributeDef::Kind::Typed) {
            if (type.empty()) {
                run.error("'" + plugText + "' holds data: expected -type and the data.");
                return false;
            }
            // Data the host has no text form for (a matrix, an array type): kept as written.
            return storeRaw(run, node, path, parts, values, type);
        } else {
            ok = setNumbers(run, plug, plugText, values, type);
        }
        if (!ok)
            return false;
    }
    noteWritten(run, node, parts.front().name);
    return applyPlugFlags(run, plug);
}

} // namespace

bool runSetAttr(CommandRun& run) {
    ParsedArgs& args = run.args;
    if (args.positional.empty()) {
        run.error("expected a plug and its value.");
        return false;
    }
    std::vector<Node*> nodes;
    std::string path;
    if (!splitPlugArgument(run, args.positional[0].text, nodes, path))
        return false;
    std::vector<PlugPathPart> parts;
    std::string error;
    if (!parsePlugPath(path, parts, error)) {
        run.error(error + ".");
        return false;
    }
    std::vector<SceneToken> values(std::make_move_iterator(run.args.positional.begin() + 1),
                                   std::make_move_iterator(run.args.positional.end()));
    run.args.positional.resize(1);
    // Several nodes each take every value.
    if (run.moreValues && nodes.size() > 1) {
        std::vector<SceneToken> whole;
        if (!gatherValues(run, values, whole))
            return false;
        values = std::move(whole);
    }
    for (Node* node : nodes)
        if (!setOnNode(run, node, path, parts, values))
            return false;
    return true;
}

} // namespace host
