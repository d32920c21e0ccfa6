#pragma once
// Shared by the Maya ASCII tests: a fresh scene per test, captured messages, a scratch folder,
// and a summary of the scene (nodes, types, parents, connections) to compare scenes by.

#include "../sharedScenes.h"
#include "graph/graph.h"
#include "scene/sceneState.h"

#include <host/messages.h>
#include <host/scene.h>

#include <maya/MCallbackIdArray.h>
#include <maya/MMessage.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

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
        std::map<std::string, std::string> types;   // node -> type
        std::map<std::string, std::string> parents; // node -> parent ("" at the top)
        size_t connections = 0;                     // graph and raw
        bool operator==(const Summary& other) const {
            return types == other.types && parents == other.parents &&
                   connections == other.connections;
        }
    };

    static Summary summary() {
        Summary s;
        for (host::Node* node : host::Graph::instance().nodes()) {
            s.types[node->name()] = node->typeName();
            s.parents[node->name()] = node->parent() ? node->parent()->name() : "";
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

    host::Scene& scene = host::Scene::current();
    std::unique_ptr<host::MessageCapture> messages;
    // Callbacks a test registers; removed however the test ends.
    MCallbackIdArray callbacks;

  private:
    std::string scratch_;
};
