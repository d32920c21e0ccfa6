// The text form of point arrays in files: `-type "pointArray"`, the point count, then x y z w
// for each point.

#include "scene/dataValueFormats.h"
#include "scene/typedValues.h"
#include "scene/valueText.h"

#include "data/pointArrayData.h"

namespace host {

void registerPointArrayFormat() {
    TypedValueFormat format;
    format.typeName = "pointArray";
    format.parse = [](const std::vector<std::string>& tokens, size_t& pos, MObject& data,
                      std::string& error) {
        int count = 0;
        if (pos >= tokens.size() || !parseIntText(tokens[pos], count) || count < 0) {
            error = "pointArray: expected the number of points, got " +
                    (pos < tokens.size() ? "'" + tokens[pos] + "'" : std::string("the end"));
            return false;
        }
        const size_t needed = static_cast<size_t>(count) * 4;
        if (needed > tokens.size() - pos - 1) {
            error = "pointArray: expected " + std::to_string(needed) + " numbers for " +
                    std::to_string(count) + " points, got " +
                    std::to_string(tokens.size() - pos - 1);
            return false;
        }
        std::vector<MPoint> points(static_cast<size_t>(count));
        for (size_t i = 0; i < needed; ++i) {
            double value = 0.0;
            if (!parseNumberText(tokens[pos + 1 + i], value)) {
                error = "pointArray: expected a number, got '" + tokens[pos + 1 + i] + "'";
                return false;
            }
            MPoint& p = points[i / 4];
            (i % 4 == 0 ? p.x : i % 4 == 1 ? p.y : i % 4 == 2 ? p.z : p.w) = value;
        }
        data = makePointArrayData(std::move(points));
        pos += 1 + needed;
        return true;
    };
    format.format = [](const MObject& data) {
        const std::vector<MPoint>* points = pointsIn(data);
        std::string text = std::to_string(points ? points->size() : 0);
        if (points)
            for (const MPoint& p : *points)
                text += " " + formatDouble(p.x) + " " + formatDouble(p.y) + " " +
                        formatDouble(p.z) + " " + formatDouble(p.w);
        return text;
    };
    format.owns = [](const MObject& data) { return pointsIn(data) != nullptr; };
    registerTypedValueFormat(format);
}

} // namespace host
