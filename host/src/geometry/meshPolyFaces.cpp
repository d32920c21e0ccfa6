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

void encodePolyFace(const PolyFace& face, std::vector<int>& ints) {
    auto list = [&](const std::vector<int>& values) {
        ints.push_back(static_cast<int>(values.size()));
        ints.insert(ints.end(), values.begin(), values.end());
    };
    auto sets = [&](const std::vector<std::pair<int, std::vector<int>>>& perSet) {
        ints.push_back(static_cast<int>(perSet.size()));
        for (const auto& [set, ids] : perSet) {
            ints.push_back(set);
            list(ids);
        }
    };
    ints.push_back(static_cast<int>(face.loops.size()));
    for (const PolyFaceLoop& loop : face.loops) {
        list(loop.edges);
        sets(loop.uvs);
        sets(loop.colors);
        list(loop.faceColors);
    }
}

PolyFace decodePolyFace(const int* ints, size_t count) {
    size_t at = 0;
    auto next = [&] { return at < count ? ints[at++] : 0; };
    auto list = [&](std::vector<int>& values) {
        const int n = next();
        for (int i = 0; i < n && at < count; ++i)
            values.push_back(ints[at++]);
    };
    auto sets = [&](std::vector<std::pair<int, std::vector<int>>>& perSet) {
        const int n = next();
        for (int i = 0; i < n && at < count; ++i) {
            perSet.emplace_back(next(), std::vector<int>());
            list(perSet.back().second);
        }
    };
    PolyFace face;
    const int loops = next();
    for (int i = 0; i < loops && at < count; ++i) {
        face.loops.emplace_back();
        PolyFaceLoop& loop = face.loops.back();
        list(loop.edges);
        sets(loop.uvs);
        sets(loop.colors);
        list(loop.faceColors);
    }
    return face;
}

namespace {

class PolyFacesCodec : public PackedDataCodec {
  public:
    bool encode(const MObject& data, std::vector<int>& ints) const override {
        const PolyFace* face = polyFaceIn(data);
        if (face)
            encodePolyFace(*face, ints);
        return face != nullptr;
    }
    MObject decode(const int* ints, size_t count) const override {
        return makePolyFacesData(decodePolyFace(ints, count));
    }
};

} // namespace

const PackedDataCodec& polyFacesCodec() {
    static const PolyFacesCodec codec;
    return codec;
}

void registerPolyFacesFormat() {
    TypedValueFormat format;
    format.packing = &polyFacesCodec();
    format.firstWord = "f";
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
