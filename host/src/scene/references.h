#pragma once
// File references. A scene's `file -r` lines name files whose nodes it uses without holding them:
// once the scene's own commands are read, each referenced file is read (as safely as the scene)
// into the reference's namespace, then the edits the scene stored for it in its reference node
// are applied. Saving writes the reference back as a reference, with what changed on its nodes
// since it was loaded stored as more edits.
//
// Where a referenced file is looked for, in order: the path as written when it is absolute;
// beside the file that references it, then beside the scene (by its name alone for an absolute
// path); then in each search folder
// (Scene::addReferencePath, quillo --reference-path, then the folders of the environment
// variable QUILLO_REFERENCE_PATH, separated by ':'), first with the path as written, then with
// its file name alone (a path from another machine, "C:/shots/rig.ma", is found as "rig.ma").

#include "scene/referenceEdits.h"

#include <functional>
#include <string>
#include <vector>

namespace host {

class Node;
struct ReadState;

// Folders added by the host's caller, searched before QUILLO_REFERENCE_PATH.
void addReferenceSearchFolder(const std::string& folder);
void clearReferenceSearchFolders();

// The file a reference reads; "" when none exists, with `tried` listing every path looked at.
// `near` holds the folders of the referencing file and of the scene.
std::string findReferencedFile(const std::string& path, const std::vector<std::string>& near,
                               std::vector<std::string>& tried);

// Applies the edits stored in a reference node's ".ed" to the nodes just loaded, running them
// as the file being read (its names, its namespace). An edit that fails, and each kind of edit
// the host does not apply, is reported through `warn`; every edit stays in ".ed" as written.
using ReferenceWarning = std::function<void(const std::string&)>;
void applyReferenceEdits(ReadState& reading, Node& referenceNode, const ReferenceWarning& warn);

// Records how every referenced node stands now: saving stores what changes after this.
void takeReferenceBaseline();

// What changed on referenced nodes since the baseline, as edits for the reference nodes of the
// scene (the top reference of each changed node): values (setAttr), connections made and
// broken, parents. `warnings` receives what edits cannot hold (a referenced node deleted).
struct NewReferenceEdits {
    Node* referenceNode = nullptr;
    std::vector<ReferenceEdit> edits;
};
std::vector<NewReferenceEdits> referenceEditsSinceLoading(std::vector<std::string>& warnings);

// The reference a node came from (-1: the scene's own node), and whether it did.
int referenceOf(const Node* node);
inline bool isReferenced(const Node* node) {
    return referenceOf(node) >= 0;
}
// The parent a scene node is saved under. A referenced node is no parent in the file: a scene
// node under one is saved under the parent the file created it under (a foster parent) or at
// the top, and a reference edit puts it back.
Node* writtenParentOf(Node* node);

// How a connection is named in the baseline: "from to".
std::string connectionKey(const std::string& from, const std::string& to);

} // namespace host
