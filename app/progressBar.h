#pragma once
// A progress bar for long work, drawn on one line of stdout when stdout is a terminal and not
// at all otherwise (so pipes and log files get only the program's real output). While the bar
// is shown, the host's messages are held back and shown, in order, once the bar is cleared, so
// that they never land on the bar's line.

#include <host/messages.h>

#include <memory>
#include <string>

namespace quillo {

class ProgressBar {
  public:
    ProgressBar();
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    bool shown() const { return enabled_; }
    // Starts a stage of the work, at 0. A stage that is part `part` of `parts` equal ones (a
    // frame of a range) starts the bar where that part starts.
    void stage(const std::string& what, size_t part = 0, size_t parts = 1);
    // How far the current stage is, from 0 to 1 (of its part).
    void update(double fraction);
    // Takes the bar off the terminal's line and shows the messages held meanwhile.
    void clear();

  private:
    void draw();
    bool enabled_;
    bool visible_ = false;
    std::unique_ptr<host::MessageCapture> held_;
    std::string what_;
    int percent_ = -1;
    double from_ = 0.0, span_ = 1.0; // the part of the bar the stage fills
};

} // namespace quillo
