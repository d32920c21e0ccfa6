#pragma once
// How one export format lays out a file of nodes and their feathers, for the streaming writer
// (featherStream.h). The writer calls every method but feather() on one thread, in file order;
// feather() runs on the build workers, for any feathers in any order, so it writes only into
// the buffer it is given (and into state of its own worker number).

#include "export/exportPart.h"
#include "export/featherExportNode.h"
#include "export/textBuffer.h"

class featherFileFormat {
  public:
    virtual ~featherFileFormat() = default;

    virtual void fileStart(textBuffer& out, const exportPart& part) = 0;
    // `position` counts the nodes written before this one; `slots` are the node's slots in
    // this part, out of `total`.
    virtual void nodeStart(textBuffer& out, const featherExportNode& node, size_t position,
                           const slotRange& slots, size_t total) = 0;
    // Before each feather of a node; `first` for the first one the node writes.
    virtual void featherSeparator(textBuffer& out, bool first) = 0;
    // One feather: its text only, no separator. `slot` is its index in the whole node.
    virtual void feather(textBuffer& out, const featherExportNode& node, size_t slot,
                         const featherGeometry& feather, unsigned int worker) = 0;
    // `written` is the number of feathers the node wrote in this file.
    virtual void nodeEnd(textBuffer& out, const featherExportNode& node, size_t written) = 0;
    virtual void fileEnd(textBuffer& out) = 0;

    // Called before the first feather() with the highest worker count the sources will use,
    // for formats that keep state per worker.
    virtual void prepareWorkers(unsigned int /*workers*/) {}
};
