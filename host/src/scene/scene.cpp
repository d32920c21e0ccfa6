#include <host/scene.h>

#include "callbacks/callbackRegistry.h"
#include "foundation/filesBeingRead.h"
#include "graph/graph.h"
#include "graph/nodeType.h"
#include "plugin/plugin.h"
#include "scene/mayaAsciiReader.h"
#include "scene/mayaAsciiWriter.h"
#include "scene/rawValues.h"
#include "scene/references.h"
#include "scene/sceneCommands.h"
#include "scene/sceneState.h"
#include "scene/sceneTrust.h"
#include "scene/valueText.h"

#include <maya/MGlobal.h>
#include <maya/MSceneMessage.h>

#include <cmath>
#include <sstream>

namespace host {

extern bool readingFile;
extern bool writingFile;
extern std::string currentFile;

namespace {

// Splits "node.attr[0].child" into the node and its plug path.
bool splitPlugName(const std::string& name, std::string& node, std::string& path) {
    size_t dot = name.find('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 >= name.size())
        return false;
    node = name.substr(0, dot);
    path = name.substr(dot + 1);
    return true;
}

std::string formatNumber(double value) {
    return formatDouble(value);
}

// Why a name found no node: Maya's message when several match it.
std::string unresolved(const std::string& name) {
    return Graph::instance().findAll(name).size() > 1 ? Graph::ambiguousName(name)
                                                      : "no node named '" + name + "'.";
}

} // namespace

Scene& Scene::current() {
    static Scene scene;
    return scene;
}

MStatus Scene::fail(const std::string& message) {
    lastError_ = message;
    MGlobal::displayError(message.c_str());
    return MS::kFailure;
}

MStatus Scene::createNode(const std::string& type, const std::string& name,
                          const std::string& parentName, std::string* created,
                          bool allowUnknownType) {
    Graph& graph = Graph::instance();
    Node* parentNode = nullptr;
    if (!parentName.empty()) {
        parentNode = graph.find(parentName);
        if (!parentNode)
            return fail("createNode: parent node '" + parentName + "' does not exist.");
    }
    std::string error;
    NodeType* nodeType = TypeRegistry::instance().findNode(type);
    if (!nodeType && !allowUnknownType)
        return fail("createNode: unknown node type '" + type + "'.");
    if (!nodeType) {
        Node* node = graph.createNode("unknown", name.empty() ? type + "1" : name, nullptr, &error);
        if (!node)
            return fail("createNode: " + error);
        node->setGenericType(type);
        if (created)
            *created = node->name();
        return MS::kSuccess;
    }
    if (nodeType->shape && !parentNode) {
        parentNode = graph.createNode("transform", "", nullptr, &error);
        if (!parentNode)
            return fail("createNode: " + error);
    }
    Node* node = graph.createNode(type, name, parentNode, &error);
    if (!node)
        return fail("createNode: " + error);
    if (created)
        *created = node->name();
    return MS::kSuccess;
}

MStatus Scene::rename(const std::string& from, const std::string& to) {
    Node* node = Graph::instance().find(from);
    if (!node)
        return fail("rename: " + unresolved(from));
    std::string error;
    if (!Graph::instance().rename(node, to, &error))
        return fail("rename: " + error);
    return MS::kSuccess;
}

MStatus Scene::parent(const std::string& child, const std::string& parentName) {
    Graph& graph = Graph::instance();
    Node* node = graph.find(child);
    if (!node)
        return fail("parent: " + unresolved(child));
    Node* parentNode = nullptr;
    if (!parentName.empty() && !(parentNode = graph.find(parentName)))
        return fail("parent: " + unresolved(parentName));
    std::string error;
    if (!graph.reparent(node, parentNode, &error))
        return fail("parent: " + error);
    return MS::kSuccess;
}

MStatus Scene::deleteNode(const std::string& name) {
    Node* node = Graph::instance().find(name);
    if (!node)
        return fail("delete: " + unresolved(name));
    if (node->locked)
        return fail("delete: node '" + name + "' is locked.");
    std::string error;
    if (!Graph::instance().deleteNode(node, &error))
        return fail("delete: " + error);
    SceneState::instance().rawConnections.prune();
    return MS::kSuccess;
}

MStatus Scene::findPlug(const std::string& name, MPlug& plug) const {
    std::string nodeName, path;
    if (!splitPlugName(name, nodeName, path)) {
        const_cast<Scene*>(this)->fail("'" + name + "' is not a plug name (node.attribute).");
        return MS::kInvalidParameter;
    }
    Node* node = Graph::instance().find(nodeName);
    if (!node) {
        const_cast<Scene*>(this)->fail("No node named '" + nodeName + "' (in '" + name + "').");
        return MS::kInvalidParameter;
    }
    PlugRef ref;
    if (!resolvePlug(node, path, ref)) {
        const_cast<Scene*>(this)->fail("Node '" + nodeName + "' (" + node->typeName() +
                                       ") has no attribute '" + path + "'.");
        return MS::kInvalidParameter;
    }
    plug = Graph::toMPlug(ref);
    return MS::kSuccess;
}

MStatus Scene::setAttr(const std::string& name, double value) {
    return setAttr(name, std::vector<double>{value});
}

MStatus Scene::setAttr(const std::string& name, const std::vector<double>& values) {
    std::string nodeName, path;
    Node* node = splitPlugName(name, nodeName, path) ? Graph::instance().find(nodeName) : nullptr;
    if (node && node->type()->generic &&
        !node->findAttribute(path.substr(0, path.find_first_of(".[")))) {
        RawSetting setting;
        for (double v : values) {
            SceneToken token;
            token.text = formatNumber(v);
            setting.values.push_back(token);
        }
        node->rawValues[path] = encodeRawSetting(setting);
        return MS::kSuccess;
    }
    MPlug plug;
    if (!findPlug(name, plug))
        return MS::kFailure;
    PlugRef ref = Graph::fromMPlug(plug);
    const AttributeDef* attribute = ref.attribute;
    if (!attribute->isNumericLike() && !attribute->numericCompound)
        return fail("setAttr: '" + name + "' is not numeric.");
    size_t expected = attribute->numericCompound ? attribute->children.size() : 1;
    if (values.size() != expected)
        return fail("setAttr: '" + name + "' takes " + std::to_string(expected) +
                    " value(s), got " + std::to_string(values.size()) + ".");
    std::string error;
    if (!attribute->numericCompound) {
        if (!Graph::instance().setNumber(ref, values[0], &error))
            return fail("setAttr: " + error);
        return MS::kSuccess;
    }
    for (size_t i = 0; i < values.size(); ++i)
        if (!Graph::instance().setNumber(Graph::fromMPlug(plug.child(static_cast<unsigned int>(i))),
                                         values[i], &error))
            return fail("setAttr: " + error);
    return MS::kSuccess;
}

MStatus Scene::setAttr(const std::string& name, const std::string& text) {
    std::string nodeName, path;
    Node* node = splitPlugName(name, nodeName, path) ? Graph::instance().find(nodeName) : nullptr;
    if (node && node->type()->generic &&
        !node->findAttribute(path.substr(0, path.find_first_of(".[")))) {
        RawSetting setting;
        setting.flags = lexArguments("-type \"string\"");
        SceneToken token;
        token.text = text;
        token.quoted = true;
        setting.values.push_back(token);
        node->rawValues[path] = encodeRawSetting(setting);
        return MS::kSuccess;
    }
    MPlug plug;
    if (!findPlug(name, plug))
        return MS::kFailure;
    const AttributeDef* attribute = Graph::fromMPlug(plug).attribute;
    if (attribute->kind != AttributeDef::Kind::Typed || attribute->dataType != MFnData::kString)
        return fail("setAttr: '" + name + "' is not a string attribute.");
    return plug.setValue(MString(text.c_str())) ? MStatus(MS::kSuccess)
                                                : fail("setAttr: cannot set '" + name + "'.");
}

MStatus Scene::getAttr(const std::string& name, double& value) {
    std::vector<double> values;
    MStatus status = getAttr(name, values);
    if (!status)
        return status;
    if (values.size() != 1)
        return fail("getAttr: '" + name + "' has " + std::to_string(values.size()) + " values.");
    value = values[0];
    return MS::kSuccess;
}

MStatus Scene::getAttr(const std::string& name, std::vector<double>& values) {
    std::string nodeName, path;
    Node* node = splitPlugName(name, nodeName, path) ? Graph::instance().find(nodeName) : nullptr;
    if (node && node->rawValues.count(path) &&
        !node->findAttribute(path.substr(0, path.find_first_of(".[")))) {
        values.clear();
        for (const SceneToken& token : decodeRawSetting(node->rawValues[path]).values) {
            double value = 0.0;
            if (!parseNumberText(token.text, value))
                return fail("getAttr: '" + name + "' holds '" + token.text + "', not a number.");
            values.push_back(value);
        }
        return MS::kSuccess;
    }
    MPlug plug;
    if (!findPlug(name, plug))
        return MS::kFailure;
    PlugRef ref = Graph::fromMPlug(plug);
    const AttributeDef* attribute = ref.attribute;
    if (!attribute->isNumericLike() && !attribute->numericCompound)
        return fail("getAttr: '" + name + "' is not numeric.");
    Slot* slot = Graph::instance().pull(ref);
    if (!slot)
        return fail("getAttr: cannot evaluate '" + name + "'.");
    values.clear();
    if (!attribute->numericCompound) {
        values.push_back(slot->get(attribute));
        return MS::kSuccess;
    }
    for (size_t i = 0; i < attribute->children.size() && i < slot->children.size(); ++i)
        values.push_back(slot->children[i].get(attribute->children[i].get()));
    return MS::kSuccess;
}

MStatus Scene::getAttr(const std::string& name, std::string& text) {
    std::string nodeName, path;
    Node* node = splitPlugName(name, nodeName, path) ? Graph::instance().find(nodeName) : nullptr;
    if (node && node->type()->generic) {
        auto it = node->rawValues.find(path);
        if (it != node->rawValues.end()) {
            RawSetting setting = decodeRawSetting(it->second);
            text.clear();
            for (const SceneToken& token : setting.values)
                text += (text.empty() ? "" : " ") + token.text;
            return MS::kSuccess;
        }
    }
    MPlug plug;
    if (!findPlug(name, plug))
        return MS::kFailure;
    MString value;
    if (!plug.getValue(value))
        return fail("getAttr: '" + name + "' is not a string attribute.");
    text = value.asChar();
    return MS::kSuccess;
}

MStatus Scene::connectAttr(const std::string& source, const std::string& destination, bool force,
                           bool nextAvailable, std::string* connected) {
    MPlug from, to;
    if (!findPlug(source, from) || !findPlug(destination, to))
        return MS::kFailure;
    PlugRef src = Graph::fromMPlug(from), dst = Graph::fromMPlug(to);
    if (nextAvailable) {
        if (!to.isArray())
            return fail("connectAttr -na: '" + destination + "' is not an array plug.");
        // The first logical index above every element that exists or is connected.
        unsigned int next = 0;
        unsigned int count = to.numElements();
        if (count > 0)
            next = to.elementByPhysicalIndex(count - 1).logicalIndex() + 1;
        dst.indices.back() = static_cast<int>(next);
    }
    std::string error;
    if (!Graph::instance().connect(src, dst, force, &error))
        return fail("connectAttr: " + error);
    if (connected)
        *connected = Graph::plugName(dst);
    return MS::kSuccess;
}

MStatus Scene::disconnectAttr(const std::string& source, const std::string& destination) {
    MPlug from, to;
    if (!findPlug(source, from) || !findPlug(destination, to))
        return MS::kFailure;
    std::string error;
    if (!Graph::instance().disconnect(Graph::fromMPlug(from), Graph::fromMPlug(to), &error))
        return fail("disconnectAttr: " + error);
    return MS::kSuccess;
}

MStatus Scene::evaluate(const std::string& name) {
    MPlug plug;
    if (!findPlug(name, plug))
        return MS::kFailure;
    if (!Graph::instance().pull(Graph::fromMPlug(plug)))
        return fail("Cannot evaluate '" + name + "'.");
    return MS::kSuccess;
}

void Scene::fileNew() {
    Graph::instance().clear();
    SceneState::instance().clear();
    host::currentFile.clear();
    CallbackRegistry::instance().scene(MSceneMessage::kAfterNew);
}

MStatus Scene::openFile(const std::string& path) {
    FileBeingRead entered(path);
    if (entered.refused())
        return fail("Cannot open the scene: " + entered.error());
    if (readingFile)
        return fail("Cannot open '" + path + "' while a scene file is being read.");
    std::string text, error;
    if (!readSceneText(path, text, error))
        return fail(error);
    CallbackRegistry::instance().scene(MSceneMessage::kBeforeOpen);
    Graph::instance().clear();
    SceneState::instance().clear();
    host::currentFile = path;
    SceneState::instance().currentFile = path;
    readScene(path, text, false);
    CallbackRegistry::instance().scene(MSceneMessage::kAfterOpen);
    return MS::kSuccess;
}

MStatus Scene::importFile(const std::string& path) {
    FileBeingRead entered(path);
    if (entered.refused())
        return fail("Cannot import the scene: " + entered.error());
    if (readingFile)
        return fail("Cannot import '" + path + "' while a scene file is being read.");
    std::string text, error;
    if (!readSceneText(path, text, error))
        return fail(error);
    CallbackRegistry::instance().scene(MSceneMessage::kBeforeImport);
    readScene(path, text, true);
    CallbackRegistry::instance().scene(MSceneMessage::kAfterImport);
    return MS::kSuccess;
}

MStatus Scene::saveFile(const std::string& path) {
    if (path.empty())
        return fail("Cannot save the scene: no file name given.");
    CallbackRegistry::instance().scene(MSceneMessage::kBeforeSave);
    writingFile = true;
    std::vector<std::string> warnings;
    std::string text = writeScene(path, warnings);
    std::string error;
    bool written = writeFileAtomically(path, text, error);
    writingFile = false;
    for (const std::string& warning : warnings)
        MGlobal::displayWarning(("Saving '" + path + "': " + warning).c_str());
    if (!written)
        return fail("Cannot save the scene as '" + path + "': " + error + ".");
    host::currentFile = path;
    SceneState::instance().currentFile = path;
    CallbackRegistry::instance().scene(MSceneMessage::kAfterSave);
    return MS::kSuccess;
}

void Scene::setTrustScenes(bool trust) {
    host::setTrustScenes(trust);
}

bool Scene::trustsScenes() {
    return scenesTrusted();
}

void Scene::addReferencePath(const std::string& folder) {
    addReferenceSearchFolder(folder);
}

void Scene::clearReferencePaths() {
    clearReferenceSearchFolders();
}

std::vector<std::pair<std::string, std::string>> Scene::referencedFiles() const {
    std::vector<std::pair<std::string, std::string>> files;
    for (const LoadedReference& reference : SceneState::instance().loadedReferences)
        if (!reference.file.empty())
            files.emplace_back(reference.referenceNode, reference.file);
    return files;
}

std::string Scene::currentFile() const {
    return SceneState::instance().currentFile;
}

void Scene::sendMessage(int message) {
    if (message >= 0 && message < MSceneMessage::kLast)
        CallbackRegistry::instance().scene(static_cast<MSceneMessage::Message>(message));
}

void Scene::exit() {
    Graph::instance().clear();
    CallbackRegistry::instance().scene(MSceneMessage::kMayaExiting);
    PluginManager::instance().unloadAll();
}

MStatus Scene::loadPlugin(const std::string& path) {
    std::string error;
    if (!PluginManager::instance().load(path, &error))
        return fail(error);
    return MS::kSuccess;
}

MStatus Scene::unloadPlugin(const std::string& nameOrPath) {
    std::string error;
    if (!PluginManager::instance().unload(nameOrPath, &error))
        return fail(error);
    return MS::kSuccess;
}

bool Scene::pluginInfo(const std::string& nameOrPath, PluginInfo& info) const {
    Plugin* plugin = PluginManager::instance().find(nameOrPath);
    if (!plugin)
        return false;
    info = PluginInfo{plugin->name,
                      plugin->path,
                      plugin->vendor,
                      plugin->version,
                      plugin->requiredApiVersion,
                      plugin->apiVersion};
    return true;
}

std::vector<std::string> Scene::pluginNodeTypes(const std::string& pluginName) const {
    std::vector<std::string> names;
    Plugin* plugin = PluginManager::instance().find(pluginName);
    for (NodeType* type : TypeRegistry::instance().nodeTypes())
        if (plugin && type->plugin == plugin)
            names.push_back(type->name);
    return names;
}

std::vector<std::string> Scene::pluginDataTypes(const std::string& pluginName) const {
    std::vector<std::string> names;
    Plugin* plugin = PluginManager::instance().find(pluginName);
    for (DataType* type : TypeRegistry::instance().dataTypes())
        if (plugin && type->plugin == plugin)
            names.push_back(type->name);
    return names;
}

MObject Scene::findNode(const std::string& name) const {
    Node* node = Graph::instance().find(name);
    return node ? node->object() : MObject();
}

std::vector<std::string> Scene::nodeNames() const {
    std::vector<std::string> names;
    for (Node* node : Graph::instance().nodes())
        names.push_back(Graph::instance().partialPathOf(node));
    return names;
}

std::string Scene::typeOf(const std::string& name) const {
    Node* node = Graph::instance().find(name);
    return node ? node->typeName() : std::string();
}

std::string Scene::fullPathOf(const std::string& name) const {
    Node* node = Graph::instance().find(name);
    return node ? longNameOf(node) : std::string();
}

std::string Scene::parentOf(const std::string& name) const {
    Node* node = Graph::instance().find(name);
    return node && node->parent() ? node->parent()->name() : std::string();
}

} // namespace host
