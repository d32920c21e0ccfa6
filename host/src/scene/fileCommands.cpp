// The commands that describe a scene file rather than its nodes: requires, currentUnit,
// fileInfo, workspace, relationship, dataStructure, and file itself.

#include "scene/sceneCommands.h"

#include "anim/sceneTime.h"
#include "anim/timeUnit.h"
#include "foundation/filesBeingRead.h"

#include <host/scene.h>

#include <cctype>

namespace host {

extern bool readingFile;
extern std::string currentFile;

namespace {

// A referenced file's scene-wide lines (requirements, relationships, workspace rules) belong
// to that file, which the scene saves as a reference.
bool ownedByReference(const CommandRun& run) {
    return run.reading && run.reading->referenced();
}

bool validTimeUnit(const std::string& unit) {
    return framesPerSecond(unit) > 0.0;
}

// Merges a requirement: a later line for the same plug-in replaces the earlier one.
void addRequirement(const Requirement& requirement) {
    auto& list = SceneState::instance().requirements;
    for (Requirement& r : list)
        if (r.plugin == requirement.plugin && r.text.find("-nodeType") == std::string::npos &&
            requirement.text.find("-nodeType") == std::string::npos) {
            r = requirement;
            return;
        }
    list.push_back(requirement);
}

// `file -rdi` says how a reference stood when the scene was saved (-dr 1: unloaded); `file -r`
// is a reference, loaded once the file is read. The scene saves both lines back as written.
bool readReferenceLine(CommandRun& run) {
    const ParsedArgs& args = run.args;
    ReadState& reading = *run.reading;
    const SceneToken* node = args.value("referenceNode");
    if (args.positional.size() != 1 || !node) {
        run.error("expected -referenceNode and the file a reference reads.");
        return false;
    }
    if (!reading.referenced())
        SceneState::instance().references.push_back(commandText("file", args));
    if (args.has("referenceDepthInfo")) {
        const SceneToken* deferred = args.value("deferReference");
        reading.referenceDepthInfo[node->text] = deferred && deferred->text == "1";
        return true;
    }
    const std::string& path = args.positional[0].text;
    std::string nameSpace = args.value("namespace") ? args.value("namespace")->text : "";
    if (nameSpace.empty()) {
        // Without -ns Maya names the namespace after the file.
        nameSpace = path.substr(path.find_last_of("/\\") + 1);
        nameSpace = nameSpace.substr(0, nameSpace.find('.'));
    }
    reading.pendingReferences.push_back(
        ReadState::PendingReference{nameSpace, node->text, path, run.line});
    return true;
}

} // namespace

bool runRequires(CommandRun& run) {
    const ParsedArgs& args = run.args;
    if (args.positional.empty() || args.positional.size() > 2) {
        run.error("expected a plug-in name and its version.");
        return false;
    }
    const std::string& plugin = args.positional[0].text;
    const std::string version = args.positional.size() > 1 ? args.positional[1].text : "";
    SceneState& state = SceneState::instance();
    if (plugin == "maya") {
        if (!run.reading || !run.reading->importing)
            state.mayaVersion = version;
        return true;
    }
    if (ownedByReference(run))
        return true;
    addRequirement(Requirement{plugin, version, commandText("requires", args)});
    return true;
}

bool runCurrentUnit(CommandRun& run) {
    const ParsedArgs& args = run.args;
    SceneState& state = SceneState::instance();
    SceneUnits& units = run.reading ? run.reading->units : state.units;
    if (args.query) {
        if (args.has("angle"))
            run.result = MelValue(args.has("fullName") || units.angular == "minute" ||
                                          units.angular == "second"
                                      ? units.angular
                                      : units.angular.substr(0, 3));
        else if (args.has("time"))
            run.result = MelValue(units.time);
        else
            run.result = MelValue(args.has("fullName")           ? units.linear
                                  : units.linear == "centimeter" ? std::string("cm")
                                  : units.linear == "millimeter" ? std::string("mm")
                                  : units.linear == "meter"      ? std::string("m")
                                  : units.linear == "kilometer"  ? std::string("km")
                                  : units.linear == "inch"       ? std::string("in")
                                  : units.linear == "foot"       ? std::string("ft")
                                  : units.linear == "yard"       ? std::string("yd")
                                                                 : std::string("mi"));
        return true;
    }
    SceneUnits changed = units;
    if (const SceneToken* linear = args.value("linear")) {
        changed.linear = linearUnitName(linear->text);
        if (changed.linear.empty()) {
            run.error("unknown linear unit '" + linear->text +
                      "' (expected mm, cm, m, km, in, ft, yd or mi).");
            return false;
        }
    }
    if (const SceneToken* angle = args.value("angle")) {
        changed.angular = angularUnitName(angle->text);
        if (changed.angular.empty()) {
            run.error("unknown angular unit '" + angle->text +
                      "' (expected deg, rad, min or sec).");
            return false;
        }
    }
    if (const SceneToken* time = args.value("time")) {
        if (!validTimeUnit(time->text)) {
            run.error("unknown time unit '" + time->text + "' (expected film, pal, ntsc, ...).");
            return false;
        }
        changed.time = time->text;
    }
    units = changed;
    // Opening a file gives the scene the file's units.
    if (run.reading && !run.reading->importing)
        state.units = changed;
    if (!run.reading || !run.reading->importing)
        SceneTime::instance().setUnit(state.units.time);
    return true;
}

bool runFileInfo(CommandRun& run) {
    const ParsedArgs& args = run.args;
    auto& info = SceneState::instance().fileInfo;
    if (args.query) {
        std::vector<std::string> all;
        for (const auto& [key, value] : info) {
            all.push_back(key);
            all.push_back(value);
        }
        run.result = MelValue(all);
        return true;
    }
    if (const SceneToken* removed = args.value("remove")) {
        for (auto it = info.begin(); it != info.end(); ++it)
            if (it->first == removed->text) {
                info.erase(it);
                break;
            }
        return true;
    }
    if (args.positional.size() != 2) {
        run.error("expected a keyword and its value.");
        return false;
    }
    if (run.reading && run.reading->importing)
        return true; // the scene keeps its own
    const std::string& key = args.positional[0].text;
    for (auto& entry : info)
        if (entry.first == key) {
            entry.second = args.positional[1].text;
            return true;
        }
    info.emplace_back(key, args.positional[1].text);
    return true;
}

bool runWorkspace(CommandRun& run) {
    if (!run.args.has("fileRule") || !run.args.positional.empty()) {
        run.error("expected -fileRule and its rule name and folder.");
        return false;
    }
    if (ownedByReference(run))
        return true;
    SceneState::instance().workspaceRules.push_back(commandText("workspace", run.args));
    return true;
}

bool runRelationship(CommandRun& run) {
    if (run.args.positional.size() < 2) {
        run.error("expected the relationship type and the nodes it links.");
        return false;
    }
    if (ownedByReference(run))
        return true;
    SceneState::instance().relationships.push_back(commandText("relationship", run.args));
    return true;
}

bool runDataStructure(CommandRun& run) {
    if (run.args.query) {
        run.result = MelValue(std::vector<std::string>());
        return true;
    }
    if (ownedByReference(run))
        return true;
    SceneState::instance().dataStructures.push_back(commandText("dataStructure", run.args));
    return true;
}

bool runFile(CommandRun& run) {
    const ParsedArgs& args = run.args;
    Scene& scene = Scene::current();
    if (args.has("reference") || args.has("referenceDepthInfo")) {
        if (!run.reading) {
            run.error("references are loaded only from scene files.");
            return false;
        }
        return readReferenceLine(run);
    }
    if (args.query) {
        if (args.has("sceneName")) {
            run.result = MelValue(scene.currentFile());
            return true;
        }
        run.error("only -sceneName can be queried.");
        return false;
    }
    if (args.has("open") || args.has("import")) {
        if (args.positional.size() != 1) {
            run.error("expected one file name.");
            return false;
        }
        const std::string& path = args.positional[0].text;
        // While a file is read, whether it runs `file` itself or through eval or a procedure.
        if (run.reading || readingFile) {
            FileBeingRead probe(path);
            run.error(probe.refused() ? probe.error()
                                      : "cannot open or import '" + path +
                                            "' while a scene file is being read.");
            return false;
        }
        MStatus status = args.has("open") ? scene.openFile(path) : scene.importFile(path);
        run.result = MelValue(path);
        return status == MS::kSuccess;
    }
    if (run.reading || readingFile) {
        run.error("a scene file cannot empty, save or rename the scene while it is read.");
        return false;
    }
    if (args.has("newFile")) {
        scene.fileNew();
        return true;
    }
    if (const SceneToken* rename = args.value("rename")) {
        SceneState::instance().currentFile = rename->text;
        currentFile = rename->text;
        run.result = MelValue(rename->text);
        return true;
    }
    if (args.has("save")) {
        std::string path = scene.currentFile();
        if (path.empty()) {
            run.error("the scene has no file name yet (use file -rename first).");
            return false;
        }
        MStatus status = scene.saveFile(path);
        run.result = MelValue(path);
        return status == MS::kSuccess;
    }
    run.error("expected -new, -open, -import, -save, -rename or -query -sceneName.");
    return false;
}

} // namespace host
