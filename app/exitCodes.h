#pragma once
// The exit codes of the quillo program; the usage text lists them for users.

namespace quillo {

enum ExitCode {
    kExitSuccess = 0,
    kExitPluginFailed = 1,  // a plug-in build could not be loaded or unloaded
    kExitUsage = 2,         // the command line is wrong
    kExitSceneFailed = 3,   // the scene file cannot be read, or reading it reported errors
    kExitDrawFailed = 4,    // the view cannot be drawn (no such camera, no OpenGL context)
    kExitWriteFailed = 5,   // the output file (image or export) cannot be written, or is an input
    kExitBuildFailed = 6,   // a feather node or system reported an error while building
    kExitJoinFailed = 7,    // join: a part cannot be read, is no part, or does not fit the others
    kExitCommandFailed = 8, // batch: one of the user's MEL commands failed
    kExitSignalBase = 128   // plus the number of the signal that interrupted the program
};

} // namespace quillo
