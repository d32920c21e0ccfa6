// currentTime: the scene's current time, in frames of its unit. `currentTime 12` moves the
// scene to frame 12 (everything time drives is dirtied and follows when pulled);
// `currentTime -q` gives the frame.

#include "anim/sceneTime.h"
#include "scene/sceneCommands.h"
#include "scene/valueText.h"

#include <cmath>

namespace host {

bool runCurrentTime(CommandRun& run) {
    const ParsedArgs& args = run.args;
    SceneTime& time = SceneTime::instance();
    if (args.query) {
        run.result = MelValue(time.currentFrame());
        return true;
    }
    double frame = 0.0;
    if (args.positional.size() != 1 || !parseNumberText(args.positional[0].text, frame) ||
        !std::isfinite(frame)) {
        run.error("expected one time, a frame number such as 12 or 12.5.");
        return false;
    }
    time.setCurrentFrame(frame);
    run.result = MelValue(frame);
    return true;
}

} // namespace host
