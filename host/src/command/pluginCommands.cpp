#include "command/pluginCommands.h"

#include "command/commandArguments.h"
#include "plugin/plugin.h"

#include <maya/MArgList.h>
#include <maya/MPxCommand.h>
#include <maya/MSyntax.h>

#include <algorithm>
#include <memory>

namespace host {

MelValue& currentCommandResult() {
    static MelValue result;
    return result;
}

namespace {

// MEL arguments as MArgList holds them: arrays spread into their elements.
void appendArgument(const MelArg& arg, std::vector<ArgItem>& items) {
    if (arg.isFlag) {
        items.push_back(ArgItem::flag(arg.flag));
        return;
    }
    ArgItem item;
    switch (arg.value.type()) {
    case MelValue::Type::kNone:
        return;
    case MelValue::Type::kInt:
        item.kind = ArgItem::Kind::kInt;
        item.intValue = arg.value.asInt();
        break;
    case MelValue::Type::kFloat:
        item.kind = ArgItem::Kind::kDouble;
        item.doubleValue = arg.value.asFloat();
        break;
    case MelValue::Type::kString:
        item = ArgItem::string(arg.value.asString());
        break;
    default: {
        const MelValue& array = arg.value;
        for (std::size_t k = 0; k < array.size(); ++k) {
            MelArg element;
            if (array.type() == MelValue::Type::kIntArray)
                element.value = array.asIntArray()[k];
            else if (array.type() == MelValue::Type::kFloatArray)
                element.value = array.asFloatArray()[k];
            else
                element.value = array.asStringArray()[k];
            appendArgument(element, items);
        }
        return;
    }
    }
    items.push_back(item);
}

// Keeps the result of an enclosing plug-in command while a nested one runs.
struct ResultScope {
    ResultScope() : saved(std::move(currentCommandResult())) { currentCommandResult() = {}; }
    ~ResultScope() { currentCommandResult() = std::move(saved); }
    MelValue saved;
};

MStatus runCommand(MelCall& call, MCreatorFunction creator, MCreateSyntaxFunction syntaxCreator) {
    MArgList args;
    for (const MelArg& arg : call.raw())
        appendArgument(arg, args.data().items);
    if (syntaxCreator) {
        const MSyntax syntax = syntaxCreator();
        ParsedArguments parsed;
        std::string error;
        if (!parseArguments(syntax.data(), args.data().items, parsed, &error)) {
            call.error(call.command() + ": " + error);
            return MS::kFailure;
        }
    }
    std::unique_ptr<MPxCommand> command(static_cast<MPxCommand*>(creator()));
    if (!command) {
        call.error(call.command() + ": the plug-in's creator made no command.");
        return MS::kFailure;
    }
    ResultScope scope;
    const MStatus status = command->doIt(args);
    call.setResult(currentCommandResult());
    return status;
}

} // namespace

MStatus registerPluginCommand(Plugin& plugin, const std::string& name, MCreatorFunction creator,
                              MCreateSyntaxFunction syntaxCreator, std::string* error) {
    if (name.empty() || !creator) {
        *error = "Cannot register command '" + name +
                 "': " + (name.empty() ? "it has no name." : "it has no creator function.");
        return MS::kInvalidParameter;
    }
    if (melCommandExists(name)) {
        *error = "Cannot register command '" + name + "': a command of that name exists.";
        return MS::kFailure;
    }
    MelSyntax syntax;
    syntax.rawArguments = true;
    if (syntaxCreator) {
        const MSyntax commandSyntax = syntaxCreator();
        for (const SyntaxFlag& flag : commandSyntax.data().flags)
            syntax.flag(flag.shortName, flag.longName);
    }
    registerMelCommand(
        name,
        [creator, syntaxCreator](MelCall& call) {
            return runCommand(call, creator, syntaxCreator);
        },
        syntax);
    plugin.commands.push_back(name);
    return MS::kSuccess;
}

MStatus deregisterPluginCommand(Plugin& plugin, const std::string& name, std::string* error) {
    auto found = std::find(plugin.commands.begin(), plugin.commands.end(), name);
    if (found == plugin.commands.end()) {
        *error = "Cannot deregister command '" + name + "': plug-in " + plugin.name +
                 " did not register it.";
        return MS::kFailure;
    }
    plugin.commands.erase(found);
    deregisterMelCommand(name);
    return MS::kSuccess;
}

} // namespace host
