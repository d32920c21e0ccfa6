#include "scene/sceneTrust.h"

#include <algorithm>

namespace host {

namespace {

bool trusted = false;

} // namespace

const std::vector<std::string>& sceneDescriptionCommands() {
    // What Maya writes into a scene file: the header commands, then nodes, their attributes
    // and connections, selections of shared nodes, and references (`file -r`, `file -rdi`).
    // The handlers of these commands change only the scene; `file` refuses to open, import
    // or save anything while a file is read.
    static const std::vector<std::string> commands = {
        "requires",     "currentUnit", "fileInfo", "workspace", "file",        "dataStructure",
        "createNode",   "rename",      "setAttr",  "addAttr",   "connectAttr", "disconnectAttr",
        "relationship", "select",      "parent",   "lockNode",
    };
    return commands;
}

bool describesScene(const std::string& command) {
    const std::vector<std::string>& commands = sceneDescriptionCommands();
    return std::find(commands.begin(), commands.end(), command) != commands.end();
}

void setTrustScenes(bool trust) {
    trusted = trust;
}

bool scenesTrusted() {
    return trusted;
}

bool sceneMayRun(const std::string& command) {
    return trusted || describesScene(command);
}

void SkippedCommands::add(const std::string& name, int line) {
    for (Entry& entry : skipped_)
        if (entry.name == name) {
            ++entry.count;
            return;
        }
    skipped_.push_back(Entry{name, 1, line});
}

std::vector<std::string> SkippedCommands::warnings() const {
    std::vector<std::string> lines;
    for (const Entry& entry : skipped_)
        lines.push_back("'" + entry.name + "' was not run (" + std::to_string(entry.count) +
                        (entry.count == 1 ? " time" : " times") + ", first at line " +
                        std::to_string(entry.firstLine) +
                        "): a scene file runs only the commands that describe the scene. To run "
                        "it, open the scene as trusted (quillo --trust-scene), and only if you "
                        "trust where the file comes from: it can then write files and run any "
                        "command.");
    return lines;
}

} // namespace host
