#include "host/messages.h"

#include <algorithm>
#include <iostream>

namespace host {

namespace {

// Live captures, innermost last. The host is single-threaded, as Maya's main thread is.
std::size_t errorsShown = 0;

// Never destroyed: messages may still be shown while static objects are torn down.
std::vector<MessageCapture*>& liveCaptures() {
    static auto* captures = new std::vector<MessageCapture*>;
    return *captures;
}

void writeToStreams(MessageKind kind, const std::string& text) {
    switch (kind) {
    case MessageKind::kInfo:
        std::cout << text << '\n';
        break;
    case MessageKind::kOutput:
        std::cout << text;
        break;
    case MessageKind::kWarning:
        std::cout.flush();
        std::cerr << "// Warning: " << text << '\n';
        break;
    case MessageKind::kError:
        std::cout.flush();
        std::cerr << "// Error: " << text << '\n';
        break;
    }
}

} // namespace

void displayMessage(MessageKind kind, const std::string& text) {
    if (kind == MessageKind::kError)
        ++errorsShown;
    auto& captures = liveCaptures();
    for (MessageCapture* capture : captures)
        capture->messages_.push_back({kind, text});
    if (captures.empty() || captures.back()->echo_ == MessageCapture::Echo::kPassThrough)
        writeToStreams(kind, text);
}

std::size_t displayedErrorCount() {
    return errorsShown;
}

MessageCapture::MessageCapture(Echo echo) : echo_(echo) {
    liveCaptures().push_back(this);
}

MessageCapture::~MessageCapture() {
    auto& captures = liveCaptures();
    auto it = std::find(captures.begin(), captures.end(), this);
    if (it != captures.end())
        captures.erase(it);
}

std::vector<std::string> MessageCapture::texts(MessageKind kind) const {
    std::vector<std::string> result;
    for (const Message& m : messages_)
        if (m.kind == kind)
            result.push_back(m.text);
    return result;
}

std::size_t MessageCapture::count(MessageKind kind) const {
    return static_cast<std::size_t>(std::count_if(
        messages_.begin(), messages_.end(), [kind](const Message& m) { return m.kind == kind; }));
}

bool MessageCapture::contains(MessageKind kind, const std::string& fragment) const {
    return std::any_of(messages_.begin(), messages_.end(), [&](const Message& m) {
        return m.kind == kind && m.text.find(fragment) != std::string::npos;
    });
}

std::string MessageCapture::output() const {
    std::string result;
    for (const Message& m : messages_)
        if (m.kind == MessageKind::kOutput)
            result += m.text;
    return result;
}

} // namespace host
