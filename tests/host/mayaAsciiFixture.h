#pragma once
// Shared by the Maya ASCII tests: a fresh scene per test, captured messages, a scratch folder,
// and a summary of the scene (nodes, types, parents, connections) to compare scenes by.

#include "../sharedScenes.h"
#include "graph/graph.h"
#include "scene/sceneState.h"
#include "scene/typedValues.h"

#include <host/messages.h>
#include <host/scene.h>

#include <maya/MCallbackIdArray.h>
#include <maya/MMessage.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace sceneDumping {

// Values that connections feed are not the file's: they are skipped.
inline void dumpSlot(const host::AttributeDef* a, const host::Slot& slot, const std::string& path,
                     std::ostringstream& out, const std::set<const host::AttributeDef*>& fed) {
    if (fed.count(a))
        return;
    if (a->array && slot.container) {
        for (const auto& [index, element] : slot.elements)
            dumpSlot(a, element, path + "[" + std::to_string(index) + "]", out, fed);
        return;
    }
    if (!a->children.empty()) {
        for (size_t k = 0; k < a->children.size() && k < slot.children.size(); ++k)
            dumpSlot(a->children[k].get(), slot.children[k], path + "." + a->children[k]->name, out,
                     fed);
        return;
    }
    char number[40];
    switch (a->kind) {
    case host::AttributeDef::Kind::Numeric:
    case host::AttributeDef::Kind::Enum:
        if (a->kind == host::AttributeDef::Kind::Numeric &&
            a->numericType == MFnNumericData::kFloat)
            std::snprintf(number, sizeof number, "%.9g", static_cast<float>(slot.get(a)));
        else
            std::snprintf(number, sizeof number, "%.17g", slot.get(a));
        out << path << " " << number << "\n";
        return;
    case host::AttributeDef::Kind::Typed:
        if (a->dataType == MFnData::kString) {
            out << path << " \"" << slot.text.asChar() << "\"\n";
        } else if (!slot.data.isNull()) {
            const host::TypedValueFormat* format = host::formatOwning(slot.data);
            out << path << " "
                << (format ? format->typeName + " " + format->format(slot.data)
                           : std::string("(data without a text form)"))
                << "\n";
        }
        return;
    default:
        return;
    }
}

} // namespace sceneDumping

class MayaAsciiTest : public ::testing::Test {
  protected:
    void SetUp() override {
        scene.fileNew();
        messages = std::make_unique<host::MessageCapture>();
    }
    void TearDown() override {
        // Callbacks first: the data they were given may have gone with the test's locals.
        MMessage::removeCallbacks(callbacks);
        host::Scene::setTrustScenes(false);
        host::Scene::clearReferencePaths();
        scene.fileNew();
        messages.reset();
        if (!scratch_.empty())
            std::filesystem::remove_all(scratch_);
    }

    static std::string sharedScene(const std::string& name) { return sharedScenePath(name); }
    static std::string dataScene(const std::string& name) {
        return std::string(QUILLO_SOURCE_DIR) + "/tests/data/maya/" + name;
    }

    std::string scratch() {
        if (scratch_.empty()) {
            std::string pattern =
                (std::filesystem::temp_directory_path() / "mayaAsciiXXXXXX").string();
            scratch_ = mkdtemp(pattern.data()) ? pattern : std::string();
        }
        return scratch_;
    }
    std::string write(const std::string& name, const std::string& text) {
        std::string path = scratch() + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::vector<std::string> errors() const { return messages->texts(host::MessageKind::kError); }
    std::vector<std::string> warnings() const {
        return messages->texts(host::MessageKind::kWarning);
    }
    static std::string joined(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\n";
        return text;
    }

    struct Summary {
        std::map<std::string, std::string> types;   // node's full path -> type
        std::map<std::string, std::string> parents; // node's full path -> parent ("" at the top)
        size_t connections = 0;                     // graph and raw
        bool operator==(const Summary& other) const {
            return types == other.types && parents == other.parents &&
                   connections == other.connections;
        }
    };

    static Summary summary() {
        Summary s;
        for (host::Node* node : host::Graph::instance().nodes()) {
            const std::string path = host::NodeNames::fullPath(node);
            s.types[path] = node->typeName();
            s.parents[path] = node->parent() ? host::NodeNames::fullPath(node->parent()) : "";
            s.connections += node->incoming.size();
        }
        s.connections += host::SceneState::instance().rawConnections.all().size();
        return s;
    }

    // A saved file without the lines that name the file and the time it was written.
    static std::string withoutStamp(const std::string& text) {
        std::istringstream in(text);
        std::string line, kept;
        while (std::getline(in, line))
            if (line.rfind("//Name:", 0) != 0 && line.rfind("//Last modified:", 0) != 0 &&
                line.rfind("// End of", 0) != 0)
                kept += line + "\n";
        return kept;
    }

    // Messages without the file and line they name ("a.ma line 3: setAttr: ..." -> "setAttr:
    // ..."), to compare the errors of a file and of its saved copy.
    static std::vector<std::string> withoutPlaces(const std::vector<std::string>& lines) {
        std::vector<std::string> texts;
        for (const std::string& line : lines) {
            const size_t at = line.find(" line ");
            const size_t colon = at == std::string::npos ? at : line.find(": ", at);
            texts.push_back(colon == std::string::npos ? line : line.substr(colon + 2));
        }
        return texts;
    }

    // Everything the scene holds, as text: each node with its type and parent, every stored
    // value (numbers in the type they are stored in, data in its file form), values and
    // connections kept as written, graph connections, locks and the commands kept unapplied.
    static std::string sceneDump() {
        using sceneDumping::dumpSlot;
        std::ostringstream out;
        host::SceneState& state = host::SceneState::instance();
        for (host::Node* node : host::Graph::instance().nodes()) {
            out << "node " << node->name() << " " << node->typeName() << " "
                << (node->parent() ? node->parent()->name() : "") << (node->locked ? " locked" : "")
                << "\n";
            std::set<const host::AttributeDef*> fed;
            std::set<std::string> connections;
            for (const auto& c : node->incoming) {
                fed.insert(c->destination.attribute);
                // Where index does not matter (set members), which element a connection takes
                // depends on the order connections are made in.
                std::string to = host::Graph::plugName(c->destination);
                if (c->destination.attribute->array && !c->destination.attribute->indexMatters)
                    to = to.substr(0, to.rfind('[')) + "[]";
                connections.insert(host::Graph::plugName(c->source) + " " + to);
            }
            for (const host::AttributeDef* top : node->topAttributes()) {
                if (!top->storable || node->type()->isComputed(top))
                    continue;
                if (const host::Slot* slot = node->topSlot(top))
                    dumpSlot(top, *slot, node->name() + "." + top->name, out, fed);
            }
            for (const auto& [path, text] : node->rawValues)
                out << "raw " << node->name() << "." << path << " " << text << "\n";
            for (const std::string& plug : node->lockedPlugs)
                out << "locked " << node->name() << "." << plug << "\n";
            for (const std::string& connection : connections)
                out << "connection " << connection << "\n";
        }
        for (const host::RawConnection* c : state.rawConnections.all())
            out << "raw connection " << c->source.lock()->name() << "." << c->sourcePath << " "
                << c->destination.lock()->name() << "." << c->destinationPath << "\n";
        for (const host::KeptCommand& kept : state.keptCommands)
            out << "kept " << kept.text << "\n";
        return out.str();
    }

    host::Scene& scene = host::Scene::current();
    std::unique_ptr<host::MessageCapture> messages;
    // Callbacks a test registers; removed however the test ends.
    MCallbackIdArray callbacks;

  private:
    std::string scratch_;
};

// The same, with the scene commands registered with MEL for the test.
class MayaAsciiMelTest : public MayaAsciiTest {
  protected:
    void SetUp() override {
        MayaAsciiTest::SetUp();
        host::Scene::registerMelCommands();
    }
    void TearDown() override {
        host::Scene::deregisterMelCommands();
        MayaAsciiTest::TearDown();
    }
};
