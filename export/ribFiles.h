#pragma once
// The RIB export as files: one RIB file with every feather inline, or, with
// "delayReadArchive", a main file of DelayedReadArchive procedurals (one per node, with its
// bound) and one archive file per node in the temporary-file folder. Every file is written
// through writeFileAtomically, gzip-compressed with "gzipCompression".
//
// The archives of one export are a unit with its main file. Their names carry a hash of the
// main file's full path, so two main files never share archives (two shots both exported as
// feathers.rib into one temporary folder), and an export number, one above the highest number
// of that main file found in the folder, so that a re-export never writes over the archives
// the current main file names. The new main file replaces the old one only once every archive
// is written; a failure leaves the old main file and its archives as they were and, with
// "deleteTempFile", removes the archives this export wrote. With "deleteTempFile", a
// successful export then removes the archives of that main file's earlier exports.

#include "export/exportPart.h"
#include "export/featherRib.h"

#include <string>
#include <vector>

// The folder of the archives: "tempFileDir" with "%temp%" (any case) replaced by $TMPDIR, or
// /tmp when that is unset; empty means the main file's folder, and a relative folder is taken
// from the main file's folder. Ends with '/'.
std::string archiveFolder(const std::string& tempFileDir, const std::string& mainPath);

// What every archive name of a main file starts with: "<main file name>.<16 hex digits>", the
// digits an FNV-1a hash of the main file's absolute path with links resolved. The file name is
// made safe (characters other than letters, digits, '.', '_' and '-' become '_') and cut to
// 100 bytes, so that archive names stay legal.
std::string archiveStem(const std::string& mainPath);

// The archive file of one node in export number `exportNumber`:
// <folder><stem>.<exportNumber>.<node name>.rib, the node name made safe as above ('.' too)
// and cut to 100 bytes.
std::string archivePath(const std::string& folder, const std::string& stem,
                        unsigned int exportNumber, const std::string& nodeName);

// The export numbers of the archives of `stem` in `folder`, ascending, each once.
std::vector<unsigned int> archiveExportNumbers(const std::string& folder, const std::string& stem);

// How the main file names an archive: absolute, or with "relativePath" relative to the main
// file's folder.
std::string archiveReference(const std::string& archive, const std::string& mainPath,
                             bool relativePath);

// Writes the export, streaming the feathers (featherStream.h). A part of a split export
// (exportPart.h) is one file with its slice of every node inline, whatever "delayReadArchive"
// says, ending with its bound (featherRibFormat); joinRibParts then writes the main file that
// reads each part as an archive. False, with *why naming the file and the reason, when the
// settings cannot be used (ribSettingsProblem) or a file cannot be written; the main file and
// the archives it names are then left as they were. *written, when given, counts the feathers.
bool exportFeatherRib(const std::string& path, const std::vector<featherExportNode>& nodes,
                      const ribSettings& settings, std::string* why,
                      const exportPart& part = exportPart(), size_t* written = nullptr);
