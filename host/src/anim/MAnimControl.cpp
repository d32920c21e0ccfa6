#include <maya/MAnimControl.h>

#include "anim/sceneTime.h"

#include <cmath>

using host::SceneTime;

namespace {
MTime frames(double value) {
    return MTime(value, SceneTime::instance().unit());
}
double inFrames(const MTime& time) {
    return time.as(SceneTime::instance().unit());
}
bool usable(const MTime& time) {
    return std::isfinite(inFrames(time));
}
} // namespace

MTime MAnimControl::currentTime() {
    return frames(SceneTime::instance().currentFrame());
}

MStatus MAnimControl::setCurrentTime(const MTime& time) {
    if (!usable(time))
        return MS::kInvalidParameter;
    SceneTime::instance().setCurrentFrame(inFrames(time));
    return MS::kSuccess;
}

MTime MAnimControl::minTime() {
    return frames(SceneTime::instance().range.minTime);
}
MTime MAnimControl::maxTime() {
    return frames(SceneTime::instance().range.maxTime);
}
MStatus MAnimControl::setMinTime(const MTime& time) {
    return setMinMaxTime(time, maxTime());
}
MStatus MAnimControl::setMaxTime(const MTime& time) {
    return setMinMaxTime(minTime(), time);
}

// The playback range stays inside the animation range, which grows to hold it.
MStatus MAnimControl::setMinMaxTime(const MTime& min, const MTime& max) {
    if (!usable(min) || !usable(max) || max < min)
        return MS::kInvalidParameter;
    host::PlaybackRange& range = SceneTime::instance().range;
    range.minTime = inFrames(min);
    range.maxTime = inFrames(max);
    range.animationStart = std::fmin(range.animationStart, range.minTime);
    range.animationEnd = std::fmax(range.animationEnd, range.maxTime);
    return MS::kSuccess;
}

MTime MAnimControl::animationStartTime() {
    return frames(SceneTime::instance().range.animationStart);
}
MTime MAnimControl::animationEndTime() {
    return frames(SceneTime::instance().range.animationEnd);
}
MStatus MAnimControl::setAnimationStartTime(const MTime& time) {
    return setAnimationStartEndTime(time, animationEndTime());
}
MStatus MAnimControl::setAnimationEndTime(const MTime& time) {
    return setAnimationStartEndTime(animationStartTime(), time);
}

// The animation range shrinks the playback range to fit inside it.
MStatus MAnimControl::setAnimationStartEndTime(const MTime& start, const MTime& end) {
    if (!usable(start) || !usable(end) || end < start)
        return MS::kInvalidParameter;
    host::PlaybackRange& range = SceneTime::instance().range;
    range.animationStart = inFrames(start);
    range.animationEnd = inFrames(end);
    range.minTime = std::fmin(std::fmax(range.minTime, range.animationStart), range.animationEnd);
    range.maxTime = std::fmin(std::fmax(range.maxTime, range.minTime), range.animationEnd);
    return MS::kSuccess;
}
