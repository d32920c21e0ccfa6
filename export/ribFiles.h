#pragma once
// The RIB export as files: one RIB file with every feather inline, or, with
// "delayReadArchive", a main file of DelayedReadArchive procedurals (one per node, with its
// bound) and one archive file per node in the temporary-file folder. Every file is written
// through writeFileAtomically, gzip-compressed with "gzipCompression".

#include "export/featherRib.h"

#include <string>
#include <vector>

// The folder of the archives: "tempFileDir" with "%temp%" (any case) replaced by $TMPDIR, or
// /tmp when that is unset; empty means the main file's folder, and a relative folder is taken
// from the main file's folder. Ends with '/'.
std::string archiveFolder(const std::string& tempFileDir, const std::string& mainPath);

// The archive file of one node: <folder><main file name>.<node name>.rib, node names made
// safe for a file name.
std::string archivePath(const std::string& folder, const std::string& mainPath,
                        const std::string& nodeName);

// How the main file names an archive: absolute, or with "relativePath" relative to the main
// file's folder.
std::string archiveReference(const std::string& archive, const std::string& mainPath,
                             bool relativePath);

// Writes the export. False, with *why naming the file and the reason, when the settings cannot
// be used (ribSettingsProblem) or a file cannot be written; the main file is then left as it was
// and, with "deleteTempFile", the archives this call wrote are removed.
bool exportFeatherRib(const std::string& path, const std::vector<featherExportNode>& nodes,
                      const ribSettings& settings, std::string* why);
