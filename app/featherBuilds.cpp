#include "featherBuilds.h"

#include "commandLine.h"
#include "progressBar.h"

#include <host/mel.h>
#include <host/messages.h>
#include <host/scene.h>

namespace quillo {

namespace {

// The node types that hold feathers, as the plug-in's featherHolders lists them, and the plug
// whose evaluation builds them.
const struct {
    const char* type;
    const char* output;
} featherHolders[] = {{"quillo", "outputMesh"}, {"quilloSystem", "outFeatherMesh"}};

} // namespace

std::string FeatherBuildReport::summary() const {
    if (failures.empty())
        return std::string();
    std::string text = "quillo: " + std::to_string(failures.size()) + " of " +
                       std::to_string(holders) + " feather " + (holders == 1 ? "node" : "nodes") +
                       " failed to build: ";
    for (size_t i = 0; i < failures.size(); ++i) {
        // Most errors start with the node's own name: it is said once.
        const Failure& failure = failures[i];
        const std::string named = failure.node + ": ";
        const bool ownName = failure.firstError.compare(0, named.size(), named) == 0;
        text += (i ? "; " : "") + failure.node + " (" +
                failure.firstError.substr(ownName ? named.size() : 0) + ")";
    }
    return text;
}

std::vector<std::string> featherHolderNames() {
    host::Scene& scene = host::Scene::current();
    std::vector<std::string> names;
    for (const std::string& node : scene.nodeNames())
        if (isFeatherHolder(node))
            names.push_back(node);
    return names;
}

bool isFeatherHolder(const std::string& node) {
    const std::string type = host::Scene::current().typeOf(node);
    for (const auto& holder : featherHolders)
        if (type == holder.type)
            return true;
    return false;
}

FeatherBuildReport buildFeatherHolders(ProgressBar& bar, FeatherDepth depth,
                                       const std::string& onlyNode) {
    host::Scene& scene = host::Scene::current();
    std::vector<std::pair<std::string, const char*>> plugs;
    for (const std::string& node : scene.nodeNames())
        for (const auto& holder : featherHolders)
            if (scene.typeOf(node) == holder.type && (onlyNode.empty() || node == onlyNode))
                plugs.emplace_back(node, holder.output);

    FeatherBuildReport report;
    report.holders = static_cast<int>(plugs.size());
    for (size_t i = 0; i < plugs.size(); ++i) {
        // Messages reach the user as before (held by the bar while it is shown); the capture only
        // tells which node's build showed errors.
        host::MessageCapture capture(bar.shown() ? host::MessageCapture::Echo::kSilent
                                                 : host::MessageCapture::Echo::kPassThrough);
        scene.evaluate(plugs[i].first + "." + plugs[i].second);
        // A system's evaluation only prepares its feathers; drawing builds them, and what that
        // reports belongs to the node too.
        if (depth == FeatherDepth::kBuilt)
            host::melExecute("quilloBuildReport " + melQuoted(plugs[i].first));
        const std::vector<std::string> errors = capture.texts(host::MessageKind::kError);
        if (!errors.empty())
            report.failures.push_back({plugs[i].first, errors.front()});
        bar.update(static_cast<double>(i + 1) / static_cast<double>(plugs.size()));
    }
    return report;
}

} // namespace quillo
