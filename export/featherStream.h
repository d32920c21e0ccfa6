#pragma once
// The streaming writer every export goes through: it writes nodes and their feathers in one
// pass, building and formatting a chunk of slots at a time, so that memory holds two chunks of
// text, never every feather of a node.
//
// Each chunk is built and formatted on the build workers (a feather is formatted on the worker
// that built it, into a buffer of its own slot) and then written in slot order, on a writing
// thread, while the next chunk builds. The file is therefore the same bytes for any worker
// count. A node's feathers come from node.feathers when set, else from node.source; a node with
// neither writes none. With a part (exportPart.h), each node writes only its slice of slots.
//
// Running out of memory (or any other exception from a source) stops the writing, once the
// writing thread has stopped, and fails it with *problem saying why, so that file writers
// (which must not throw) can give up the file.

#include "export/exportPart.h"
#include "export/featherExportNode.h"
#include "export/featherFileFormat.h"

#include <ostream>
#include <string>
#include <vector>

// False when the stream failed or the building stopped (*problem, when given, then says why).
// *written, when given, is the number of feathers written.
bool streamFeathers(std::ostream& out, featherFileFormat& format,
                    const std::vector<featherExportNode>& nodes, const exportPart& part,
                    size_t* written = nullptr, std::string* problem = nullptr);

// Slots built per chunk with `workers` workers: enough for each worker to take many, few enough
// that two chunks of text stay small.
size_t streamChunkSlots(unsigned int workers);
