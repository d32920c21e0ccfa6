#pragma once
// Runs the built quillo program with arguments and collects what it printed.

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

struct RunResult {
    int exitCode = -1;
    std::string output; // stdout and stderr together
};

// The program's path, for command lines built by hand.
inline std::string quilloProgram() {
    return QUILLO_BINARY_DIR "/bin/quillo";
}

// Runs a shell command line (sh -c), collecting what it printed.
inline RunResult runShell(const std::string& line) {
    const std::string command = "(" + line + ") 2>&1";
    RunResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    std::array<char, 4096> buffer;
    size_t count;
    while ((count = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.output.append(buffer.data(), count);
    int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// From the folder given, when one is (paths in the arguments and the scene are then relative to
// it).
inline RunResult runQuillo(const std::string& arguments, const std::string& folder = "") {
    const std::string line = quilloProgram() + " " + arguments;
    return runShell(folder.empty() ? line : "cd '" + folder + "' && " + line);
}
