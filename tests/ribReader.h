#pragma once
// A small reader of RIB text for tests: requests with their arguments (numbers, strings and
// arrays of either), comments skipped, AttributeBegin / AttributeEnd checked for balance, and
// checks that the vertex and primitive-variable counts of Curves and SubdivisionMesh agree
// with their data, as a renderer would insist.

#include <zlib.h>

#include <cctype>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace testrib {

// One argument: a number, a string, or an array of numbers or strings.
struct Arg {
    enum Kind { kNumber, kString, kArray } kind = kNumber;
    double number = 0.0;
    std::string text;
    std::vector<double> numbers;
    std::vector<std::string> strings;
};

struct Request {
    std::string name;
    std::vector<Arg> args;
    int line = 0;
    // The array after the parameter whose declaration ends with `name` ("P", "width", ...).
    const Arg* param(const std::string& name, std::string* declaration = nullptr) const {
        for (size_t i = 0; i + 1 < args.size(); ++i) {
            if (args[i].kind != Arg::kString)
                continue;
            const std::string& d = args[i].text;
            const size_t space = d.find_last_of(' ');
            if ((space == std::string::npos ? d : d.substr(space + 1)) == name) {
                if (declaration)
                    *declaration = d;
                return &args[i + 1];
            }
        }
        return nullptr;
    }
};

// Parses the text; false with *error naming the line on a syntax error or unbalanced blocks.
inline bool parse(const std::string& text, std::vector<Request>& requests, std::string* error) {
    size_t i = 0;
    int line = 1;
    std::vector<int> open;
    const auto fail = [&](const std::string& what) {
        *error = "line " + std::to_string(line) + ": " + what;
        return false;
    };
    const auto skipSpace = [&] {
        while (i < text.size()) {
            if (text[i] == '\n')
                ++line;
            if (text[i] == '#') {
                while (i < text.size() && text[i] != '\n')
                    ++i;
            } else if (std::isspace(static_cast<unsigned char>(text[i]))) {
                ++i;
            } else {
                break;
            }
        }
    };
    const auto readString = [&](std::string& out) {
        ++i;
        while (i < text.size() && text[i] != '"') {
            if (text[i] == '\\' && i + 1 < text.size()) {
                ++i;
                out += text[i] == 'n' ? '\n' : text[i];
            } else {
                if (text[i] == '\n')
                    return false;
                out += text[i];
            }
            ++i;
        }
        if (i >= text.size())
            return false;
        ++i;
        return true;
    };
    const auto readNumber = [&](double& out) {
        const char* start = text.c_str() + i;
        char* end = nullptr;
        out = std::strtod(start, &end);
        if (end == start)
            return false;
        i += static_cast<size_t>(end - start);
        return true;
    };
    while (true) {
        skipSpace();
        if (i >= text.size())
            break;
        if (!std::isalpha(static_cast<unsigned char>(text[i])))
            return fail(std::string("a request name expected, found '") + text[i] + "'");
        Request request;
        request.line = line;
        while (i < text.size() && std::isalnum(static_cast<unsigned char>(text[i])))
            request.name += text[i++];
        while (true) {
            skipSpace();
            if (i >= text.size() || std::isalpha(static_cast<unsigned char>(text[i])))
                break;
            Arg arg;
            if (text[i] == '"') {
                arg.kind = Arg::kString;
                if (!readString(arg.text))
                    return fail("unterminated string");
            } else if (text[i] == '[') {
                arg.kind = Arg::kArray;
                ++i;
                while (true) {
                    skipSpace();
                    if (i >= text.size())
                        return fail("unterminated array");
                    if (text[i] == ']') {
                        ++i;
                        break;
                    }
                    if (text[i] == '"') {
                        std::string s;
                        if (!readString(s))
                            return fail("unterminated string");
                        arg.strings.push_back(s);
                    } else {
                        double n;
                        if (!readNumber(n))
                            return fail("bad array entry");
                        arg.numbers.push_back(n);
                    }
                    if (!arg.strings.empty() && !arg.numbers.empty())
                        return fail("an array mixing numbers and strings");
                }
            } else if (!readNumber(arg.number)) {
                return fail(std::string("unexpected '") + text[i] + "'");
            }
            request.args.push_back(arg);
        }
        if (request.name == "AttributeBegin")
            open.push_back(line);
        if (request.name == "AttributeEnd") {
            if (open.empty())
                return fail("AttributeEnd without AttributeBegin");
            open.pop_back();
        }
        requests.push_back(request);
    }
    if (!open.empty()) {
        line = open.back();
        return fail("AttributeBegin never ended");
    }
    return true;
}

// Values per element of a declared type.
inline size_t valuesPerItem(const std::string& declaration) {
    for (const char* triple : {" point ", " normal ", " color ", " vector "})
        if ((" " + declaration + " ").find(triple) != std::string::npos)
            return 3;
    return 1;
}

// Checks every inline-declared primitive variable ("class type name") of a request against the
// item counts of its classes; false with *error naming the variable.
inline bool checkVariables(const Request& r, const std::map<std::string, size_t>& counts,
                           std::string* error) {
    for (size_t a = 0; a + 1 < r.args.size(); ++a) {
        if (r.args[a].kind != Arg::kString || r.args[a].text.find(' ') == std::string::npos)
            continue;
        const std::string& d = r.args[a].text;
        const std::string cls = d.substr(0, d.find(' '));
        const auto count = counts.find(cls);
        if (count == counts.end()) {
            *error = "unknown class in \"" + d + "\"";
            return false;
        }
        const size_t expected = count->second * valuesPerItem(d);
        if (r.args[a + 1].numbers.size() != expected) {
            *error = "\"" + d + "\" has " + std::to_string(r.args[a + 1].numbers.size()) +
                     " values, expected " + std::to_string(expected);
            return false;
        }
    }
    return true;
}

inline size_t sum(const std::vector<double>& values) {
    size_t total = 0;
    for (double v : values)
        total += static_cast<size_t>(v);
    return total;
}

// Curves: P holds one point per vertex; varying counts follow the curve type (cubic curves
// with step 1, as Catmull-Rom and B-spline bases use: n - 2 per curve of n vertices).
inline bool checkCurves(const Request& r, std::string* error) {
    if (r.args.size() < 3 || r.args[0].kind != Arg::kString || r.args[1].kind != Arg::kArray ||
        r.args[2].kind != Arg::kString) {
        *error = "Curves wants type, vertex counts and wrap";
        return false;
    }
    const bool cubic = r.args[0].text == "cubic";
    const std::vector<double>& counts = r.args[1].numbers;
    size_t varying = 0;
    for (double n : counts) {
        if (n < (cubic ? 4 : 2)) {
            *error = "a curve of " + std::to_string(static_cast<int>(n)) + " vertices";
            return false;
        }
        varying += static_cast<size_t>(n) - (cubic ? 2 : 0);
    }
    const Arg* p = r.param("P");
    if (!p || p->numbers.size() != 3 * sum(counts)) {
        *error = "P does not hold one point per vertex";
        return false;
    }
    return checkVariables(r,
                          {{"vertex", sum(counts)},
                           {"varying", varying},
                           {"uniform", counts.size()},
                           {"constant", 1}},
                          error);
}

inline bool checkSubdivisionMesh(const Request& r, std::string* error) {
    if (r.args.size() < 7 || r.args[1].kind != Arg::kArray || r.args[2].kind != Arg::kArray) {
        *error = "SubdivisionMesh wants scheme, nvertices, vertices and tags";
        return false;
    }
    const std::vector<double>& faces = r.args[1].numbers;
    const std::vector<double>& vertices = r.args[2].numbers;
    const Arg* p = r.param("P");
    if (!p || p->numbers.size() % 3 != 0 || sum(faces) != vertices.size()) {
        *error = "face vertex counts do not match the vertex list";
        return false;
    }
    for (double v : vertices)
        if (v < 0 || static_cast<size_t>(v) >= p->numbers.size() / 3) {
            *error = "a vertex index outside P";
            return false;
        }
    return checkVariables(r,
                          {{"vertex", p->numbers.size() / 3},
                           {"varying", p->numbers.size() / 3},
                           {"facevarying", vertices.size()},
                           {"uniform", faces.size()},
                           {"constant", 1}},
                          error);
}

// Parses and checks every primitive; *error says what failed first.
inline bool read(const std::string& text, std::vector<Request>& requests, std::string* error) {
    if (!parse(text, requests, error))
        return false;
    for (const Request& r : requests) {
        std::string why;
        if ((r.name == "Curves" && !checkCurves(r, &why)) ||
            (r.name == "SubdivisionMesh" && !checkSubdivisionMesh(r, &why))) {
            *error = r.name + " at line " + std::to_string(r.line) + ": " + why;
            return false;
        }
    }
    return true;
}

// The text of a gzip-compressed file; empty when it cannot be read.
inline std::string gunzip(const std::string& path) {
    gzFile file = gzopen(path.c_str(), "rb");
    std::string text;
    if (!file)
        return text;
    char buffer[4096];
    int count;
    while ((count = gzread(file, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<size_t>(count));
    gzclose(file);
    return text;
}

} // namespace testrib
