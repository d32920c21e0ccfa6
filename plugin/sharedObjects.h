#pragma once
// The process-wide objects every node of the plug-in shares: the one feather generator and the
// two id registries. They exist from load (and from every File > New) until unload or the
// host's exit; outside that time the pointers are null and nothing may use them.
// Single-threaded: only the host's main thread touches them.

class featherGenerator;
class idRegistry;

extern featherGenerator* theFeatherGenerator;
extern idRegistry* descriptionRegistry; // quillo node id -> its featherInfo
extern idRegistry* turtleRegistry;      // guide id -> its turtlePath

// Destroys whatever exists, then creates fresh registries and a reset generator.
void rebuildSharedObjects();
// Empties the released-id stacks and spare pools and frees everything; absent objects are
// skipped.
void destroySharedObjects();
// Frees the registries' spare pools only; entries, ids and the generator stay.
void flushSharedPools();
