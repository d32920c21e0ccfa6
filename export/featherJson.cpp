#include "export/featherJson.h"

#include <cmath>
#include <cstdio>

std::string jsonFloat(float value) {
    if (!std::isfinite(value))
        return "null";
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

std::string jsonDouble(double value) {
    if (!std::isfinite(value))
        return "null";
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        default:
            if (byte < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", byte);
                out += escape;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

namespace {

void writeFloats(std::ostream& out, const MFloatArray& values) {
    out << '[';
    for (unsigned int i = 0; i < values.length(); ++i)
        out << (i ? "," : "") << jsonFloat(values[i]);
    out << ']';
}

void writeInts(std::ostream& out, const MIntArray& values) {
    out << '[';
    for (unsigned int i = 0; i < values.length(); ++i)
        out << (i ? "," : "") << values[i];
    out << ']';
}

// Points as [x, y, z]: w is always 1 for the feathers' points and is left out.
void writePoints(std::ostream& out, const MFloatPointArray& points) {
    out << '[';
    for (unsigned int i = 0; i < points.length(); ++i)
        out << (i ? "," : "") << '[' << jsonFloat(points[i].x) << ',' << jsonFloat(points[i].y)
            << ',' << jsonFloat(points[i].z) << ']';
    out << ']';
}

void writeVectors(std::ostream& out, const MFloatVectorArray& vectors) {
    out << '[';
    for (unsigned int i = 0; i < vectors.length(); ++i)
        out << (i ? "," : "") << '[' << jsonFloat(vectors[i].x) << ',' << jsonFloat(vectors[i].y)
            << ',' << jsonFloat(vectors[i].z) << ']';
    out << ']';
}

void writeBox(std::ostream& out, const MBoundingBox& box) {
    const MPoint low = box.min();
    const MPoint high = box.max();
    out << "{\"min\":[" << jsonDouble(low.x) << ',' << jsonDouble(low.y) << ',' << jsonDouble(low.z)
        << "],\"max\":[" << jsonDouble(high.x) << ',' << jsonDouble(high.y) << ','
        << jsonDouble(high.z) << "]}";
}

void writeMesh(std::ostream& out, const featherMeshData& mesh) {
    out << "{\"polygonCounts\":";
    writeInts(out, mesh.polygonCounts);
    out << ",\n        \"polygonConnects\":";
    writeInts(out, mesh.polygonConnects);
    out << ",\n        \"points\":";
    writePoints(out, mesh.points);
    out << ",\n        \"u\":";
    writeFloats(out, mesh.uArray);
    out << ",\n        \"v\":";
    writeFloats(out, mesh.vArray);
    out << ",\n        \"uvIds\":";
    writeInts(out, mesh.uvIds);
    out << '}';
}

void writeSide(std::ostream& out, const std::vector<MFloatPointArray>& curves,
               const std::vector<MFloatVectorArray>& normals, const MFloatArray& positions,
               const MFloatArray& lengths, const MFloatArray& thickness) {
    out << "{\"curves\":[";
    for (size_t i = 0; i < curves.size(); ++i) {
        out << (i ? ",\n          " : "\n          ") << "{\"points\":";
        writePoints(out, curves[i]);
        out << ",\"normals\":";
        writeVectors(out, i < normals.size() ? normals[i] : MFloatVectorArray());
        out << '}';
    }
    out << "],\n        \"positions\":";
    writeFloats(out, positions);
    out << ",\n        \"lengths\":";
    writeFloats(out, lengths);
    out << ",\n        \"thickness\":";
    writeFloats(out, thickness);
    out << '}';
}

} // namespace

void writeFeatherGeometryJson(std::ostream& out, const featherGeometry& feather) {
    const MColor& c = feather.mainColor;
    out << "{\"name\":" << jsonString(feather.name.asChar()) << ",\"seed\":" << feather.seed
        << ",\"u\":" << jsonFloat(feather.u) << ",\"v\":" << jsonFloat(feather.v)
        << ",\n      \"mainColor\":[" << jsonFloat(c.r) << ',' << jsonFloat(c.g) << ','
        << jsonFloat(c.b) << ',' << jsonFloat(c.a) << "],\n      \"rachis\":{\"points\":";
    writePoints(out, feather.rachisPoints);
    out << ",\n        \"normals\":";
    writeVectors(out, feather.rachisNormals);
    out << ",\n        \"thickness\":";
    writeFloats(out, feather.rachisThickness);
    out << ",\n        \"length\":" << jsonFloat(feather.rachisLength) << "},\n      \"left\":";
    writeSide(out, feather.leftBarbules, feather.leftNormals, feather.leftPositions,
              feather.leftLengths, feather.leftThickness);
    out << ",\n      \"right\":";
    writeSide(out, feather.rightBarbules, feather.rightNormals, feather.rightPositions,
              feather.rightLengths, feather.rightThickness);
    out << ",\n      \"barbuleThickness\":";
    writeFloats(out, feather.barbuleThickness);
    out << ",\n      \"proxyBox\":";
    writeBox(out, feather.proxyBox);
    out << ",\n      \"meshBox\":";
    writeBox(out, feather.meshBox);
    // Meshes only when built: an empty mesh is left out rather than written empty.
    if (feather.rachisMesh.points.length() > 0) {
        out << ",\n      \"rachisMesh\":";
        writeMesh(out, feather.rachisMesh);
    }
    if (feather.barbuleMesh.points.length() > 0) {
        out << ",\n      \"barbuleMesh\":";
        writeMesh(out, feather.barbuleMesh);
    }
    out << '}';
}

bool writeFeatherJson(std::ostream& out, const std::vector<featherJsonNode>& nodes) {
    out << "{\"format\":\"quillo-feathers\",\"version\":" << featherJsonVersion
        << ",\"space\":\"world\",\n\"nodes\":[";
    for (size_t n = 0; n < nodes.size(); ++n) {
        const featherJsonNode& node = nodes[n];
        out << (n ? ",\n" : "\n") << "  {\"name\":" << jsonString(node.name)
            << ",\"type\":" << jsonString(node.type) << ",\"feathers\":[";
        if (node.feathers)
            for (size_t f = 0; f < node.feathers->size(); ++f) {
                out << (f ? ",\n    " : "\n    ");
                writeFeatherGeometryJson(out, (*node.feathers)[f]);
            }
        out << "]}";
    }
    out << "\n]}\n";
    return static_cast<bool>(out);
}
