#include "export/featherJoin.h"

#include "export/exportPart.h"
#include "export/featherJson.h"
#include "export/featherObj.h"
#include "export/featherRib.h"
#include "export/mappedFile.h"
#include "export/outputFile.h"
#include "export/ribFiles.h"

#include <zlib.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <memory>
#include <sstream>

namespace {

// One node of a part: its name and type (JSON), or its comment line (OBJ), its slots in this
// part and the text of its feathers there.
struct partNode {
    std::string name, type;
    size_t first = 0, end = 0, total = 0;
    const char* text = nullptr;
    size_t length = 0;
    bool sliced = false; // a JSON node with its "slots"
};

struct partFile {
    std::string path;
    std::unique_ptr<mappedFile> file = std::make_unique<mappedFile>();
    exportPart part;
    std::vector<partNode> nodes;
};

// Reads the JSON the writer makes: values are skipped or read by their grammar, so that a
// feather's text is found without building anything of it.
class jsonScanner {
  public:
    jsonScanner(const char* begin, const char* end) : start_(begin), at_(begin), end_(end) {}

    // Where the next value starts, and where the scanner stands.
    const char* at() {
        space();
        return at_;
    }
    const char* here() const { return at_; }
    size_t offset() const { return static_cast<size_t>(at_ - start_); }
    bool take(char c) {
        space();
        if (at_ == end_ || *at_ != c)
            return false;
        ++at_;
        return true;
    }
    bool peek(char c) {
        space();
        return at_ != end_ && *at_ == c;
    }

    // A string, unescaped (\uXXXX as UTF-8).
    bool string(std::string& out) {
        out.clear();
        if (!take('"'))
            return false;
        while (at_ != end_) {
            const char c = *at_++;
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return false;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ == end_)
                return false;
            const char e = *at_++;
            const char* plain = std::strchr("\"\\/bfnrt", e);
            if (e != '\0' && plain) {
                out += "\"\\/\b\f\n\r\t"[plain - "\"\\/bfnrt"];
                continue;
            }
            unsigned int code = 0;
            if (e != 'u' || !hex4(code))
                return false;
            if (code >= 0xd800 && code < 0xdc00) {
                unsigned int low = 0;
                if (!take('\\') || !take('u') || !hex4(low) || low < 0xdc00 || low >= 0xe000)
                    return false;
                code = 0x10000 + ((code - 0xd800) << 10) + (low - 0xdc00);
            }
            appendUtf8(out, code);
        }
        return false;
    }

    bool integer(size_t& out) {
        space();
        const auto [end, error] = std::from_chars(at_, end_, out);
        if (error != std::errc() || end == at_)
            return false;
        at_ = end;
        return true;
    }

    // Any value, checking that brackets pair up.
    bool skipValue() {
        space();
        if (at_ == end_)
            return false;
        if (*at_ == '"')
            return skipString();
        if (*at_ != '{' && *at_ != '[') {
            const char* start = at_;
            while (at_ != end_ && (std::isalnum(static_cast<unsigned char>(*at_)) || *at_ == '-' ||
                                   *at_ == '+' || *at_ == '.'))
                ++at_;
            return at_ != start;
        }
        std::string closers;
        while (at_ != end_) {
            const char c = *at_;
            if (c == '"') {
                if (!skipString())
                    return false;
                continue;
            }
            ++at_;
            if (c == '{' || c == '[') {
                closers += c == '{' ? '}' : ']';
            } else if (c == '}' || c == ']') {
                if (closers.empty() || closers.back() != c)
                    return false;
                closers.pop_back();
                if (closers.empty())
                    return true;
            }
        }
        return false;
    }

  private:
    void space() {
        while (at_ != end_ && (*at_ == ' ' || *at_ == '\n' || *at_ == '\r' || *at_ == '\t'))
            ++at_;
    }
    bool skipString() {
        for (++at_; at_ != end_;) {
            const char c = *at_++;
            if (c == '"')
                return true;
            if (c == '\\') {
                if (at_ == end_)
                    return false;
                ++at_;
            }
        }
        return false;
    }
    bool hex4(unsigned int& code) {
        if (end_ - at_ < 4)
            return false;
        const auto [end, error] = std::from_chars(at_, at_ + 4, code, 16);
        if (error != std::errc() || end != at_ + 4)
            return false;
        at_ = end;
        return true;
    }
    static void appendUtf8(std::string& out, unsigned int code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xc0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3f));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xe0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
            out += static_cast<char>(0x80 | (code & 0x3f));
        } else {
            out += static_cast<char>(0xf0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3f));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
            out += static_cast<char>(0x80 | (code & 0x3f));
        }
    }

    const char* start_;
    const char* at_;
    const char* end_;
};

// [a, b, c] of whole numbers.
bool readNumbers(jsonScanner& in, size_t* numbers, size_t count) {
    if (!in.take('['))
        return false;
    for (size_t i = 0; i < count; ++i)
        if ((i > 0 && !in.take(',')) || !in.integer(numbers[i]))
            return false;
    return in.take(']');
}

// The members of an object, each read by `member` (which reads the value after the colon).
template <typename Member> bool readObject(jsonScanner& in, Member member) {
    if (!in.take('{'))
        return false;
    if (in.take('}'))
        return true;
    std::string key;
    do {
        if (!in.string(key) || !in.take(':') || !member(key))
            return false;
    } while (in.take(','));
    return in.take('}');
}

bool readJsonNode(jsonScanner& in, partNode& node) {
    bool feathers = false;
    const bool read = readObject(in, [&](const std::string& key) {
        if (key == "name")
            return in.string(node.name);
        if (key == "type")
            return in.string(node.type);
        if (key == "slots") {
            size_t slots[3];
            node.sliced = readNumbers(in, slots, 3);
            node.first = slots[0];
            node.end = slots[1];
            node.total = slots[2];
            return node.sliced;
        }
        if (key == "feathers") {
            // The text from the '[' to the ']', separators included.
            if (!in.take('['))
                return false;
            node.text = in.here();
            const char* last = node.text;
            if (!in.peek(']'))
                do {
                    if (!in.skipValue())
                        return false;
                    last = in.here();
                } while (in.take(','));
            node.length = static_cast<size_t>(last - node.text);
            return feathers = in.take(']');
        }
        return in.skipValue();
    });
    return read && feathers;
}

bool readJsonPart(partFile& part, std::string* why) {
    jsonScanner in(part.file->data(), part.file->data() + part.file->size());
    std::string format;
    size_t version = 0, index[2] = {0, 0};
    bool isPart = false, hasNodes = false;
    const bool read = readObject(in, [&](const std::string& key) {
        if (key == "format")
            return in.string(format);
        if (key == "version")
            return in.integer(version);
        if (key == "part")
            return isPart = readNumbers(in, index, 2);
        if (key == "nodes") {
            hasNodes = true;
            if (!in.take('['))
                return false;
            if (in.take(']'))
                return true;
            do {
                part.nodes.emplace_back();
                if (!readJsonNode(in, part.nodes.back()))
                    return false;
            } while (in.take(','));
            return in.take(']');
        }
        return in.skipValue();
    });
    if (!read || format != "quillo-feathers" || !hasNodes) {
        *why =
            "not a quillo JSON export, or cut short (at byte " + std::to_string(in.offset()) + ")";
        return false;
    }
    if (version != static_cast<size_t>(featherJsonVersion)) {
        *why = "written by another version of the format (" + std::to_string(version) + ")";
        return false;
    }
    if (!isPart || index[1] < 1 || index[0] >= index[1]) {
        *why = "a whole export, not a part of one (no \"part\" field)";
        return false;
    }
    for (const partNode& node : part.nodes)
        if (!node.sliced) {
            *why = "node " + node.name + " has no \"slots\"";
            return false;
        }
    part.part = {static_cast<unsigned int>(index[0]), static_cast<unsigned int>(index[1])};
    return true;
}

// The whole numbers after `after` in `text`, separated by the words in `between` and ending
// the text: "..., part 2 of 7" or ": slots 10 to 20 of 100".
bool readNumbersAfter(const std::string& text, const std::string& after,
                      const std::vector<std::string>& between, size_t* numbers) {
    const size_t at = text.rfind(after);
    if (at == std::string::npos)
        return false;
    const char* cursor = text.data() + at + after.size();
    const char* end = text.data() + text.size();
    for (size_t i = 0; i <= between.size(); ++i) {
        if (i > 0) {
            const std::string& word = between[i - 1];
            if (static_cast<size_t>(end - cursor) < word.size() ||
                std::memcmp(cursor, word.data(), word.size()) != 0)
                return false;
            cursor += word.size();
        }
        if (cursor == end || *cursor < '0' || *cursor > '9')
            return false;
        const auto [next, error] = std::from_chars(cursor, end, numbers[i]);
        if (error != std::errc())
            return false;
        cursor = next;
    }
    return cursor == end;
}

bool readObjPart(partFile& part, std::string* why) {
    const char* data = part.file->data();
    const char* end = data + part.file->size();
    const auto lineEnd = [&](const char* from) {
        const void* found = std::memchr(from, '\n', static_cast<size_t>(end - from));
        return found ? static_cast<const char*>(found) : end;
    };
    const char* headerEnd = lineEnd(data);
    const std::string header(data, headerEnd);
    size_t index[2];
    if (header.rfind(objFileHeader, 0) != 0 || headerEnd == end) {
        *why = "not a quillo OBJ export";
        return false;
    }
    if (!readNumbersAfter(header, ", part ", {" of "}, index) || index[1] < 1 ||
        index[0] >= index[1]) {
        *why = "a whole export, not a part of one (no part in its first line)";
        return false;
    }
    part.part = {static_cast<unsigned int>(index[0]), static_cast<unsigned int>(index[1])};
    static const char nodeMark[] = "\n# node ";
    const char* at = headerEnd;
    while (at != end) {
        const char* line = at + 1;
        const char* next = lineEnd(line);
        partNode node;
        node.name.assign(line, next);
        size_t slots[3];
        if (node.name.rfind(nodeMark + 1, 0) != 0 ||
            !readNumbersAfter(node.name, ": slots ", {" to ", " of "}, slots)) {
            *why = "not a node line of a quillo OBJ part at byte " + std::to_string(line - data);
            return false;
        }
        node.first = slots[0];
        node.end = slots[1];
        node.total = slots[2];
        node.name.resize(node.name.rfind(": slots "));
        node.text = next == end ? end : next + 1;
        const char* following = static_cast<const char*>(
            memmem(next, static_cast<size_t>(end - next), nodeMark, sizeof nodeMark - 1));
        at = following ? following : end;
        node.length = static_cast<size_t>((following ? following + 1 : end) - node.text);
        part.nodes.push_back(std::move(node));
    }
    return true;
}

// Orders the parts by index and checks that they are one export's parts, each there once.
bool fitTogether(std::vector<partFile>& parts, std::string* why) {
    std::sort(parts.begin(), parts.end(),
              [](const partFile& a, const partFile& b) { return a.part.index < b.part.index; });
    const auto name = [](const partFile& part) {
        return "'" + part.path + "' (part " + std::to_string(part.part.index) + " of " +
               std::to_string(part.part.count) + ")";
    };
    const size_t count = parts.front().part.count;
    for (size_t k = 0; k < parts.size(); ++k) {
        if (parts[k].part.count != count) {
            *why = name(parts[k]) + " is not one of " + std::to_string(count) + " parts as " +
                   name(parts.front()) + " is";
            return false;
        }
        if (k > 0 && parts[k].part.index == parts[k - 1].part.index) {
            *why = name(parts[k]) + " is given twice";
            return false;
        }
        if (parts[k].part.index != k) {
            *why = "part " + std::to_string(k) + " of " + std::to_string(count) + " is missing";
            return false;
        }
    }
    if (parts.size() != count) {
        *why =
            "part " + std::to_string(parts.size()) + " of " + std::to_string(count) + " is missing";
        return false;
    }
    for (size_t k = 0; k < parts.size(); ++k) {
        const partFile& part = parts[k];
        if (part.nodes.size() != parts.front().nodes.size()) {
            *why = name(part) + " holds other nodes than part 0";
            return false;
        }
        for (size_t n = 0; n < part.nodes.size(); ++n) {
            const partNode& node = part.nodes[n];
            const partNode& first = parts.front().nodes[n];
            const size_t expectedFirst = k == 0 ? 0 : parts[k - 1].nodes[n].end;
            if (node.name != first.name || node.type != first.type || node.total != first.total ||
                node.first != expectedFirst || node.end < node.first ||
                (k + 1 == count && node.end != node.total)) {
                *why =
                    name(part) + ": node " + node.name + " does not follow on from the other parts";
                return false;
            }
        }
    }
    return true;
}

bool write(std::ostream& out, const char* text, size_t length) {
    return static_cast<bool>(out.write(text, static_cast<std::streamsize>(length)));
}
bool write(std::ostream& out, const textBuffer& text) {
    return write(out, text.data(), text.size());
}

// Each node's text from every part in turn. JSON parts start their feathers with the first
// feather's separator, which becomes the next feather's where a part follows another.
bool writeJoined(std::ostream& out, const std::vector<partFile>& parts, bool json) {
    featherJsonFormat jsonFormat;
    featherObjFormat objFormat;
    featherFileFormat& format = json ? static_cast<featherFileFormat&>(jsonFormat)
                                     : static_cast<featherFileFormat&>(objFormat);
    textBuffer text, opening, following;
    format.featherSeparator(opening, true);
    format.featherSeparator(following, false);
    format.fileStart(text, exportPart());
    write(out, text);
    for (size_t n = 0; n < parts.front().nodes.size(); ++n) {
        featherExportNode node;
        node.name = parts.front().nodes[n].name;
        node.type = parts.front().nodes[n].type;
        const size_t total = parts.front().nodes[n].total;
        text.clear();
        if (json)
            format.nodeStart(text, node, n, {0, total}, total);
        else
            text.append(node.name + "\n");
        write(out, text);
        bool first = true;
        for (const partFile& part : parts) {
            const partNode& piece = part.nodes[n];
            if (piece.length == 0)
                continue;
            if (first || opening.empty()) {
                write(out, piece.text, piece.length);
            } else {
                write(out, following);
                write(out, piece.text + opening.size(), piece.length - opening.size());
            }
            first = false;
        }
        text.clear();
        format.nodeEnd(text, node, 0);
        write(out, text);
    }
    text.clear();
    format.fileEnd(text);
    write(out, text);
    return static_cast<bool>(out);
}

// What the main file needs of a RIB part: which part it is, and its trailer's bound and how
// to name it.
struct ribPart {
    std::string path;
    exportPart part;
    MBoundingBox bound;
    bool hasBound = false;
    bool relative = false;
};

// The first two lines and the last line of a file, gzip-compressed or not.
bool readEnds(const std::string& path, std::string& first, std::string& second, std::string& last,
              std::string* why) {
    mappedFile file;
    if (!file.open(path, why))
        return false;
    const char* data = file.data();
    const size_t size = file.size();
    std::string head, tail;
    if (size >= 2 && static_cast<unsigned char>(data[0]) == 0x1f &&
        static_cast<unsigned char>(data[1]) == 0x8b) {
        // Compressed: read through it all, keeping the beginning and the end.
        gzFile zipped = gzopen(path.c_str(), "rb");
        if (!zipped) {
            *why = "it cannot be read as gzip";
            return false;
        }
        std::vector<char> buffer(1 << 20);
        int count;
        while ((count = gzread(zipped, buffer.data(), static_cast<unsigned int>(buffer.size()))) >
               0) {
            if (head.size() < 4096)
                head.append(buffer.data(), std::min<size_t>(static_cast<size_t>(count), 4096));
            tail.append(buffer.data(), static_cast<size_t>(count));
            if (tail.size() > 8192)
                tail.erase(0, tail.size() - 4096);
        }
        const bool ok = count == 0;
        gzclose(zipped);
        if (!ok) {
            *why = "it is cut short or not gzip";
            return false;
        }
    } else {
        head.assign(data, std::min<size_t>(size, 4096));
        tail.assign(data + size - std::min<size_t>(size, 4096), std::min<size_t>(size, 4096));
    }
    std::istringstream lines(head);
    std::getline(lines, first);
    std::getline(lines, second);
    if (!tail.empty() && tail.back() == '\n')
        tail.pop_back();
    last = tail.substr(tail.rfind('\n') == std::string::npos ? 0 : tail.rfind('\n') + 1);
    return true;
}

bool readRibPart(ribPart& part, std::string* why) {
    std::string first, second, last;
    if (!readEnds(part.path, first, second, last, why))
        return false;
    size_t index[2];
    if (first != "##RenderMan RIB" || second.rfind("# quillo feathers, world space", 0) != 0) {
        *why = "not a quillo RIB export";
        return false;
    }
    if (!readNumbersAfter(second, ", part ", {" of "}, index) || index[1] < 1 ||
        index[0] >= index[1]) {
        *why = "a whole export, not a part of one (no part in its second line)";
        return false;
    }
    part.part = {static_cast<unsigned int>(index[0]), static_cast<unsigned int>(index[1])};
    if (!readRibPartTrailer(last, part.bound, part.hasBound, part.relative)) {
        *why = "cut short: it does not end with its bound";
        return false;
    }
    return true;
}

// The main file: one DelayedReadArchive per part that holds anything, in part order.
bool joinRibParts(std::vector<ribPart>& parts, const std::string& output, std::string* why) {
    std::sort(parts.begin(), parts.end(),
              [](const ribPart& a, const ribPart& b) { return a.part.index < b.part.index; });
    const unsigned int count = parts.front().part.count;
    for (size_t k = 0; k < parts.size(); ++k) {
        const ribPart& part = parts[k];
        const std::string name = "'" + part.path + "' (part " + std::to_string(part.part.index) +
                                 " of " + std::to_string(part.part.count) + ")";
        std::string problem;
        if (part.part.count != count)
            problem = name + " is not one of " + std::to_string(count) + " parts";
        else if (k > 0 && part.part.index == parts[k - 1].part.index)
            problem = name + " is given twice";
        else if (part.part.index != k)
            problem = "part " + std::to_string(k) + " of " + std::to_string(count) + " is missing";
        if (!problem.empty()) {
            *why = "cannot join the parts: " + problem;
            return false;
        }
    }
    if (parts.size() != count) {
        *why = "cannot join the parts: part " + std::to_string(parts.size()) + " of " +
               std::to_string(count) + " is missing";
        return false;
    }
    std::string reason;
    const bool written = writeFileAtomically(
        output, false,
        [&](std::ostream& out) {
            out << "##RenderMan RIB\n# quillo feathers, world space, one archive per part\n";
            for (const ribPart& part : parts)
                if (part.hasBound)
                    writeDelayedArchiveRib(
                        out, fileNameOf(output) + ".part" + std::to_string(part.part.index),
                        archiveReference(part.path, output, part.relative), part.bound);
            return out.good();
        },
        &reason);
    if (!written)
        *why = "cannot write '" + output + "': " + reason;
    return written;
}

// The first bytes of a file, to tell its format.
bool readFirstBytes(const std::string& path, std::string& bytes, std::string* why) {
    mappedFile file;
    if (!file.open(path, why))
        return false;
    bytes.assign(file.data(), std::min<size_t>(file.size(), 64));
    return true;
}

} // namespace

bool joinExportParts(const std::vector<std::string>& paths, const std::string& output,
                     std::string* why) {
    if (paths.empty()) {
        *why = "no parts to join";
        return false;
    }
    for (const std::string& path : paths)
        if (path == output) {
            *why = "cannot join '" + path + "': it is the output too";
            return false;
        }
    std::string first;
    if (!readFirstBytes(paths.front(), first, why)) {
        *why = "cannot join '" + paths.front() + "': " + *why;
        return false;
    }
    if (first.rfind("##RenderMan RIB", 0) == 0 || first.rfind("\x1f\x8b", 0) == 0) {
        std::vector<ribPart> parts(paths.size());
        for (size_t k = 0; k < paths.size(); ++k) {
            parts[k].path = paths[k];
            std::string reason;
            if (!readRibPart(parts[k], &reason)) {
                *why = "cannot join '" + paths[k] + "': " + reason;
                return false;
            }
        }
        return joinRibParts(parts, output, why);
    }

    std::vector<partFile> parts(paths.size());
    bool json = false;
    for (size_t k = 0; k < paths.size(); ++k) {
        partFile& part = parts[k];
        part.path = paths[k];
        std::string reason;
        if (part.file->open(part.path, &reason)) {
            const bool isJson = part.file->size() > 0 && part.file->data()[0] == '{';
            if (k == 0)
                json = isJson;
            if (isJson != json)
                reason = std::string("not a ") + (json ? "JSON" : "OBJ") + " part as the first is";
            else if (isJson ? readJsonPart(part, &reason) : readObjPart(part, &reason))
                continue;
        }
        *why = "cannot join '" + part.path + "': " + reason;
        return false;
    }
    if (!fitTogether(parts, why)) {
        *why = "cannot join the parts: " + *why;
        return false;
    }
    std::string reason;
    if (!writeFileAtomically(
            output, false, [&](std::ostream& out) { return writeJoined(out, parts, json); },
            &reason)) {
        *why = "cannot write '" + output + "': " + reason;
        return false;
    }
    return true;
}
