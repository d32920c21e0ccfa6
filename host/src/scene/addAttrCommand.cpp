// addAttr: dynamic attributes.

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
#include <cmath>
#include <set>
#include <sstream>

namespace host {

namespace {

// Levels of compound attributes a file may nest: every walk over an attribute's children
// (values, connections, saving) goes this deep at most.
constexpr size_t kMaxCompoundDepth = 32;

bool flagBool(CommandRun& run, const std::string& flag, bool fallback, bool& value) {
    value = fallback;
    const SceneToken* token = run.args.value(flag);
    if (!token)
        return true;
    if (!tokenBool(*token, value)) {
        run.error("-" + flag + " expects true or false, got '" + token->text + "'.");
        return false;
    }
    return true;
}

bool flagNumber(CommandRun& run, const std::string& flag, bool& present, double& value) {
    const SceneToken* token = run.args.value(flag);
    present = token != nullptr;
    if (!token)
        return true;
    if (!parseNumberText(token->text, value)) {
        run.error("-" + flag + " expects a number, got '" + token->text + "'.");
        return false;
    }
    return true;
}

MFnData::Type dataTypeNamed(const std::string& name, unsigned int& pluginId) {
    static const std::pair<const char*, MFnData::Type> types[] = {
        {"string", MFnData::kString},
        {"stringArray", MFnData::kStringArray},
        {"doubleArray", MFnData::kDoubleArray},
        {"floatArray", MFnData::kDoubleArray},
        {"Int32Array", MFnData::kIntArray},
        {"pointArray", MFnData::kPointArray},
        {"vectorArray", MFnData::kVectorArray},
        {"matrix", MFnData::kMatrix},
        {"mesh", MFnData::kMesh},
        {"nurbsCurve", MFnData::kNurbsCurve},
        {"nurbsSurface", MFnData::kNurbsSurface},
        {"componentList", MFnData::kComponentList},
        {"lattice", MFnData::kLattice},
        {"sphere", MFnData::kSphere},
        {"subdSurface", MFnData::kSubdSurface},
        {"dynArrayAttrs", MFnData::kDynArrayAttrs},
        // Aliases of a node's plugs (a blendShape's target names): kept as written.
        {"attributeAlias", MFnData::kAny}};
    for (const auto& [text, type] : types)
        if (name == text)
            return type;
    if (DataType* plugin = TypeRegistry::instance().findData(name)) {
        pluginId = plugin->id.id();
        return MFnData::kPlugin;
    }
    return MFnData::kInvalid;
}

bool numericTypeNamed(const std::string& name, MFnNumericData::Type& type, bool& angle) {
    static const std::pair<const char*, MFnNumericData::Type> types[] = {
        {"bool", MFnNumericData::kBoolean},
        {"long", MFnNumericData::kInt},
        {"int", MFnNumericData::kInt},
        {"short", MFnNumericData::kShort},
        {"byte", MFnNumericData::kByte},
        {"char", MFnNumericData::kChar},
        {"float", MFnNumericData::kFloat},
        {"floatLinear", MFnNumericData::kFloat},
        {"floatAngle", MFnNumericData::kFloat},
        {"double", MFnNumericData::kDouble},
        {"doubleLinear", MFnNumericData::kDouble},
        {"doubleAngle", MFnNumericData::kDouble},
        {"time", MFnNumericData::kDouble},
        {"addr", MFnNumericData::kAddr}};
    for (const auto& [text, numeric] : types)
        if (name == text) {
            type = numeric;
            angle = name == "floatAngle" || name == "doubleAngle";
            return true;
        }
    return false;
}

bool parseEnumFields(const std::string& text, std::vector<std::pair<std::string, short>>& fields) {
    short next = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t colon = text.find(':', start);
        std::string field =
            text.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
        if (!field.empty()) {
            size_t equals = field.find('=');
            if (equals != std::string::npos) {
                int value = 0;
                if (!parseIntText(field.substr(equals + 1), value))
                    return false;
                next = static_cast<short>(value);
                field = field.substr(0, equals);
            }
            fields.emplace_back(field, next++);
        }
        if (colon == std::string::npos)
            break;
        start = colon + 1;
    }
    return true;
}

// Builds the attribute an addAttr describes (without adding it anywhere).
std::shared_ptr<AttributeDef> buildAttribute(CommandRun& run, DynamicAttributeInfo& info) {
    const ParsedArgs& args = run.args;
    auto def = std::make_shared<AttributeDef>();
    const SceneToken* longName = args.value("longName");
    const SceneToken* shortName = args.value("shortName");
    if (!longName && !shortName) {
        run.error("expected -longName (or -shortName).");
        return nullptr;
    }
    def->name = longName ? longName->text : shortName->text;
    def->shortName = shortName ? shortName->text : def->name;
    for (const std::string* name : {&def->name, &def->shortName})
        if (!isValidAttributeName(*name)) {
            run.error("'" + *name + "' is not a valid attribute name.");
            return nullptr;
        }
    std::string typeName = args.value("attributeType") ? args.value("attributeType")->text : "";
    std::string dataName = args.value("dataType") ? args.value("dataType")->text : "";
    if (typeName.empty() && dataName.empty())
        typeName = "double";
    if (typeName == "typed")
        typeName.clear();
    MFnNumericData::Type numeric = MFnNumericData::kInvalid;
    bool angle = false;
    int components = compoundTypeSize(typeName);
    if (typeName == "reflectance" || typeName == "spectrum")
        components = 3;
    if (!typeName.empty()) {
        info.typeName = typeName;
        if (numericTypeNamed(typeName, numeric, angle)) {
            def->kind = AttributeDef::Kind::Numeric;
            def->numericType = numeric;
        } else if (typeName == "enum") {
            def->kind = AttributeDef::Kind::Enum;
        } else if (typeName == "message") {
            def->kind = AttributeDef::Kind::Message;
        } else if (typeName == "compound") {
            def->kind = AttributeDef::Kind::Compound;
        } else if (components) {
            def->kind = AttributeDef::Kind::Compound;
            def->numericCompound = true;
            const char first = typeName[0];
            static const MFnNumericData::Type doubles[] = {
                MFnNumericData::kInvalid, MFnNumericData::kInvalid, MFnNumericData::k2Double,
                MFnNumericData::k3Double, MFnNumericData::k4Double};
            def->numericType =
                first == 'f' || first == 'r' || (first == 's' && typeName[1] == 'p')
                    ? (components == 2 ? MFnNumericData::k2Float : MFnNumericData::k3Float)
                : first == 'l' || first == 'i'
                    ? (components == 2 ? MFnNumericData::k2Int : MFnNumericData::k3Int)
                : first == 's'
                    ? (components == 2 ? MFnNumericData::k2Short : MFnNumericData::k3Short)
                    : doubles[components];
        } else if (typeName == "matrix" || typeName == "fltMatrix") {
            def->kind = AttributeDef::Kind::Typed;
            def->dataType = MFnData::kMatrix;
        } else {
            run.error("unknown attribute type '" + typeName + "'.");
            return nullptr;
        }
    } else {
        info.dataType = true;
        info.typeName = dataName;
        def->kind = AttributeDef::Kind::Typed;
        def->dataType = dataTypeNamed(dataName, def->pluginTypeId);
        if (def->dataType == MFnData::kInvalid) {
            run.error("unknown data type '" + dataName + "'.");
            return nullptr;
        }
    }
    info.angle = angle;
    info.proxy = args.has("usedAsProxy");
    double number = 0.0;
    bool present = false;
    if (!flagNumber(run, "defaultValue", present, number))
        return nullptr;
    if (present)
        def->defaultValue = number;
    if (angle && present)
        def->defaultValue *= activeUnits(run).radiansPerAngleUnit();
    if (!flagNumber(run, "minValue", def->hasMin, def->minValue) ||
        !flagNumber(run, "maxValue", def->hasMax, def->maxValue) ||
        !flagNumber(run, "softMinValue", def->hasSoftMin, def->softMinValue) ||
        !flagNumber(run, "softMaxValue", def->hasSoftMax, def->softMaxValue))
        return nullptr;
    if (const SceneToken* fields = args.value("enumName")) {
        if (def->kind != AttributeDef::Kind::Enum) {
            run.error("-enumName is only for enum attributes.");
            return nullptr;
        }
        if (!parseEnumFields(fields->text, def->enumFields)) {
            run.error("expected enum fields as 'A:B:C' or 'A=1:B=5', got '" + fields->text + "'.");
            return nullptr;
        }
    }
    bool value = false;
    if (!flagBool(run, "keyable", false, def->keyable) ||
        !flagBool(run, "hidden", false, def->hidden) ||
        !flagBool(run, "storable", true, def->storable) ||
        !flagBool(run, "readable", true, def->readable) ||
        !flagBool(run, "writable", true, def->writable) ||
        !flagBool(run, "cachedInternally", false, value) ||
        !flagBool(run, "indexMatters", true, def->indexMatters))
        return nullptr;
    def->internal = value;
    if (const SceneToken* behaviour = args.value("disconnectBehaviour")) {
        // 0 delete the element, 1 reset the value, 2 nothing, as MFnAttribute numbers them.
        int code = -1;
        if (!parseIntText(behaviour->text, code) || code < 0 || code > 2) {
            run.error("-disconnectBehaviour expects 0, 1 or 2, got '" + behaviour->text + "'.");
            return nullptr;
        }
        def->disconnectBehavior = static_cast<MFnAttribute::DisconnectBehavior>(code);
    }
    def->array = args.has("multi");
    def->usedAsColor = args.has("usedAsColor");
    def->dynamic = true;
    for (const char* kept : {"niceName", "binaryTag", "category", "proxy", "internalSet"})
        for (const ParsedArgs::Use* use : args.uses(kept)) {
            info.extraFlags.push_back("-" + use->flag->shortName);
            for (const SceneToken& v : use->values)
                info.extraFlags.push_back(tokenText(v));
        }
    if (args.has("usedAsFilename"))
        info.extraFlags.push_back("-uaf");
    if (args.has("fromPlugin"))
        info.extraFlags.push_back("-fn");
    return def;
}

} // namespace

bool runAddAttr(CommandRun& run) {
    const ParsedArgs& args = run.args;
    if (args.has("edit")) {
        run.error("-edit is not supported.");
        return false;
    }
    std::vector<Node*> nodes;
    if (args.positional.empty()) {
        nodes = relativeTargets(run);
        if (nodes.empty()) {
            run.error("no node to add the attribute to (create or select one first).");
            return false;
        }
    }
    for (const SceneToken& token : args.positional) {
        Node* node = findNodeNamed(run, token.text);
        if (!node) {
            run.error("no node named '" + token.text + "'.");
            return false;
        }
        nodes.push_back(node);
    }
    for (Node* node : nodes) {
        DynamicAttributeInfo info;
        std::shared_ptr<AttributeDef> def = buildAttribute(run, info);
        if (!def)
            return false;
        for (const std::string& name : {def->name, def->shortName})
            if (node->findAttribute(name)) {
                run.error("'" + node->name() + "' already has an attribute named '" + name + "'.");
                return false;
            }
        if (const SceneToken* parentName = args.value("parent")) {
            AttributeDef* parent = const_cast<AttributeDef*>(node->findAttribute(parentName->text));
            if (!parent || !parent->isCompound() || !parent->dynamic) {
                run.error("'" + node->name() + "' has no dynamic compound attribute '" +
                          parentName->text + "' to add '" + def->name + "' to.");
                return false;
            }
            if (parent->chain().size() >= kMaxCompoundDepth) {
                run.error("'" + def->name + "' would nest compound attributes more than " +
                          std::to_string(kMaxCompoundDepth) + " deep under '" +
                          parent->top()->name + "'.");
                return false;
            }
            if (parent->numericCompound && def->kind != AttributeDef::Kind::Numeric) {
                run.error("the children of '" + parent->name + "' must be numbers.");
                return false;
            }
            def->parent = parent;
            parent->children.push_back(def);
        } else if (!node->addDynamicAttribute(def)) {
            run.error("cannot add '" + def->name + "' to '" + node->name() + "'.");
            return false;
        }
        if (const SceneToken* children = args.value("numberOfChildren")) {
            int count = 0;
            if (!parseIntText(children->text, count) || count < 0) {
                run.error("-numberOfChildren expects a whole number, got '" + children->text +
                          "'.");
                return false;
            }
            info.declaredChildren = count;
        }
        *SceneState::instance().attributeInfo(def.get(), true) = info;
    }
    return true;
}

} // namespace host
