#pragma once
// Temporary files of outputs being written, removed if the process is interrupted.
//
// While at least one is held, SIGINT, SIGTERM and SIGHUP first remove every held temporary
// file, then go on to whatever handled the signal before (the quillo program exits with
// 128 + the signal's number; with no handler the process ends by the signal as it would have
// anyway). A signal that was ignored stays ignored and removes nothing. When the last file is
// released the earlier handlers are put back.
//
// Plain POSIX, no Maya: the plug-in's export and the quillo program's image writing share it,
// each with its own copy, and the handlers chain, so a signal removes the files of both.

#include <string>

// The short pattern of every temporary name, "XXXXXX" replaced by mkstemp.
constexpr const char* temporaryFilePattern = ".quillo-XXXXXX";

// Creates a new, private (0600) temporary file in `folder` ("" for the current folder, else
// ending with '/') and holds it for removal on the signals above; SIGINT, SIGTERM and SIGHUP
// are blocked on this thread while it is created and recorded, so none can slip in between.
// Returns its descriptor and sets `name`, or returns -1 with errno set.
int createTemporaryFile(const std::string& folder, std::string& name);

// Releases a file made by createTemporaryFile: `removeIt` deletes it first (a failed write),
// otherwise it has been renamed into place and is only forgotten.
void releaseTemporaryFile(const std::string& name, bool removeIt);
