#pragma once
// Frame ranges for render and export: "--frames A:B[:STEP]" (A to B inclusive, STEP 1 unless
// given, frames may be negative or fractional) and "--frame F", and the per-frame output names
// made from a pattern whose last run of '#' in the file name takes the frame number.

#include <string>
#include <vector>

namespace quillo {

// At most this many frames in one range.
constexpr size_t kMostFrames = 1000000;

// "1:24", "1:24:2", "-5:5", "1:2:0.5". False, with error set, for anything else: a missing or
// non-numeric part, B below A, a STEP that is not above 0, or more than kMostFrames frames.
bool parseFrameRange(const std::string& text, std::vector<double>& frames, std::string& error);
// One frame number.
bool parseFrame(const std::string& text, double& frame, std::string& error);

// True when the file name (after the last '/') holds a '#'.
bool hasFramePlaceholder(const std::string& pattern);
// The pattern with its file name's last run of '#' replaced by the frame number, zero-padded to
// the run's length: "out.####.rib" at 12 gives "out.0012.rib", at -3 "out.-003.rib" (the sign
// counts in the width), at 1.5 "out.0001.5.rib" (a fraction follows the padded whole part);
// a number longer than the run is written whole. Without a '#' the pattern comes back as is.
std::string frameFileName(const std::string& pattern, double frame);

} // namespace quillo
