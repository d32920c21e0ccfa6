#pragma once
// The files being read right now: scene files being opened or imported and MEL scripts being
// sourced. A file that opens, imports or sources itself, by whatever route (a `file -o` or
// `source` of its own name, an `eval` that does it, a script that sources the scene back), is
// refused with an error naming it instead of recursing until the stack runs out; so is a chain
// of different files nested deeper than kMaxNestedFiles. Files are told apart by device and
// inode, so another path to the same file is the same file. One thread, as all of the host.

#include <string>

namespace host {

class FileBeingRead {
  public:
    static constexpr int kMaxNestedFiles = 32;

    // Enters the file, unless refused(); leaving the scope leaves it.
    explicit FileBeingRead(const std::string& path);
    ~FileBeingRead();
    FileBeingRead(const FileBeingRead&) = delete;
    FileBeingRead& operator=(const FileBeingRead&) = delete;

    bool refused() const { return !error_.empty(); }
    // "'PATH' is already being read (...)." or "'PATH' would nest files ... more than 32 deep."
    const std::string& error() const { return error_; }

  private:
    std::string error_;
};

} // namespace host
