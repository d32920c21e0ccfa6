#pragma once
// Reference edits: what a scene changed on the nodes of a file it references, stored in the
// reference node's ".ed" as -type "dataReferenceEdits":
//   "rigRN"                      the reference node holding them
//   "rigRN" 2                    a section: the reference node the edits are about, how many
//   2 "|rig:Main" "translate" " -type \"double3\" 0 0 1"
//   5 4 "rigRN" "|rig:Main.translateX" "rigRN.placeHolderList[1]" ""
//   "rig:geoRN" 0                the next section (a nested reference)
// Each edit is a kind number and its words. The kinds and their words, as the host reads them:
//   0 parent          child, new parent, the parent command's flags ("-s -r ")
//   1 addAttr         node, long name, short name, the addAttr command's flags
//   2 setAttr         node, attribute, the setAttr command's flags and values
//   3 disconnectAttr  source plug, destination plug
//   4 deleteAttr      node, attribute
//   5 connectAttr     3 or 4, the reference node, source plug, destination plug, flags; a plug
//                     "RN.placeHolderList[k]" stands for whatever the scene connects to that
//                     placeholder (4: the source side is the placeholder's, 3: the destination)
//   8 lock, 9 unlock  node, attribute
// Other kinds are kept as written and reported as not applied.

#include "scene/mayaAsciiLexer.h"

#include <string>
#include <vector>

namespace host {

struct ReferenceEdit {
    int kind = -1;
    std::vector<SceneToken> words; // as written, quoted or not
};

struct ReferenceEditSection {
    std::string referenceNode;
    std::vector<ReferenceEdit> edits;
};

struct ReferenceEdits {
    std::string owner;
    std::vector<ReferenceEditSection> sections;
};

// Reads the values of a dataReferenceEdits setAttr; false with `error` saying where it broke.
bool readReferenceEdits(const std::vector<SceneToken>& values, ReferenceEdits& edits,
                        std::string& error);
// A section as the words that follow the others in ".ed".
std::vector<SceneToken> referenceEditWords(const ReferenceEditSection& section);

} // namespace host
