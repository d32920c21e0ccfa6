#pragma once
// A curve ramp's entries, read once and evaluated many times.
//
// Reading a ramp through MRampAttribute::getValueAtPosition walks the node's plugs and sorts
// the entries on every call; a build reads each ramp hundreds of times. A snapshot reads the
// entries once (MRampAttribute::getEntries) and evaluates them by the host's rules, giving
// exactly the value getValueAtPosition gives for the same entries:
// - entries sorted by position, equal positions kept in index order;
// - below the first entry its value, at or above the last entry the last value;
// - otherwise the entry at or below the position interpolates towards the next: kNone holds,
//   kLinear lerps, kSmooth eases by 3u^2 - 2u^3, kSpline is a cubic Hermite curve with the
//   mean of the neighbouring segment slopes at inner entries (one-sided at the ends, flat
//   across two entries at one position), scaled by the segment width; computed in double and
//   returned as float;
// - no entries (or a ramp that cannot be read) gives 0.

#include <maya/MRampAttribute.h>

#include <vector>

class rampSnapshot {
  public:
    rampSnapshot() = default;

    // Replaces the entries with the ramp's current ones. False when the ramp holds a position
    // or value that is not finite (the snapshot is then empty). An unbound or unreadable ramp
    // gives an empty snapshot and true.
    bool read(const MRampAttribute& ramp);
    // A constant ramp (one entry), for callers that have no ramp.
    void setConstant(float value);

    float value(float position) const;
    unsigned int entryCount() const { return static_cast<unsigned int>(entries_.size()); }

  private:
    struct entry {
        float position;
        float value;
        int interp;
        double slope; // spline slope at this entry, per unit position
    };
    std::vector<entry> entries_;
};
