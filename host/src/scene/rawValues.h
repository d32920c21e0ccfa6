#pragma once
// Values of attributes the host does not define, kept in Node::rawValues by plug path (as
// written, without the node: "lnk[0].llnk", "vt[0:7]") so that a scene saves back unchanged.
// Each entry holds the setAttr flags and the values as written, encoded as
//   <flags> '\x1f' <values>
// where both parts are arguments as they appear in a file (strings quoted).

#include "scene/mayaAsciiLexer.h"

#include <string>
#include <vector>

namespace host {

struct RawSetting {
    std::vector<SceneToken> flags; // flag words with their values, e.g. -k on -type "double3"
    std::vector<SceneToken> values;
};

std::string encodeRawSetting(const RawSetting& setting);
RawSetting decodeRawSetting(const std::string& text);
// A later setAttr on the same plug: its flags replace the same flags, its values (if any)
// replace the values (with their -type).
void mergeRawSetting(RawSetting& into, const RawSetting& update);
// The tokens of argument text ("-type \"string\" \"a b\"").
std::vector<SceneToken> lexArguments(const std::string& text);
// The value of a -type flag in the setting; "" if none.
std::string rawType(const RawSetting& setting);

} // namespace host
