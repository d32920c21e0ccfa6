#include "scene/sceneCommands.h"

#include "graph/graph.h"
#include "scene/valueText.h"

#include <algorithm>

namespace host {

// ---- Arguments -------------------------------------------------------------------------------

bool ParsedArgs::has(const std::string& longName) const {
    for (const Use& use : flags)
        if (use.flag->longName == longName)
            return true;
    return false;
}

const SceneToken* ParsedArgs::value(const std::string& longName, size_t k) const {
    for (auto it = flags.rbegin(); it != flags.rend(); ++it)
        if (it->flag->longName == longName)
            return k < it->values.size() ? &it->values[k] : nullptr;
    return nullptr;
}

std::vector<const ParsedArgs::Use*> ParsedArgs::uses(const std::string& longName) const {
    std::vector<const Use*> found;
    for (const Use& use : flags)
        if (use.flag->longName == longName)
            found.push_back(&use);
    return found;
}

void ReadState::remember(Node* node, const std::string& name) {
    auto old = fileName.find(node);
    if (old != fileName.end()) {
        auto& list = byName[old->second];
        list.erase(std::remove_if(list.begin(), list.end(),
                                  [&](const std::weak_ptr<Node>& n) {
                                      return n.expired() || n.lock().get() == node;
                                  }),
                   list.end());
    }
    fileName[node] = name;
    byName[name].push_back(node->shared_from_this());
}

std::string ReadState::inNamespace(const std::string& name) const {
    if (nameSpace.empty())
        return name;
    std::string mapped;
    size_t start = 0;
    while (true) {
        const size_t bar = name.find('|', start);
        std::string part =
            name.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
        if (!part.empty() && part[0] != ':')
            part = nameSpace + ":" + part;
        mapped += part;
        if (bar == std::string::npos)
            return mapped;
        mapped += '|';
        start = bar + 1;
    }
}

CommandRun::CommandRun(std::string command, ReadState* readState, Sink sink)
    : reading(readState), command_(std::move(command)), sink_(std::move(sink)) {}

void CommandRun::error(const std::string& what) {
    failed_ = true;
    if (reading)
        ++reading->errors;
    if (sink_)
        sink_(MessageKind::kError, command_ + ": " + what);
}

void CommandRun::warning(const std::string& what) {
    if (sink_)
        sink_(MessageKind::kWarning, command_ + ": " + what);
}

// ---- The command table -----------------------------------------------------------------------

const std::vector<SceneCommandSyntax>& sceneCommandTable() {
    static const std::vector<SceneCommandSyntax> table = {
        {"requires", {{"nt", "nodeType", 1}, {"dt", "dataType", 1}}, &runRequires, false},
        {"currentUnit",
         {{"l", "linear", 1},
          {"a", "angle", 1},
          {"t", "time", 1},
          {"f", "fullName", 0},
          {"ua", "updateAnimation", 1}},
         &runCurrentUnit,
         true},
        {"fileInfo", {{"rm", "remove", 1}}, &runFileInfo, true},
        {"workspace", {{"fr", "fileRule", 2}}, &runWorkspace, false},
        {"relationship", {}, &runRelationship, false},
        {"dataStructure",
         {{"fmt", "format", 1},
          {"as", "asString", 1},
          {"asf", "asFile", 1},
          {"n", "name", 1},
          {"rm", "remove", 0},
          {"rma", "removeAll", 0}},
         &runDataStructure,
         true},
        {"file",
         {{"f", "force", 0},
          {"new", "newFile", 0},
          {"o", "open", 0},
          {"i", "import", 0},
          {"s", "save", 0},
          {"rn", "rename", 1},
          {"typ", "type", 1},
          {"r", "reference", 0},
          {"rdi", "referenceDepthInfo", 1},
          {"ns", "namespace", 1},
          {"rfn", "referenceNode", 1},
          {"dr", "deferReference", 1},
          {"op", "options", 1},
          {"sn", "sceneName", 0},
          {"pr", "prompt", 1},
          {"lrd", "loadReferenceDepth", 1},
          {"gl", "groupLocator", 0},
          {"shd", "sharedNodes", 1},
          {"mnc", "mergeNamespacesOnClash", 1},
          {"rpr", "renamingPrefix", 1},
          {"esn", "exportSelectedNode", 0}},
         &runFile,
         true},
        {"createNode",
         {{"n", "name", 1}, {"p", "parent", 1}, {"s", "shared", 0}, {"ss", "skipSelect", 0}},
         &runCreateNode,
         false},
        {"rename", {{"uid", "uuid", 0}, {"is", "ignoreShape", 0}}, &runRename, false},
        {"parent",
         {{"s", "shape", 0},
          {"r", "relative", 0},
          {"a", "absolute", 0},
          {"w", "world", 0},
          {"add", "addObject", 0},
          {"rm", "removeObject", 0},
          {"nc", "noConnections", 0},
          {"nis", "noInvScale", 0}},
         &runParent,
         false},
        {"select",
         {{"ne", "noExpand", 0},
          {"r", "replace", 0},
          {"add", "add", 0},
          {"af", "addFirst", 0},
          {"d", "deselect", 0},
          {"tgl", "toggle", 0},
          {"cl", "clear", 0},
          {"all", "all", 0},
          {"hi", "hierarchy", 0},
          {"vis", "visible", 0}},
         &runSelect,
         false},
        {"lockNode",
         {{"l", "lock", 1},
          {"ic", "ignoreComponents", 0},
          {"lu", "lockUnpublished", 1},
          {"ln", "lockName", 1}},
         &runLockNode,
         true},
        {"delete",
         {{"ch", "constructionHistory", 0},
          {"hi", "hierarchy", 1},
          {"s", "shape", 0},
          {"c", "channels", 0}},
         &runDelete,
         false},
        {"setAttr",
         {{"k", "keyable", 1},
          {"l", "lock", 1},
          {"s", "size", 1},
          {"cb", "channelBox", 1},
          {"av", "alteredValue", 0},
          {"ca", "caching", 1},
          {"ch", "capacityHint", 1},
          {"c", "clamp", 0},
          {"typ", "type", 1}},
         &runSetAttr,
         false},
        {"addAttr",
         {{"ln", "longName", 1},
          {"sn", "shortName", 1},
          {"nn", "niceName", 1},
          {"at", "attributeType", 1},
          {"dt", "dataType", 1},
          {"p", "parent", 1},
          {"nc", "numberOfChildren", 1},
          {"min", "minValue", 1},
          {"max", "maxValue", 1},
          {"smn", "softMinValue", 1},
          {"smx", "softMaxValue", 1},
          {"hnv", "hasMinValue", 1},
          {"hxv", "hasMaxValue", 1},
          {"hsn", "hasSoftMinValue", 1},
          {"hsx", "hasSoftMaxValue", 1},
          {"dv", "defaultValue", 1},
          {"en", "enumName", 1},
          {"k", "keyable", 1},
          {"h", "hidden", 1},
          {"uap", "usedAsProxy", 0},
          {"bt", "binaryTag", 1},
          {"m", "multi", 0},
          {"im", "indexMatters", 1},
          {"s", "storable", 1},
          {"r", "readable", 1},
          {"w", "writable", 1},
          {"ci", "cachedInternally", 1},
          {"uac", "usedAsColor", 0},
          {"uaf", "usedAsFilename", 0},
          {"ct", "category", 1},
          {"pxy", "proxy", 1},
          {"fn", "fromPlugin", 0},
          {"is", "internalSet", 1},
          {"dcb", "disconnectBehaviour", 1},
          {"e", "edit", 0}},
         &runAddAttr,
         false},
        {"getAttr",
         {{"mi", "multiIndices", 0},
          {"typ", "type", 0},
          {"s", "size", 0},
          {"l", "lock", 0},
          {"k", "keyable", 0},
          {"cb", "channelBox", 0},
          {"sl", "silent", 0},
          {"t", "time", 1},
          {"x", "expandEnvironmentVariables", 0},
          {"asString", "asString", 0}},
         &runGetAttr,
         false},
        {"connectAttr",
         {{"f", "force", 0},
          {"na", "nextAvailable", 0},
          {"l", "lock", 1},
          {"rd", "referenceDest", 1}},
         &runConnectAttr,
         false},
        {"disconnectAttr", {{"na", "nextAvailable", 0}}, &runDisconnectAttr, false},
        {"listConnections",
         {{"s", "source", 1},
          {"d", "destination", 1},
          {"p", "plugs", 1},
          {"c", "connections", 1},
          {"sh", "shapes", 1},
          {"t", "type", 1},
          {"scn", "skipConversionNodes", 1},
          {"et", "exactType", 1}},
         &runListConnections,
         false},
        {"ls",
         {{"sl", "selection", 0},
          {"os", "orderedSelection", 0},
          {"typ", "type", 1},
          {"dag", "dag", 0},
          {"l", "long", 0},
          {"sn", "shortNames", 0},
          {"fl", "flatten", 0},
          {"o", "objectsOnly", 0},
          {"tr", "transforms", 0},
          {"s", "shapes", 0},
          {"ni", "noIntermediate", 0},
          {"io", "intermediateObjects", 0},
          {"v", "visible", 0},
          {"st", "showType", 0}},
         &runLs,
         false},
        {"listRelatives",
         {{"s", "shapes", 0},
          {"p", "parent", 0},
          {"c", "children", 0},
          {"f", "fullPath", 0},
          {"ni", "noIntermediate", 0},
          {"ad", "allDescendents", 0},
          {"ap", "allParents", 0},
          {"typ", "type", 1},
          {"pa", "path", 0}},
         &runListRelatives,
         false},
        {"nodeType", {{"api", "apiType", 0}, {"i", "inherited", 0}}, &runNodeType, false},
        {"currentTime", {{"e", "edit", 0}, {"u", "update", 1}}, &runCurrentTime, true},
        {"sets",
         {{"n", "name", 1},
          {"em", "empty", 0},
          {"add", "addElement", 1},
          {"fe", "forceElement", 1},
          {"rm", "remove", 1}},
         &runSets,
         false},
    };
    return table;
}

const SceneCommandSyntax* findSceneCommand(const std::string& name) {
    for (const SceneCommandSyntax& syntax : sceneCommandTable())
        if (syntax.name == name)
            return &syntax;
    return nullptr;
}

bool parseSceneArgs(const SceneCommandSyntax& syntax, const std::vector<SceneToken>& tokens,
                    bool query, ParsedArgs& out, std::string& error) {
    out = ParsedArgs();
    out.query = query;
    for (const SceneToken& token : tokens)
        if (syntax.queryable && token.isFlag() && (token.text == "-q" || token.text == "-query"))
            out.query = true;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const SceneToken& token = tokens[i];
        if (!token.isFlag()) {
            out.positional.push_back(token);
            continue;
        }
        std::string name = token.text.substr(1);
        if (syntax.queryable && (name == "q" || name == "query"))
            continue;
        const FlagSyntax* flag = nullptr;
        for (const FlagSyntax& f : syntax.flags)
            if (f.shortName == name || f.longName == name)
                flag = &f;
        if (!flag) {
            error = "unknown flag '-" + name + "'";
            return false;
        }
        int count = out.query ? 0 : flag->values;
        ParsedArgs::Use use{flag, {}};
        for (int k = 1; k <= count; ++k) {
            if (i + k >= tokens.size() || tokens[i + k].isFlag()) {
                error = "flag '-" + name + "' expects " + std::to_string(count) +
                        (count == 1 ? " value" : " values");
                return false;
            }
            use.values.push_back(tokens[i + k]);
        }
        i += static_cast<size_t>(count);
        out.flags.push_back(std::move(use));
    }
    return true;
}

bool runSceneCommand(const SceneCommandSyntax& syntax, CommandRun& run) {
    bool ok = syntax.handler(run);
    return ok && !run.failed();
}

// ---- Names and nodes -------------------------------------------------------------------------

namespace {

std::vector<std::string> splitPath(const std::string& name) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        size_t bar = name.find('|', start);
        parts.push_back(
            name.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    for (std::string& part : parts)
        if (!part.empty() && part[0] == ':')
            part.erase(0, 1);
    return parts;
}

bool nameMatches(const CommandRun& run, const Node* node, const std::string& name) {
    if (node->name() == name)
        return true;
    if (run.reading) {
        auto it = run.reading->fileName.find(node);
        return it != run.reading->fileName.end() && it->second == name;
    }
    return false;
}

// True when the node's ancestors match the path parts before the last.
bool ancestorsMatch(const CommandRun& run, const Node* node,
                    const std::vector<std::string>& parts) {
    bool absolute = parts.size() > 1 && parts.front().empty();
    size_t first = absolute ? 1 : 0;
    const Node* current = node->parent();
    for (size_t k = parts.size() - 1; k-- > first;) {
        if (!current || !nameMatches(run, current, parts[k]))
            return false;
        current = current->parent();
    }
    return !absolute || current == nullptr;
}

// Default nodes of every Maya scene, by name: the type to give one a file uses without
// creating it.
std::string defaultNodeType(const std::string& name) {
    static const std::pair<const char*, const char*> types[] = {
        {"time1", "time"},
        {"renderPartition", "partition"},
        {"renderGlobalsList1", "renderGlobalsList"},
        {"defaultShaderList1", "defaultShaderList"},
        {"defaultTextureList1", "defaultTextureList"},
        {"defaultRenderUtilityList1", "defaultRenderUtilityList"},
        {"postProcessList1", "postProcessList"},
        {"defaultRenderingList1", "defaultRenderingList"},
        {"lightList1", "lightList"},
        {"initialShadingGroup", "shadingEngine"},
        {"initialParticleSE", "shadingEngine"},
        {"initialMaterialInfo", "materialInfo"},
        {"defaultLightSet", "objectSet"},
        {"defaultObjectSet", "objectSet"},
        {"lambert1", "lambert"},
        {"particleCloud1", "particleCloud"},
        {"hardwareRenderGlobals", "hardwareRenderGlobals"},
        {"hardwareRenderingGlobals", "hardwareRenderingGlobals"},
        {"defaultHardwareRenderGlobals", "hwRenderGlobals"},
        {"defaultRenderGlobals", "renderGlobals"},
        {"defaultResolution", "resolution"},
        {"defaultColorMgtGlobals", "colorManagementGlobals"},
        {"ikSystem", "ikSystem"},
        {"strokeGlobals", "strokeGlobals"},
        {"defaultRenderQuality", "renderQuality"},
        {"sequenceManager1", "sequenceManager"},
        {"characterPartition", "partition"},
        {"defaultViewColorManager", "viewColorManager"},
    };
    for (const auto& [node, type] : types)
        if (name == node)
            return type;
    return "unknown";
}

} // namespace

std::vector<Node*> nodesNamed(const CommandRun& run, const std::string& name) {
    std::vector<Node*> found;
    if (name.empty())
        return found;
    std::vector<std::string> parts = splitPath(run.reading ? run.reading->inNamespace(name) : name);
    const std::string& leaf = parts.back();
    if (leaf.empty())
        return found;
    auto keep = [&](Node* node) {
        if ((parts.size() == 1 || ancestorsMatch(run, node, parts)) &&
            std::find(found.begin(), found.end(), node) == found.end())
            found.push_back(node);
    };
    // The file's own nodes first: one the host renamed on reading keeps the name the file
    // gave it, over a node of the scene that has that name.
    if (run.reading) {
        auto it = run.reading->byName.find(leaf);
        if (it != run.reading->byName.end())
            for (const auto& weak : it->second)
                if (auto node = weak.lock(); node && node->alive())
                    keep(node.get());
        if (!found.empty())
            return found;
    }
    for (Node* node : Graph::instance().findAll(leaf))
        keep(node);
    return found;
}

Node* findNodeNamed(const CommandRun& run, const std::string& name) {
    std::vector<Node*> found = nodesNamed(run, name);
    return found.size() == 1 ? found.front() : nullptr;
}

std::string unresolvedName(const CommandRun& run, const std::string& name,
                           const std::string& missing) {
    return nodesNamed(run, name).size() > 1 ? Graph::ambiguousName(name) : missing;
}

Node* findOrCreateDefaultNode(CommandRun& run, const std::string& name) {
    if (Node* node = findNodeNamed(run, name))
        return node;
    if (!run.reading || name.size() < 2 || name[0] != ':' ||
        name.find_first_of("|.", 1) != std::string::npos)
        return nullptr;
    std::string bare = name.substr(1);
    Node* node = createNodeOfType(run, defaultNodeType(bare), bare, nullptr, false);
    if (!node)
        return nullptr;
    NodeExtras* extras = SceneState::instance().extras(node, true);
    extras->shared = true;
    extras->implicit = true;
    run.reading->remember(node, bare);
    return node;
}

std::vector<Node*> relativeTargets(CommandRun& run) {
    std::vector<Node*> nodes;
    if (run.reading) {
        for (const auto& weak : run.reading->targets)
            if (auto node = weak.lock(); node && node->alive())
                nodes.push_back(node.get());
        return nodes;
    }
    for (const SelectionItem& item : SceneState::instance().selection)
        if (auto node = item.node.lock();
            node && node->alive() &&
            std::find(nodes.begin(), nodes.end(), node.get()) == nodes.end())
            nodes.push_back(node.get());
    return nodes;
}

const SceneUnits& activeUnits(const CommandRun& run) {
    return run.reading ? run.reading->units : SceneState::instance().units;
}

// ---- Text ------------------------------------------------------------------------------------

std::string tokenText(const SceneToken& token) {
    return token.quoted ? quoteText(token.text) : token.text;
}

std::string joinTokens(const std::vector<SceneToken>& tokens) {
    std::string text;
    for (const SceneToken& token : tokens) {
        if (!text.empty())
            text += ' ';
        text += tokenText(token);
    }
    return text;
}

std::string commandText(const std::string& name, const ParsedArgs& args) {
    std::string text = name;
    for (const ParsedArgs::Use& use : args.flags) {
        text += " -" + use.flag->shortName;
        for (const SceneToken& value : use.values)
            text += " " + tokenText(value);
    }
    for (const SceneToken& token : args.positional)
        text += " " + tokenText(token);
    return text;
}

bool tokenBool(const SceneToken& token, bool& value) {
    if (parseBoolText(token.text, value))
        return true;
    double number = 0.0;
    if (parseNumberText(token.text, number)) {
        value = number != 0.0;
        return true;
    }
    return false;
}

// ---- DAG -------------------------------------------------------------------------------------

std::string longNameOf(const Node* node) {
    return NodeNames::fullPath(node);
}

bool isTransformLike(const Node* node) {
    if (!node->type()->dag)
        return false;
    if (node->hasFn(MFn::kTransform) || !node->children().empty())
        return true;
    static const char* const types[] = {"transform", "joint",          "ikHandle",     "ikEffector",
                                        "lodGroup",  "place3dTexture", "hikIKEffector"};
    const std::string& type = node->typeName();
    for (const char* t : types)
        if (type == t)
            return true;
    const std::string suffix = "Constraint";
    return type.size() > suffix.size() &&
           type.compare(type.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool isIntermediate(Node* node) {
    const AttributeDef* io =
        node->type()->dag ? node->findAttribute("intermediateObject") : nullptr;
    if (!io)
        return false;
    Slot* slot = Graph::instance().pull(PlugRef{node, io, {}});
    return slot && slot->get(io) != 0.0;
}

} // namespace host
