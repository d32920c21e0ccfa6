#include "geometry/nurbsSurfaceFormat.h"

#include "geometry/nurbsSurfaceData.h"
#include "scene/typedValues.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace host {

namespace {

class Reader {
  public:
    Reader(const std::vector<std::string>& tokens, size_t pos) : tokens_(tokens), pos_(pos) {}

    size_t pos() const { return pos_; }
    size_t left() const { return tokens_.size() - pos_; }
    const std::string* peek() const { return pos_ < tokens_.size() ? &tokens_[pos_] : nullptr; }
    void skip() { ++pos_; }

    bool integer(const std::string& what, int& value, std::string& error) {
        const std::string* token = peek();
        if (!token)
            return ended(what, error);
        errno = 0;
        char* end = nullptr;
        const long long n = std::strtoll(token->c_str(), &end, 10);
        if (token->empty() || *end != '\0' || errno == ERANGE || n < 0 || n > INT_MAX) {
            error = "expected " + what + " (a whole number), got '" + *token + "'";
            return false;
        }
        value = static_cast<int>(n);
        ++pos_;
        return true;
    }

    bool number(const std::string& what, double& value, std::string& error) {
        const std::string* token = peek();
        if (!token)
            return ended(what, error);
        char* end = nullptr;
        value = std::strtod(token->c_str(), &end);
        if (token->empty() || *end != '\0') {
            error = "expected " + what + " (a number), got '" + *token + "'";
            return false;
        }
        ++pos_;
        return true;
    }

    bool flag(const std::string& what, bool& value, std::string& error) {
        const std::string* token = peek();
        if (!token)
            return ended(what, error);
        if (*token == "yes" || *token == "true" || *token == "on" || *token == "1")
            value = true;
        else if (*token == "no" || *token == "false" || *token == "off" || *token == "0")
            value = false;
        else {
            error = "expected " + what + " (yes or no), got '" + *token + "'";
            return false;
        }
        ++pos_;
        return true;
    }

  private:
    static bool ended(const std::string& what, std::string& error) {
        error = "expected " + what + ", but the data ends there";
        return false;
    }

    const std::vector<std::string>& tokens_;
    size_t pos_;
};

bool readForm(Reader& in, const char* direction, MFnNurbsSurface::Form& form, std::string& error) {
    int code = 0;
    if (!in.integer(std::string("the form in ") + direction, code, error))
        return false;
    if (code > 2) {
        error = std::string("expected the form in ") + direction +
                " to be 0 (open), 1 (closed) or 2 (periodic), got " + std::to_string(code);
        return false;
    }
    form = static_cast<MFnNurbsSurface::Form>(MFnNurbsSurface::kOpen + code);
    return true;
}

bool readKnots(Reader& in, const char* direction, std::vector<double>& knots, std::string& error) {
    int count = 0;
    if (!in.integer(std::string("the knot count in ") + direction, count, error))
        return false;
    if (static_cast<size_t>(count) > in.left()) {
        error = "expected " + std::to_string(count) + " knots in " + direction + ", only " +
                std::to_string(in.left()) + " values follow";
        return false;
    }
    knots.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        if (!in.number(std::string("knot ") + std::to_string(i) + " in " + direction,
                       knots[static_cast<size_t>(i)], error))
            return false;
    return true;
}

// CVs per direction implied by the knot count.
bool cvsFromKnots(const char* direction, const std::vector<double>& knots, int degree, int& count,
                  std::string& error) {
    count = static_cast<int>(knots.size()) - degree + 1;
    if (degree < 1 || count < degree + 1) {
        error = std::string("expected at least ") + std::to_string(2 * degree) + " knots in " +
                direction + " for degree " + std::to_string(degree) + ", got " +
                std::to_string(knots.size());
        return false;
    }
    return true;
}

std::string formatNumber(double value) {
    char text[32];
    for (int precision = 15; precision <= 17; ++precision) {
        std::snprintf(text, sizeof text, "%.*g", precision, value);
        if (std::strtod(text, nullptr) == value)
            break;
    }
    return text;
}

} // namespace

bool parseNurbsSurface(const std::vector<std::string>& tokens, size_t& pos, NurbsSurface& surface,
                       std::string& error) {
    Reader in(tokens, pos);
    NurbsSurface s;
    if (!in.integer("degree in U", s.degreeU, error) ||
        !in.integer("degree in V", s.degreeV, error) || !readForm(in, "U", s.formU, error) ||
        !readForm(in, "V", s.formV, error) || !in.flag("the rational flag", s.rational, error) ||
        !readKnots(in, "U", s.knotsU, error) || !readKnots(in, "V", s.knotsV, error))
        return false;
    // Trim curves are not modelled: the marker is read and the surface used untrimmed.
    if (const std::string* token = in.peek(); token && (*token == "TRIM" || *token == "NOTRIM"))
        in.skip();
    if (!cvsFromKnots("U", s.knotsU, s.degreeU, s.numCVsU, error) ||
        !cvsFromKnots("V", s.knotsV, s.degreeV, s.numCVsV, error))
        return false;

    int count = 0;
    if (!in.integer("the CV count", count, error))
        return false;
    const long long expected = static_cast<long long>(s.numCVsU) * s.numCVsV;
    if (count != expected) {
        error = "expected " + std::to_string(expected) + " CVs (" + std::to_string(s.numCVsU) +
                " x " + std::to_string(s.numCVsV) + " from the knot counts), the count says " +
                std::to_string(count);
        return false;
    }
    const size_t size = s.rational ? 4 : 3;
    if (static_cast<size_t>(count) * size > in.left()) {
        error = "expected " + std::to_string(count) + " CVs of " + std::to_string(size) +
                " numbers (" + std::to_string(static_cast<size_t>(count) * size) +
                " values), only " + std::to_string(in.left()) + " values follow";
        return false;
    }
    s.cvs.resize(static_cast<size_t>(count));
    const char* names[] = {"x", "y", "z", "w"};
    for (int i = 0; i < count; ++i) {
        MPoint& p = s.cvs[static_cast<size_t>(i)];
        for (size_t k = 0; k < size; ++k)
            if (!in.number(std::string(names[k]) + " of CV " + std::to_string(i),
                           p[static_cast<unsigned int>(k)], error))
                return false;
    }
    if (!validateNurbsSurface(s, error))
        return false;
    surface = std::move(s);
    pos = in.pos();
    return true;
}

std::string formatNurbsSurface(const NurbsSurface& s) {
    std::string text = std::to_string(s.degreeU) + " " + std::to_string(s.degreeV) + " " +
                       std::to_string(s.formU - MFnNurbsSurface::kOpen) + " " +
                       std::to_string(s.formV - MFnNurbsSurface::kOpen) + " " +
                       (s.rational ? "yes" : "no");
    for (const std::vector<double>* knots : {&s.knotsU, &s.knotsV}) {
        text += "\n\t\t" + std::to_string(knots->size());
        for (double k : *knots)
            text += " " + formatNumber(k);
    }
    text += "\n\t\t\n\t\t" + std::to_string(s.cvs.size());
    for (const MPoint& p : s.cvs) {
        text += "\n\t\t" + formatNumber(p.x) + " " + formatNumber(p.y) + " " + formatNumber(p.z);
        if (s.rational)
            text += " " + formatNumber(p.w);
    }
    return text;
}

void registerNurbsSurfaceFormat() {
    TypedValueFormat format;
    format.typeName = "nurbsSurface";
    format.parse = [](const std::vector<std::string>& tokens, size_t& pos, MObject& data,
                      std::string& error) {
        NurbsSurface surface;
        if (!parseNurbsSurface(tokens, pos, surface, error)) {
            error = "nurbsSurface: " + error;
            return false;
        }
        data = makeNurbsSurfaceData(std::move(surface));
        return true;
    };
    format.format = [](const MObject& data) {
        const NurbsSurface* surface = nurbsSurfaceIn(data);
        return surface ? formatNurbsSurface(*surface) : std::string();
    };
    format.owns = [](const MObject& data) { return nurbsSurfaceIn(data) != nullptr; };
    registerTypedValueFormat(format);
}

} // namespace host
