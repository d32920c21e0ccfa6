#pragma once
// Building every feather holder of the open scene (feather nodes and feather systems), as the
// export and render commands need, and telling which nodes reported errors while they built.

#include <string>
#include <vector>

namespace quillo {

class ProgressBar;

struct FeatherBuildReport {
    int holders = 0;
    // One entry per node that reported an error while building: its name, then the first
    // error it showed.
    struct Failure {
        std::string node;
        std::string firstError;
    };
    std::vector<Failure> failures;

    bool failed() const { return !failures.empty(); }
    // The last line a command prints when builds failed: how many nodes and why.
    std::string summary() const;
};

// How far the holders are taken: evaluated (a feather node builds its feathers, a feather
// system prepares them, which an export then builds as it writes them), or built too, as
// drawing needs them.
enum class FeatherDepth { kEvaluated, kBuilt };

// Takes each holder that far, in the scene's node order (only the node named `onlyNode` when
// one is named), the bar following them.
FeatherBuildReport buildFeatherHolders(ProgressBar& bar, FeatherDepth depth,
                                       const std::string& onlyNode = "");

// The names of the scene's feather nodes and systems, in scene order.
std::vector<std::string> featherHolderNames();
// True when the scene has a feather node or system of that name.
bool isFeatherHolder(const std::string& node);

} // namespace quillo
