#pragma once
// The scene's time: its unit (currentUnit -t), the current time when the scene has no time
// node, and the playback and animation ranges. Times are kept in frames of the scene's unit.
//
// The current time lives on the time node "time1" when the scene has one (its "outTime", as
// files set it); setting the time there dirties everything downstream, time-driven animation
// curves with an unconnected input included (see timeNode.h).

#include <maya/MTime.h>

#include <string>

namespace host {

class Node;

struct PlaybackRange {
    double minTime = 1.0, maxTime = 24.0;             // playback range
    double animationStart = 1.0, animationEnd = 48.0; // animation range
};

class SceneTime {
  public:
    static SceneTime& instance();
    // Back to a new scene's: film, frame 1, playback 1 to 24, animation 1 to 48.
    void reset();

    const std::string& unitName() const { return unitName_; }
    double framesPerSecond() const { return rate_; }
    MTime::Unit unit() const;
    // False, changing nothing, for a unit name the host does not know.
    bool setUnit(const std::string& name);

    double currentFrame() const;
    void setCurrentFrame(double frame);

    PlaybackRange range;

  private:
    std::string unitName_ = "film";
    double rate_ = 24.0;
    double frame_ = 1.0; // used while the scene has no time node
};

// The scene's time node ("time1"), or null.
Node* sceneTimeNode();

// Reads the ranges from the text of a `playbackOptions` command (the scene configuration
// script node's), without running it: -min/-minTime, -max/-maxTime, -ast/-animationStartTime,
// -aet/-animationEndTime, in frames. Flags it does not know are skipped. False, changing
// nothing, when the text is not a playbackOptions command or a range value is not a number.
bool readPlaybackOptions(const std::string& text, PlaybackRange& range, std::string& error);

} // namespace host
