#pragma once
// The one place every user-facing message of the host goes: MGlobal's display calls, MEL's
// print, warning and error, and the interpreter's own reports all end up in displayMessage.
//
// Output: info lines and MEL print text go to stdout, warnings and errors to stderr:
//   kInfo     text + "\n"                 (stdout)
//   kOutput   text, written as given      (stdout; MEL print adds no line break)
//   kWarning  "// Warning: " + text + "\n" (stderr)
//   kError    "// Error: " + text + "\n"   (stderr)
// stdout is flushed before anything is written to stderr so that the two stay in order.

#include <cstddef>
#include <string>
#include <vector>

namespace host {

enum class MessageKind { kInfo, kOutput, kWarning, kError };

struct Message {
    MessageKind kind;
    std::string text; // as given, without the "// Warning: " or "// Error: " prefix
};

// Shows a message and records it in every live MessageCapture.
void displayMessage(MessageKind kind, const std::string& text);
// How many errors have been shown since the process started; the MEL interpreter compares it
// around a command to know whether the command explained its own failure.
std::size_t displayedErrorCount();

// Records the messages shown while it lives, for tests. Captures nest: every live capture
// records every message, and the innermost one decides whether the message is also written to
// the streams (kSilent: not written; kPassThrough: written as usual). Not copyable; destroy
// captures in the reverse order of their creation (a plain scope does that).
class MessageCapture {
  public:
    enum class Echo { kSilent, kPassThrough };

    explicit MessageCapture(Echo echo = Echo::kSilent);
    ~MessageCapture();
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    const std::vector<Message>& messages() const { return messages_; }
    // Texts of the messages of one kind, in the order shown.
    std::vector<std::string> texts(MessageKind kind) const;
    std::size_t count(MessageKind kind) const;
    // True if a message of this kind contains the fragment.
    bool contains(MessageKind kind, const std::string& fragment) const;
    // All kOutput text concatenated, as it appeared on stdout.
    std::string output() const;
    void clear() { messages_.clear(); }

  private:
    friend void displayMessage(MessageKind kind, const std::string& text);
    Echo echo_;
    std::vector<Message> messages_;
};

} // namespace host
