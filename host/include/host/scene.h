#pragma once
// The host's scene interface, for the quillo program and the tests. Its calls are shaped as
// the commands Maya ASCII files are made of (createNode, setAttr, getAttr, connectAttr,
// disconnectAttr, delete, parent, rename, file -new). Every failure is reported through
// MGlobal::displayError, naming the node, plug or file, and returned as a status; nothing
// here throws or aborts.

#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MStatus.h>

#include <string>
#include <utility>
#include <vector>

namespace host {

class Scene {
  public:
    static Scene& current();

    // Scene files (Maya ASCII). openFile is File > Open: kBeforeOpen is sent, the scene is
    // cleared, the file's commands run (MFileIO::isReadingFile is true meanwhile), then
    // kAfterOpen is sent. A command that fails is reported as an error naming the file and line
    // ("scene.ma line 12: setAttr: ...") and reading goes on with the next one, as Maya does;
    // the file still counts as opened. kFailure only when the file cannot be read at all (missing,
    // unreadable, binary, already being read: a file that opens itself), or when another scene
    // file is being read: the error names it and the scene is left as it was.
    MStatus openFile(const std::string& path);
    // Reads the file's nodes into the current scene (kBeforeImport / kAfterImport); names that
    // clash get new ones, default nodes the scene has are shared.
    MStatus importFile(const std::string& path);
    // Writes the scene as Maya ASCII (kBeforeSave / kAfterSave). A temporary file in the same
    // folder is written and then renamed over the target, so a failed save (no permission, disk
    // full) leaves any earlier file intact; the error names the file and says why.
    MStatus saveFile(const std::string& path);
    // Safe loading. While a scene file is read (opened or imported) it runs only the commands
    // Maya writes into scene files to describe a scene: requires, currentUnit, fileInfo,
    // workspace, file (references), dataStructure, createNode, rename, setAttr, addAttr,
    // connectAttr, disconnectAttr, relationship, select, parent, lockNode. Anything else the
    // file holds (plug-in commands, eval, source, python, system, procedures, MEL statements)
    // is skipped; when the file is done one warning per command name says how often it was
    // skipped and how to allow it. Trusting scenes runs everything, as Maya does: a file can
    // then write files anywhere and run any command, so trust only files from a source you
    // trust. Off by default; quillo --trust-scene turns it on. Script nodes are kept and
    // saved back untouched either way, and never run.
    static void setTrustScenes(bool trust);
    static bool trustsScenes();
    // References (`file -r`) are loaded when a scene is read: each referenced file is read, as
    // safely as the scene, into its namespace, and the scene's reference edits are applied;
    // saving writes the reference back with what changed on its nodes as more edits. A
    // reference unloaded when the scene was saved stays unloaded. Relative paths are looked
    // for beside the referencing file and the scene, then in the folders given here (in
    // order), then in those of QUILLO_REFERENCE_PATH (':' between them); a search folder also
    // finds a file by its name alone. A file found nowhere is warned about once, with every
    // path tried; its reference is kept.
    static void addReferencePath(const std::string& folder);
    static void clearReferencePaths();
    // The references the open scene loaded: reference node and the file read, in load order.
    std::vector<std::pair<std::string, std::string>> referencedFiles() const;
    // The file last opened or saved ("" after File > New).
    std::string currentFile() const;
    // Registers the scene commands with the MEL interpreter: createNode, setAttr, addAttr,
    // connectAttr, disconnectAttr, rename, parent, select, lockNode, delete, getAttr, ls,
    // listRelatives, listConnections, nodeType, file, currentUnit, fileInfo, requires, ...
    // The quillo program does this at start-up; tests that use them deregister them after.
    static void registerMelCommands();
    static void deregisterMelCommands();

    // createNode type [-n name] [-p parent]. A shape created without a parent gets a new
    // transform above it. With allowUnknownType a type the host does not know becomes a
    // generic node that keeps raw values.
    MStatus createNode(const std::string& type, const std::string& name = "",
                       const std::string& parent = "", std::string* created = nullptr,
                       bool allowUnknownType = false);
    MStatus rename(const std::string& from, const std::string& to);
    // Parents a DAG node under another; an empty parent means the world.
    MStatus parent(const std::string& child, const std::string& parent);
    MStatus deleteNode(const std::string& name);

    // setAttr: one number, several numbers (a numeric compound), or text (a string).
    // Values beyond an attribute's hard limits are clamped with a warning naming the plug.
    MStatus setAttr(const std::string& plug, double value);
    MStatus setAttr(const std::string& plug, const std::vector<double>& values);
    MStatus setAttr(const std::string& plug, const std::string& text);
    // getAttr evaluates the plug first.
    MStatus getAttr(const std::string& plug, double& value);
    MStatus getAttr(const std::string& plug, std::vector<double>& values);
    MStatus getAttr(const std::string& plug, std::string& text);

    // connectAttr source destination [-f] [-na]. With nextAvailable the destination names an
    // array plug and the first free element is taken; connected receives its name.
    MStatus connectAttr(const std::string& source, const std::string& destination,
                        bool force = false, bool nextAvailable = false,
                        std::string* connected = nullptr);
    MStatus disconnectAttr(const std::string& source, const std::string& destination);

    // Brings the plug up to date (computing what is dirty).
    MStatus evaluate(const std::string& plug);

    // File > New: every node is deleted (removal callbacks run), the scene's units, file
    // information and name are reset, then kAfterNew is sent.
    void fileNew();
    // Sends a scene message to the callbacks registered for it, as Maya does around file
    // operations (kAfterOpen, kAfterRemoveReference, kMayaExiting, ...).
    void sendMessage(int message);
    // The program is exiting: the scene is emptied, kMayaExiting sent, plug-ins unloaded.
    void exit();

    MStatus loadPlugin(const std::string& path);
    MStatus unloadPlugin(const std::string& nameOrPath);
    // The identity a loaded plug-in gave: vendor, version, the API version it requires, and
    // the MApiVersion it was built with. False when no such plug-in is loaded.
    struct PluginInfo {
        std::string name, path, vendor, version, requiredApiVersion, apiVersion;
    };
    bool pluginInfo(const std::string& nameOrPath, PluginInfo& info) const;
    // Names of the node and data types a loaded plug-in registered.
    std::vector<std::string> pluginNodeTypes(const std::string& plugin) const;
    std::vector<std::string> pluginDataTypes(const std::string& plugin) const;

    MObject findNode(const std::string& name) const;
    MStatus findPlug(const std::string& name, MPlug& plug) const;
    // Every node, by the shortest name that finds it alone (a path where short names repeat).
    std::vector<std::string> nodeNames() const;
    std::string typeOf(const std::string& node) const;
    std::string parentOf(const std::string& node) const;
    // The full DAG path of a DAG node ("|group|shape"), the name of any other node; "" when
    // there is no such node. In time proportional to the path's length.
    std::string fullPathOf(const std::string& node) const;

    // The text of the last error a call reported.
    const std::string& lastError() const { return lastError_; }

  private:
    MStatus fail(const std::string& message);
    std::string lastError_;
};

} // namespace host
