#pragma once
// The scene's current time and its playback and animation ranges (the time slider).
// Setting the current time re-evaluates, on demand, everything that depends on time.

#include <maya/MStatus.h>
#include <maya/MTime.h>
#include <maya/MTypes.h>

class OPENMAYA_EXPORT MAnimControl {
  public:
    static MTime currentTime();
    static MStatus setCurrentTime(const MTime& time);
    // The playback range.
    static MTime minTime();
    static MTime maxTime();
    static MStatus setMinTime(const MTime& time);
    static MStatus setMaxTime(const MTime& time);
    static MStatus setMinMaxTime(const MTime& min, const MTime& max);
    // The animation range, which holds the playback range.
    static MTime animationStartTime();
    static MTime animationEndTime();
    static MStatus setAnimationStartTime(const MTime& time);
    static MStatus setAnimationEndTime(const MTime& time);
    static MStatus setAnimationStartEndTime(const MTime& start, const MTime& end);
};
