#include "scene/rawValues.h"

#include "scene/sceneCommands.h"

namespace host {

namespace {

const char kSeparator = '\x1f';

// Flag words with their values, split per flag.
std::vector<std::vector<SceneToken>> splitFlags(const std::vector<SceneToken>& flags) {
    std::vector<std::vector<SceneToken>> groups;
    for (const SceneToken& token : flags) {
        if (token.isFlag() || groups.empty())
            groups.emplace_back();
        groups.back().push_back(token);
    }
    return groups;
}

std::string flagName(const std::vector<SceneToken>& group) {
    std::string name = group.empty() ? "" : group.front().text.substr(1);
    if (const SceneCommandSyntax* syntax = findSceneCommand("setAttr"))
        for (const FlagSyntax& flag : syntax->flags)
            if (flag.longName == name)
                return flag.shortName;
    return name;
}

} // namespace

std::vector<SceneToken> lexArguments(const std::string& text) {
    std::string command = "args " + text + "\n;";
    MayaAsciiLexer lexer(command, [](const std::string&) { return false; });
    SceneCommand parsed;
    int line = 0;
    std::string error;
    if (lexer.next(parsed, line, error) != MayaAsciiLexer::Result::kCommand)
        return {};
    return parsed.args;
}

std::string encodeRawSetting(const RawSetting& setting) {
    return joinTokens(setting.flags) + kSeparator + joinTokens(setting.values);
}

RawSetting decodeRawSetting(const std::string& text) {
    RawSetting setting;
    size_t separator = text.find(kSeparator);
    if (separator == std::string::npos) {
        setting.values = lexArguments(text);
        return setting;
    }
    setting.flags = lexArguments(text.substr(0, separator));
    setting.values = lexArguments(text.substr(separator + 1));
    return setting;
}

void mergeRawSetting(RawSetting& into, const RawSetting& update) {
    auto groups = splitFlags(into.flags);
    auto updates = splitFlags(update.flags);
    if (!update.values.empty()) {
        into.values = update.values;
        for (auto it = groups.begin(); it != groups.end();)
            it = flagName(*it) == "typ" ? groups.erase(it) : it + 1;
    }
    for (const auto& group : updates) {
        bool replaced = false;
        for (auto& existing : groups)
            if (flagName(existing) == flagName(group)) {
                existing = group;
                replaced = true;
            }
        if (!replaced)
            groups.push_back(group);
    }
    into.flags.clear();
    for (const auto& group : groups)
        into.flags.insert(into.flags.end(), group.begin(), group.end());
}

std::string rawType(const RawSetting& setting) {
    for (size_t i = 0; i + 1 < setting.flags.size(); ++i)
        if (setting.flags[i].text == "-type" || setting.flags[i].text == "-typ")
            return setting.flags[i + 1].text;
    return "";
}

} // namespace host
