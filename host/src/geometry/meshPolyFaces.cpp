#include "geometry/meshPolyFaces.h"

#include "scene/typedValues.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace host {

namespace {

bool parseInt(const std::string& token, int& value) {
    if (token.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    long number = std::strtol(token.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || number < INT_MIN || number > INT_MAX)
        return false;
    value = static_cast<int>(number);
    return true;
}

bool isRecord(const std::string& token) {
    return token == "f" || token == "h" || token == "mu" || token == "mc" || token == "fc";
}

class Reader {
  public:
    Reader(const std::vector<std::string>& tokens, size_t pos, std::string& error)
        : tokens_(tokens), pos_(pos), error_(error) {}

    size_t pos() const { return pos_; }
    bool done() const { return pos_ >= tokens_.size(); }
    const std::string& peek() const { return tokens_[pos_]; }
    void skip() { ++pos_; }

    // An integer named `what`, for the message when it is missing.
    bool integer(const std::string& record, const std::string& what, int& value) {
        if (done())
            return fail("expected " + what + " in '" + record + "', got the end of the data");
        if (!parseInt(tokens_[pos_], value))
            return fail("expected " + what + " (an integer) in '" + record + "', got '" +
                        tokens_[pos_] + "'");
        ++pos_;
        return true;
    }

    // A count followed by that many integers.
    bool list(const std::string& record, const std::string& what, int minimum,
              std::vector<int>& values) {
        int count = 0;
        if (!integer(record, "a count of " + what, count))
            return false;
        if (count < minimum)
            return fail("expected a count of at least " + std::to_string(minimum) + " " + what +
                        " in '" + record + "', got " + std::to_string(count));
        if (static_cast<size_t>(count) > tokens_.size() - pos_)
            return fail("'" + record + " " + std::to_string(count) + "' announces " +
                        std::to_string(count) + " " + what + " but only " +
                        std::to_string(tokens_.size() - pos_) + " values follow");
        values.clear();
        for (int i = 0; i < count; ++i) {
            int value = 0;
            if (!integer(record + " " + std::to_string(count), what, value))
                return false;
            values.push_back(value);
        }
        return true;
    }

    bool fail(const std::string& message) {
        error_ = "polyFaces: " + message + ".";
        return false;
    }

  private:
    const std::vector<std::string>& tokens_;
    size_t pos_;
    std::string& error_;
};

std::string join(const std::vector<int>& values) {
    std::string text;
    for (int value : values)
        text += " " + std::to_string(value);
    return text;
}

} // namespace

MObject makePolyFacesData(PolyFace face) {
    auto data = std::make_shared<PolyFacesData>();
    data->face = std::move(face);
    return MObject(data);
}

const PolyFace* polyFaceIn(const MObject& data) {
    const PolyFacesData* holder = dataAs<PolyFacesData>(data);
    return holder ? &holder->face : nullptr;
}

bool parsePolyFace(const std::vector<std::string>& tokens, size_t& pos, PolyFace& face,
                   std::string& error) {
    Reader in(tokens, pos, error);
    if (in.done())
        return in.fail("expected a face ('f'), got the end of the data");
    if (in.peek() != "f")
        return in.fail("expected a face ('f') to start, got '" + in.peek() + "'");
    PolyFace result;
    while (!in.done() && isRecord(in.peek())) {
        const std::string record = in.peek();
        if (record == "f" && !result.loops.empty())
            break; // the next face
        in.skip();
        if (record == "f" || record == "h") {
            PolyFaceLoop loop;
            if (!in.list(record, "edge ids", 3, loop.edges))
                return false;
            result.loops.push_back(std::move(loop));
            continue;
        }
        PolyFaceLoop& loop = result.loops.back();
        const std::string counted =
            "one per edge of the loop (" + std::to_string(loop.edges.size()) + ")";
        if (record == "fc") {
            std::vector<int> ids;
            if (!in.list(record, "colour ids", 0, ids))
                return false;
            if (ids.size() != loop.edges.size())
                return in.fail("expected " + std::to_string(loop.edges.size()) +
                               " colour ids in 'fc', " + counted + ", got " +
                               std::to_string(ids.size()));
            loop.faceColors = std::move(ids);
            continue;
        }
        int set = 0;
        if (!in.integer(record, "a set index", set))
            return false;
        if (set < 0)
            return in.fail("expected a set index of 0 or more in '" + record + "', got " +
                           std::to_string(set));
        const std::string what = record == "mu" ? "UV ids" : "colour ids";
        std::vector<int> ids;
        if (!in.list(record + " " + std::to_string(set), what, 0, ids))
            return false;
        if (ids.size() != loop.edges.size())
            return in.fail("expected " + std::to_string(loop.edges.size()) + " " + what + " in '" +
                           record + " " + std::to_string(set) + "', " + counted + ", got " +
                           std::to_string(ids.size()));
        for (int id : ids)
            if (id < 0)
                return in.fail("expected " + what + " of 0 or more in '" + record + "', got " +
                               std::to_string(id));
        (record == "mu" ? loop.uvs : loop.colors).emplace_back(set, std::move(ids));
    }
    face = std::move(result);
    pos = in.pos();
    return true;
}

std::string formatPolyFace(const PolyFace& face) {
    std::string text;
    auto line = [&](const std::string& content) {
        text += (text.empty() ? "" : "\n\t\t") + content;
    };
    for (size_t l = 0; l < face.loops.size(); ++l) {
        const PolyFaceLoop& loop = face.loops[l];
        line((l == 0 ? "f " : "h ") + std::to_string(loop.edges.size()) + join(loop.edges));
        for (const auto& [set, ids] : loop.uvs)
            line("mu " + std::to_string(set) + " " + std::to_string(ids.size()) + join(ids));
        for (const auto& [set, ids] : loop.colors)
            line("mc " + std::to_string(set) + " " + std::to_string(ids.size()) + join(ids));
        if (!loop.faceColors.empty())
            line("fc " + std::to_string(loop.faceColors.size()) + join(loop.faceColors));
    }
    return text;
}

void registerPolyFacesFormat() {
    TypedValueFormat format;
    format.typeName = "polyFaces";
    format.parse = [](const std::vector<std::string>& tokens, size_t& pos, MObject& data,
                      std::string& error) {
        PolyFace face;
        if (!parsePolyFace(tokens, pos, face, error))
            return false;
        data = makePolyFacesData(std::move(face));
        return true;
    };
    format.format = [](const MObject& data) {
        const PolyFace* face = polyFaceIn(data);
        return face ? formatPolyFace(*face) : std::string();
    };
    format.owns = [](const MObject& data) { return polyFaceIn(data) != nullptr; };
    registerTypedValueFormat(format);
}

} // namespace host
