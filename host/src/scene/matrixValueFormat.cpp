// The text forms of matrices in files: `-type "matrix"` and 16 numbers, row by row (the
// translation in the last row), or "xform" and the channels a transformation is made of.

#include "scene/dataValueFormats.h"
#include "scene/typedValues.h"
#include "scene/valueText.h"

#include "data/matrixData.h"

#include <maya/MEulerRotation.h>
#include <maya/MQuaternion.h>

namespace host {

namespace {

constexpr size_t kXformValues = 37;

bool numbers(const std::vector<std::string>& tokens, size_t pos, size_t count,
             std::vector<double>& out, std::string& error) {
    out.assign(count, 0.0);
    for (size_t i = 0; i < count; ++i) {
        const size_t at = pos + i;
        if (at >= tokens.size()) {
            error =
                "matrix: expected " + std::to_string(count) + " numbers, got " + std::to_string(i);
            return false;
        }
        if (tokens[at] == "yes" || tokens[at] == "no") {
            out[i] = tokens[at] == "yes" ? 1.0 : 0.0;
            continue;
        }
        if (!parseNumberText(tokens[at], out[i])) {
            error = "matrix: expected a number, got '" + tokens[at] + "'";
            return false;
        }
    }
    return true;
}

MMatrix translation(const double* v) {
    MMatrix m;
    m(3, 0) = v[0];
    m(3, 1) = v[1];
    m(3, 2) = v[2];
    return m;
}

// scale, rotate (radians), rotate order, translate, shear, scale pivot, scale pivot translate,
// rotate pivot, rotate pivot translate, rotate axis and joint orient as quaternions, inverse
// scale, and whether that compensates: composed as a joint's matrix within a transform's.
MMatrix composeXform(const std::vector<double>& v) {
    MMatrix S, SH, IS;
    for (int i = 0; i < 3; ++i)
        S(static_cast<unsigned>(i), static_cast<unsigned>(i)) = v[static_cast<size_t>(i)];
    int order = static_cast<int>(v[6]);
    if (order < 0 || order > 5)
        order = 0;
    const MMatrix R =
        MEulerRotation(v[3], v[4], v[5], static_cast<MEulerRotation::RotationOrder>(order))
            .asMatrix();
    const MMatrix T = translation(&v[7]);
    SH(1, 0) = v[10];
    SH(2, 0) = v[11];
    SH(2, 1) = v[12];
    const MMatrix SP = translation(&v[13]), ST = translation(&v[16]), RP = translation(&v[19]),
                  RT = translation(&v[22]);
    const MMatrix RA = MQuaternion(v[25], v[26], v[27], v[28]).normal().asMatrix();
    const MMatrix JO = MQuaternion(v[29], v[30], v[31], v[32]).normal().asMatrix();
    if (v[36] != 0.0)
        for (int i = 0; i < 3; ++i) {
            const double s = v[33 + static_cast<size_t>(i)];
            IS(static_cast<unsigned>(i), static_cast<unsigned>(i)) = s != 0.0 ? 1.0 / s : 1.0;
        }
    return SP.inverse() * S * SH * SP * ST * RP.inverse() * RA * R * RP * RT * JO * IS * T;
}

} // namespace

void registerMatrixFormat() {
    TypedValueFormat format;
    format.typeName = "matrix";
    format.parse = [](const std::vector<std::string>& tokens, size_t& pos, MObject& data,
                      std::string& error) {
        std::vector<double> v;
        if (pos < tokens.size() && tokens[pos] == "xform") {
            if (!numbers(tokens, pos + 1, kXformValues, v, error))
                return false;
            data = makeMatrixData(composeXform(v));
            pos += 1 + kXformValues;
            return true;
        }
        if (!numbers(tokens, pos, 16, v, error))
            return false;
        MMatrix m;
        for (unsigned i = 0; i < 16; ++i)
            m(i / 4, i % 4) = v[i];
        data = makeMatrixData(m);
        pos += 16;
        return true;
    };
    format.format = [](const MObject& data) {
        const MMatrix& m = matrixIn(data);
        std::string text;
        for (unsigned i = 0; i < 16; ++i)
            text += (i ? " " : "") + formatDouble(m(i / 4, i % 4));
        return text;
    };
    format.owns = [](const MObject& data) { return dataAs<MatrixData>(data) != nullptr; };
    registerTypedValueFormat(format);
}

} // namespace host
