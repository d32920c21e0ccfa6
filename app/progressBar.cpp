#include "progressBar.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace quillo {

namespace {
const int barWidth = 30;
} // namespace

ProgressBar::ProgressBar() : enabled_(isatty(fileno(stdout)) == 1) {}

ProgressBar::~ProgressBar() {
    clear();
}

void ProgressBar::stage(const std::string& what, size_t part, size_t parts) {
    if (!enabled_)
        return;
    span_ = parts > 0 ? 1.0 / static_cast<double>(parts) : 1.0;
    from_ = static_cast<double>(part) * span_;
    clear();
    held_ = std::make_unique<host::MessageCapture>(host::MessageCapture::Echo::kSilent);
    what_ = what;
    percent_ = -1;
    update(0.0);
}

void ProgressBar::update(double fraction) {
    const int percent = static_cast<int>((from_ + std::clamp(fraction, 0.0, 1.0) * span_) * 100.0);
    if (!enabled_ || percent == percent_)
        return;
    percent_ = percent;
    draw();
}

void ProgressBar::draw() {
    const int filled = percent_ * barWidth / 100;
    std::string bar(static_cast<size_t>(filled), '#');
    bar.append(static_cast<size_t>(barWidth - filled), '-');
    // Back to the start of the line and clear it, then the bar.
    std::printf("\r\033[K[%s] %3d%% %s", bar.c_str(), percent_, what_.c_str());
    std::fflush(stdout);
    visible_ = true;
}

void ProgressBar::clear() {
    if (visible_) {
        std::printf("\r\033[K");
        std::fflush(stdout);
        visible_ = false;
        percent_ = -1;
    }
    if (held_) {
        const std::vector<host::Message> messages = held_->messages();
        held_.reset();
        for (const host::Message& message : messages)
            host::displayMessage(message.kind, message.text);
    }
}

} // namespace quillo
