// The OBJ export of feathers built from a fuzzed description: only known statements, finite
// numbers, group names of safe characters, and every index (relative: -1 is the last written)
// pointing at a vertex or texture vertex written before it.

#include "fuzzDescription.h"
#include "fuzzSupport.h"

#include "export/featherObj.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

using fuzz::check;

namespace {

void checkNumber(const std::string& word, int line) {
    char* end = nullptr;
    const double value = std::strtod(word.c_str(), &end);
    if (word.empty() || *end != '\0' || !std::isfinite(value))
        fuzz::fail("line " + std::to_string(line) + ": '" + word + "' is no finite number");
}

// An index "v", "v/vt" of a face or polyline; each in -the count so far .. -1.
void checkIndex(const std::string& word, long vertices, long texture, int line) {
    const size_t slash = word.find('/');
    const long v = std::strtol(word.substr(0, slash).c_str(), nullptr, 10);
    if (v > -1 || v < -vertices)
        fuzz::fail("line " + std::to_string(line) + ": vertex index " + word);
    if (slash != std::string::npos) {
        const long t = std::strtol(word.substr(slash + 1).c_str(), nullptr, 10);
        if (t > -1 || t < -texture)
            fuzz::fail("line " + std::to_string(line) + ": uv index " + word);
    }
}

void checkObj(const std::string& text) {
    std::istringstream lines(text);
    std::string row;
    long vertices = 0, texture = 0;
    int line = 0;
    while (std::getline(lines, row)) {
        ++line;
        std::istringstream words(row);
        std::string keyword, word;
        words >> keyword;
        std::vector<std::string> args;
        while (words >> word)
            args.push_back(word);
        if (keyword.empty() || keyword[0] == '#')
            continue;
        if (keyword == "v" || keyword == "vt") {
            if (args.size() != (keyword == "v" ? 3u : 2u))
                fuzz::fail("line " + std::to_string(line) + ": coordinates");
            for (const std::string& a : args)
                checkNumber(a, line);
            ++(keyword == "v" ? vertices : texture);
        } else if (keyword == "l" || keyword == "f") {
            if (args.size() < (keyword == "l" ? 2u : 3u))
                fuzz::fail("line " + std::to_string(line) + ": too few indices");
            for (const std::string& a : args)
                checkIndex(a, vertices, texture, line);
        } else if (keyword == "g" || keyword == "o") {
            if (args.size() != 1)
                fuzz::fail("line " + std::to_string(line) + ": one group name");
            for (char c : args[0])
                if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-' &&
                    c != '.')
                    fuzz::fail("line " + std::to_string(line) + ": group name " + args[0]);
        } else {
            fuzz::fail("line " + std::to_string(line) + ": unknown statement " + keyword);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    fuzz::fuzzedFeathers built;
    fuzz::buildFuzzedFeathers(in, built);
    std::ostringstream out;
    check(writeFeatherObj(out, {built.node}), "the OBJ writer fails on a memory stream");
    checkObj(out.str());
    return 0;
}
