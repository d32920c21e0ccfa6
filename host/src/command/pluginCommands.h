#pragma once
// Plug-in commands as MEL commands: MFnPlugin::registerCommand lands here. Each call of the
// command turns its MEL arguments into an MArgList, checks them against the command's syntax
// (when it has one), makes a command object with the creator, runs doIt and hands the result
// MPxCommand collected back to MEL.

#include "host/mel.h"

#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <string>

namespace host {

class Plugin;

// Refused (with *error) for an empty name, a null creator, or a name that is already a command.
MStatus registerPluginCommand(Plugin& plugin, const std::string& name, MCreatorFunction creator,
                              MCreateSyntaxFunction syntaxCreator, std::string* error);
// Refused when the plug-in did not register the command.
MStatus deregisterPluginCommand(Plugin& plugin, const std::string& name, std::string* error);

// The result of the plug-in command running now (what MPxCommand's result calls build).
MelValue& currentCommandResult();

} // namespace host
