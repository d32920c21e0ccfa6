#pragma once
// Writing an output file so that its final name only ever holds a complete file.
//
// The content goes to a new temporary file in the destination's folder, named
// ".quillo-XXXXXX" (short, so that any legal destination name works; temporaryFiles.h), which
// is flushed to disk and renamed over the destination once complete. Any failure removes the
// temporary file and leaves an earlier file under the final name as it was; so does SIGINT,
// SIGTERM or SIGHUP during the write.
//
// Destinations:
// - A symbolic link is followed, through any chain of links, and its target is replaced; the
//   link itself stays as it is. A dangling link gets its target created.
// - A replaced file keeps its permission bits, and its owner and group where the process may
//   set them; a new file gets 0666 less the umask.
// - A destination that exists and is not a regular file (a folder, a device such as /dev/null,
//   a FIFO, a socket) is refused and left untouched.
//
// Plain C++ and POSIX, no Maya: the plug-in's export and the quillo program share it.

#include <functional>
#include <ostream>
#include <string>

// Writes the content; returns false to abandon the file (a stream failure abandons it too).
using fileContent = std::function<bool(std::ostream&)>;
// Writes the content to the open descriptor of the temporary file; returns false to abandon
// it, with *why saying what failed.
using descriptorContent = std::function<bool(int fd, std::string* why)>;

// Writes `content` to `out`, gzip-compressed when asked. False when the content gave up or
// the stream failed, including in the final flush.
bool writeContent(std::ostream& out, bool gzip, const fileContent& content);

// Writes the file at `path` as described above. On failure *why says what failed and the
// system's reason, for example "it is a device, not a regular file", "cannot create a
// temporary file in the folder 'out/': Permission denied" or "writing failed: No space left
// on device"; callers add the destination's name.
bool writeFileAtomically(const std::string& path, bool gzip, const fileContent& content,
                         std::string* why);
bool writeFileAtomically(const std::string& path, const descriptorContent& content,
                         std::string* why);

// The file a write to `path` replaces or creates: `path` with every symbolic link followed
// (relative links from the link's folder). False, with *why, when a link cannot be read or the
// chain is too long (40 links).
bool resolveOutputPath(const std::string& path, std::string& target, std::string* why);

// Why an existing file of this mode cannot be an output ("" for a regular file): "it is a
// folder", "it is a device, not a regular file", ...
std::string specialFileProblem(unsigned int mode);

// The folder part of a path, with its trailing slash ("" for a bare file name), and the rest.
std::string folderOf(const std::string& path);
std::string fileNameOf(const std::string& path);
