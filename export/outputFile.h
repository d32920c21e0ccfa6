#pragma once
// Writing an export file so that its final name only ever holds a complete file: the content
// goes to a temporary file in the destination's folder, which is renamed over the destination
// once written, flushed and closed. A failed write removes the temporary file and leaves any
// earlier file under the final name as it was.
//
// A destination that exists and is neither a regular file nor a folder (a device such as
// /dev/stdout, a pipe) is written in place: renaming over it would replace the device.

#include <functional>
#include <ostream>
#include <string>

// Writes the content; returns false to abandon the file (a stream failure abandons it too).
using fileContent = std::function<bool(std::ostream&)>;

// Writes `content` to `out`, gzip-compressed when asked. False when the content gave up or
// the stream failed, including in the final flush.
bool writeContent(std::ostream& out, bool gzip, const fileContent& content);

// Writes the file at `path` as described above. On failure *why says what failed (the system's
// message, for example "No such file or directory" or "No space left on device").
bool writeFileAtomically(const std::string& path, bool gzip, const fileContent& content,
                         std::string* why);

// The folder part of a path, with its trailing slash ("" for a bare file name), and the rest.
std::string folderOf(const std::string& path);
std::string fileNameOf(const std::string& path);
