#include "commandLine.h"

#include "exitCodes.h"

#include <cstdlib>
#include <iostream>

namespace quillo {

CommandLine::CommandLine(std::string command, std::vector<std::string> arguments)
    : command_(std::move(command)), arguments_(std::move(arguments)) {}

bool CommandLine::value(const std::string& flag, std::string& out) {
    if (!more()) {
        error(flag + " needs a value");
        return false;
    }
    out = next();
    return true;
}

void CommandLine::sceneArgument(const std::string& argument, std::string& scene,
                                std::string& plugin) {
    if (argument == "--plugin")
        value(argument, plugin);
    else if (!argument.empty() && argument[0] == '-')
        error("unknown option '" + argument + "'");
    else if (scene.empty())
        scene = argument;
    else
        error("one scene at a time ('" + scene + "', then '" + argument + "')");
}

void CommandLine::error(const std::string& message) {
    if (error_.empty())
        error_ = message;
}

std::string CommandLine::message() const {
    return "quillo " + command_ + ": " + error_;
}

int CommandLine::usageExit() const {
    std::cerr << message() << "\n";
    return kExitUsage;
}

std::string melQuoted(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

bool parseSize(const std::string& text, int& width, int& height) {
    size_t x = text.find('x');
    if (x == std::string::npos || x == 0 || x + 1 >= text.size())
        return false;
    auto number = [](const std::string& digits, int& out) {
        if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 6)
            return false;
        out = std::atoi(digits.c_str());
        return out > 0;
    };
    return number(text.substr(0, x), width) && number(text.substr(x + 1), height);
}

} // namespace quillo
