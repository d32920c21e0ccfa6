#pragma once
// Reading a command's arguments: flags with or without a value, and plain arguments, in any
// order. Every problem is kept as a message for the usage error.

#include <string>
#include <vector>

namespace quillo {

class CommandLine {
  public:
    CommandLine(std::string command, std::vector<std::string> arguments);

    // True while arguments are left; next() takes the next one.
    bool more() const { return next_ < arguments_.size(); }
    const std::string& next() { return arguments_[next_++]; }
    // The value after a flag just taken; records an error when there is none.
    bool value(const std::string& flag, std::string& out);

    // What is left of every scene command's arguments: --plugin PATH, an unknown option (an
    // error), the scene (one only).
    void sceneArgument(const std::string& argument, std::string& scene, std::string& plugin);

    // Records a usage error (the first one is kept).
    void error(const std::string& message);
    bool failed() const { return !error_.empty(); }
    // "quillo COMMAND: message".
    std::string message() const;
    // Prints the message and gives the usage error's exit code.
    int usageExit() const;

  private:
    std::string command_;
    std::vector<std::string> arguments_;
    size_t next_ = 0;
    std::string error_;
};

// A MEL string literal holding the text.
std::string melQuoted(const std::string& text);

// "640x480" into two sizes above 0; false for anything else.
bool parseSize(const std::string& text, int& width, int& height);

} // namespace quillo
