#pragma once
// The entry a newly created ramp holds.

namespace host {

class Node;

// Gives every top-level ramp of a node that has no entries one entry at index 0: position 0,
// value 0 (black), kLinear. Called when a node has been created and its postConstructor has
// run, so that entries a plug-in adds there replace this default instead of joining it. Does
// nothing while a file is read: the file's own entries are the ramp.
void addDefaultRampEntries(Node& node);

} // namespace host
