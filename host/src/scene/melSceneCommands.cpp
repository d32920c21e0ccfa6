// The scene commands as MEL commands: each MEL call is turned back into arguments as a file
// would write them and run by the same handler the file reader uses.

#include "scene/melSelectionCommands.h"
#include "scene/sceneCommands.h"
#include "scene/valueText.h"

#include <host/scene.h>

namespace host {

namespace {

void appendValue(const MelValue& value, std::vector<SceneToken>& tokens) {
    auto word = [&](std::string text, bool quoted) {
        SceneToken token;
        token.text = std::move(text);
        token.quoted = quoted;
        tokens.push_back(std::move(token));
    };
    switch (value.type()) {
    case MelValue::Type::kNone:
        break;
    case MelValue::Type::kInt:
        word(std::to_string(value.asInt()), false);
        break;
    case MelValue::Type::kFloat:
        word(formatDouble(value.asFloat()), false);
        break;
    case MelValue::Type::kString:
        word(value.asString(), true);
        break;
    case MelValue::Type::kIntArray:
        for (int v : value.asIntArray())
            word(std::to_string(v), false);
        break;
    case MelValue::Type::kFloatArray:
        for (double v : value.asFloatArray())
            word(formatDouble(v), false);
        break;
    case MelValue::Type::kStringArray:
        for (const std::string& v : value.asStringArray())
            word(v, true);
        break;
    }
}

MStatus runFromMel(const SceneCommandSyntax& syntax, MelCall& call) {
    std::vector<SceneToken> tokens;
    for (const MelArg& arg : call.raw()) {
        if (arg.isFlag) {
            SceneToken flag;
            flag.text = "-" + arg.flag;
            tokens.push_back(flag);
        } else {
            appendValue(arg.value, tokens);
        }
    }
    CommandRun run(syntax.name, nullptr, [&call](MessageKind kind, const std::string& text) {
        if (kind == MessageKind::kError)
            call.error(text);
        else
            call.warning(text);
    });
    std::string error;
    if (!parseSceneArgs(syntax, tokens, call.isQuery(), run.args, error)) {
        run.error(error + ".");
        return MS::kFailure;
    }
    bool ok = runSceneCommand(syntax, run);
    call.setResult(run.result);
    return ok ? MS::kSuccess : MS::kFailure;
}

} // namespace

void Scene::registerMelCommands() {
    for (const SceneCommandSyntax& command : sceneCommandTable()) {
        MelSyntax syntax;
        for (const FlagSyntax& flag : command.flags)
            syntax.flag(flag.shortName, flag.longName, flag.values, true);
        syntax.queryable = command.queryable;
        const SceneCommandSyntax* entry = &command;
        registerMelCommand(
            command.name, [entry](MelCall& call) { return runFromMel(*entry, call); }, syntax);
    }
    registerMelSelectionCommands();
}

void Scene::deregisterMelCommands() {
    for (const SceneCommandSyntax& command : sceneCommandTable())
        deregisterMelCommand(command.name);
    deregisterMelSelectionCommands();
}

} // namespace host
