// quillo join: puts the parts of a split export back together into the file the whole export
// writes (export/featherJoin.h). Needs no plug-in and no scene.

#include "commandLine.h"
#include "commands.h"
#include "exitCodes.h"

#include "export/featherJoin.h"

#include <iostream>

namespace quillo {

int joinCommand(const std::vector<std::string>& arguments) {
    CommandLine line("join", arguments);
    std::string output;
    std::vector<std::string> parts;
    while (line.more()) {
        const std::string& argument = line.next();
        if (argument == "-o" || argument == "--output")
            line.value(argument, output);
        else if (!argument.empty() && argument[0] == '-')
            line.error("unknown option '" + argument + "'");
        else
            parts.push_back(argument);
    }
    if (parts.empty())
        line.error("no parts given");
    else if (output.empty())
        line.error("no output file given (-o FILE)");
    if (line.failed())
        return line.usageExit();
    std::string why;
    if (!joinExportParts(parts, output, &why)) {
        std::cerr << "quillo join: " << why << "\n";
        return why.rfind("cannot write", 0) == 0 ? kExitWriteFailed : kExitJoinFailed;
    }
    std::cout << "Wrote " << output << " (" << parts.size()
              << (parts.size() == 1 ? " part" : " parts") << ")\n";
    return kExitSuccess;
}

} // namespace quillo
