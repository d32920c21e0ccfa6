#include "anim/sceneTime.h"

#include "anim/timeNode.h"
#include "anim/timeUnit.h"
#include "graph/graph.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace host {

SceneTime& SceneTime::instance() {
    static SceneTime time;
    return time;
}

void SceneTime::reset() {
    *this = SceneTime();
}

MTime::Unit SceneTime::unit() const {
    return unitOfRate(rate_);
}

bool SceneTime::setUnit(const std::string& name) {
    const double rate = host::framesPerSecond(name);
    if (rate <= 0.0)
        return false;
    unitName_ = name;
    rate_ = rate;
    return true;
}

double SceneTime::currentFrame() const {
    if (Node* node = sceneTimeNode())
        if (Slot* slot = Graph::instance().pull(PlugRef{node, attributeDef(TimeNode::outTime), {}}))
            return slot->get(attributeDef(TimeNode::outTime));
    return frame_;
}

void SceneTime::setCurrentFrame(double frame) {
    frame_ = frame;
    if (Node* node = sceneTimeNode()) {
        std::string ignored;
        Graph::instance().setNumber(PlugRef{node, attributeDef(TimeNode::outTime), {}}, frame,
                                    &ignored);
        return;
    }
    dirtyTimeDrivenCurves();
}

Node* sceneTimeNode() {
    Node* node = Graph::instance().find("time1");
    return node && node->alive() && node->type()->api == MFn::kTime ? node : nullptr;
}

namespace {

// Whitespace-separated words with double quotes removed; the MEL here is one flat command.
std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> out;
    std::string current;
    bool any = false;
    for (char c : text) {
        if (c == ';' || std::isspace(static_cast<unsigned char>(c))) {
            if (any)
                out.push_back(current);
            current.clear();
            any = false;
            if (c == ';')
                break;
        } else if (c != '"') {
            current += c;
            any = true;
        }
    }
    if (any)
        out.push_back(current);
    return out;
}

} // namespace

bool readPlaybackOptions(const std::string& text, PlaybackRange& range, std::string& error) {
    const std::vector<std::string> list = words(text);
    if (list.empty() || list.front() != "playbackOptions") {
        error = "expected a playbackOptions command";
        return false;
    }
    struct Flag {
        const char* shortName;
        const char* longName;
        double PlaybackRange::*field;
    };
    static const Flag flags[] = {
        {"-min", "-minTime", &PlaybackRange::minTime},
        {"-max", "-maxTime", &PlaybackRange::maxTime},
        {"-ast", "-animationStartTime", &PlaybackRange::animationStart},
        {"-aet", "-animationEndTime", &PlaybackRange::animationEnd},
    };
    PlaybackRange read = range;
    for (size_t i = 1; i < list.size(); ++i) {
        for (const Flag& flag : flags) {
            if (list[i] != flag.shortName && list[i] != flag.longName)
                continue;
            if (i + 1 >= list.size()) {
                error = list[i] + " has no value";
                return false;
            }
            const std::string& value = list[++i];
            char* end = nullptr;
            const double number = std::strtod(value.c_str(), &end);
            if (value.empty() || *end != '\0' || !std::isfinite(number)) {
                error = list[i - 1] + " expects a frame number, got '" + value + "'";
                return false;
            }
            read.*(flag.field) = number;
        }
    }
    range = read;
    return true;
}

} // namespace host
