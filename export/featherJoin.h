#pragma once
// Putting the parts of a split export (exportPart.h) back together.
//
// JSON and OBJ: the result is the file the whole export writes, byte for byte. JSON parts are
// documents of their own and OBJ parts are OBJ files of their own (each readable alone; OBJ
// parts concatenated are a valid file too, with the nodes' feathers in another order); joining
// puts every node's feathers back in slot order under one header.
//
// RIB: the parts stay where they are, as archives, and the result is a main file that reads
// each part holding anything with a DelayedReadArchive and the bound the part ends with
// (featherRibFormat), named as the parts say ("relativePath": relative to the main file's
// folder, else absolute). A renderer then sees every feather of the whole export. Compressed
// parts are read through to their end.
//
// The format is read from the parts. They may be given in any order, each must be there once,
// and all must come from one export: the same node list, each node's slices following on from
// each other. Parts are read through memory maps, so joining holds none of them in memory.

#include <string>
#include <vector>

// Writes the joined file at `output` (atomically, as every export file). False, with *why
// naming the part or file and the reason, when a part cannot be read, is not a part, does not
// fit the others, or the output cannot be written.
bool joinExportParts(const std::vector<std::string>& parts, const std::string& output,
                     std::string* why);
