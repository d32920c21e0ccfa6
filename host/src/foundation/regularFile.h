#pragma once
// Opening the files the host reads (scenes, images, plug-in libraries): only regular files,
// and never an open that blocks. A FIFO without a writer would block an ordinary open forever,
// and a device or a folder holds no file to read.

#include <string>

namespace host {

// Opens `path` read-only. The open itself does not block (O_NONBLOCK), and the type is checked
// on the open descriptor (fstat), so the file read is the file checked. Returns the descriptor,
// back in blocking mode and closed on exec, or -1 with *why: the system's reason ("No such file
// or directory") or what the path is instead ("it is a folder", "it is a FIFO (named pipe), not
// a regular file", "it is a device, not a regular file", "it is a socket, not a regular file").
int openRegularFile(const std::string& path, std::string* why);

// The whole regular file as bytes, sized by what was read. False with *why as above, or the
// reason reading failed.
bool readRegularFile(const std::string& path, std::string& bytes, std::string* why);

} // namespace host
