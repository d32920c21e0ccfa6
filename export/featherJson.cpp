#include "export/featherJson.h"

#include "export/exportText.h"
#include "export/featherStream.h"
#include "export/jsonText.h"

#include <cstring>

std::string jsonFloat(float value) {
    textBuffer text;
    appendJsonFloat(text, value);
    return text.str();
}

std::string jsonDouble(double value) {
    textBuffer text;
    appendJsonDouble(text, value);
    return text.str();
}

std::string jsonString(const std::string& text) {
    textBuffer quoted;
    appendJsonString(quoted, text);
    return quoted.str();
}

namespace {

void appendFloats(textBuffer& out, const MFloatArray& values) {
    reservedText text(out, values.length(), values.length() + 2);
    text.put('[');
    for (unsigned int i = 0; i < values.length(); ++i) {
        if (i)
            text.put(',');
        text.jsonNumber(values[i]);
    }
    text.put(']');
}

void appendInts(textBuffer& out, const MIntArray& values) {
    reservedText text(out, values.length(), values.length() + 2);
    text.put('[');
    for (unsigned int i = 0; i < values.length(); ++i) {
        if (i)
            text.put(',');
        text.number(values[i]);
    }
    text.put(']');
}

// Points as [x, y, z]: w is always 1 for the feathers' points and is left out.
template <typename Array> void appendTriples(textBuffer& out, const Array& values) {
    const size_t count = values.length();
    reservedText text(out, 3 * count, 5 * count + 2);
    text.put('[');
    for (unsigned int i = 0; i < count; ++i) {
        text.put(i ? ",[" : "[", i ? 2 : 1);
        text.jsonNumber(values[i].x);
        text.put(',');
        text.jsonNumber(values[i].y);
        text.put(',');
        text.jsonNumber(values[i].z);
        text.put(']');
    }
    text.put(']');
}

void appendBox(textBuffer& out, const MBoundingBox& box) {
    const MPoint low = box.min();
    const MPoint high = box.max();
    out.append("{\"min\":[");
    appendJsonDouble(out, low.x);
    out.append(',');
    appendJsonDouble(out, low.y);
    out.append(',');
    appendJsonDouble(out, low.z);
    out.append("],\"max\":[");
    appendJsonDouble(out, high.x);
    out.append(',');
    appendJsonDouble(out, high.y);
    out.append(',');
    appendJsonDouble(out, high.z);
    out.append("]}");
}

void appendMesh(textBuffer& out, const featherMeshData& mesh) {
    out.append("{\"polygonCounts\":");
    appendInts(out, mesh.polygonCounts);
    out.append(",\n        \"polygonConnects\":");
    appendInts(out, mesh.polygonConnects);
    out.append(",\n        \"points\":");
    appendTriples(out, mesh.points);
    out.append(",\n        \"u\":");
    appendFloats(out, mesh.uArray);
    out.append(",\n        \"v\":");
    appendFloats(out, mesh.vArray);
    out.append(",\n        \"uvIds\":");
    appendInts(out, mesh.uvIds);
    out.append('}');
}

void appendSide(textBuffer& out, const std::vector<MFloatPointArray>& curves,
                const std::vector<MFloatVectorArray>& normals, const MFloatArray& positions,
                const MFloatArray& lengths, const MFloatArray& thickness) {
    static const MFloatVectorArray none;
    out.append("{\"curves\":[");
    for (size_t i = 0; i < curves.size(); ++i) {
        out.append(i ? ",\n          {\"points\":" : "\n          {\"points\":");
        appendTriples(out, curves[i]);
        out.append(",\"normals\":");
        appendTriples(out, i < normals.size() ? normals[i] : none);
        out.append('}');
    }
    out.append("],\n        \"positions\":");
    appendFloats(out, positions);
    out.append(",\n        \"lengths\":");
    appendFloats(out, lengths);
    out.append(",\n        \"thickness\":");
    appendFloats(out, thickness);
    out.append('}');
}

void appendSlots(textBuffer& out, size_t first, size_t end, size_t total) {
    out.append('[');
    appendInteger(out, static_cast<long long>(first));
    out.append(',');
    appendInteger(out, static_cast<long long>(end));
    out.append(',');
    appendInteger(out, static_cast<long long>(total));
    out.append(']');
}

} // namespace

void appendFeatherJson(textBuffer& out, const featherGeometry& feather) {
    const MColor& c = feather.mainColor;
    out.append("{\"name\":");
    const char* name = feather.name.asChar();
    appendJsonString(out, name, std::strlen(name));
    out.append(",\"seed\":");
    appendInteger(out, feather.seed);
    out.append(",\"u\":");
    appendJsonFloat(out, feather.u);
    out.append(",\"v\":");
    appendJsonFloat(out, feather.v);
    out.append(",\n      \"mainColor\":[");
    appendJsonFloat(out, c.r);
    out.append(',');
    appendJsonFloat(out, c.g);
    out.append(',');
    appendJsonFloat(out, c.b);
    out.append(',');
    appendJsonFloat(out, c.a);
    out.append("],\n      \"rachis\":{\"points\":");
    appendTriples(out, feather.rachisPoints);
    out.append(",\n        \"normals\":");
    appendTriples(out, feather.rachisNormals);
    out.append(",\n        \"thickness\":");
    appendFloats(out, feather.rachisThickness);
    out.append(",\n        \"length\":");
    appendJsonFloat(out, feather.rachisLength);
    out.append("},\n      \"left\":");
    appendSide(out, feather.leftBarbules, feather.leftNormals, feather.leftPositions,
               feather.leftLengths, feather.leftThickness);
    out.append(",\n      \"right\":");
    appendSide(out, feather.rightBarbules, feather.rightNormals, feather.rightPositions,
               feather.rightLengths, feather.rightThickness);
    out.append(",\n      \"barbuleThickness\":");
    appendFloats(out, feather.barbuleThickness);
    out.append(",\n      \"proxyBox\":");
    appendBox(out, feather.proxyBox);
    out.append(",\n      \"meshBox\":");
    appendBox(out, feather.meshBox);
    // Meshes only when built: an empty mesh is left out rather than written empty.
    if (feather.rachisMesh.points.length() > 0) {
        out.append(",\n      \"rachisMesh\":");
        appendMesh(out, feather.rachisMesh);
    }
    if (feather.barbuleMesh.points.length() > 0) {
        out.append(",\n      \"barbuleMesh\":");
        appendMesh(out, feather.barbuleMesh);
    }
    out.append('}');
}

void writeFeatherGeometryJson(std::ostream& out, const featherGeometry& feather) {
    textBuffer text;
    appendFeatherJson(text, feather);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void featherJsonFormat::fileStart(textBuffer& out, const exportPart& part) {
    part_ = !part.whole();
    out.append("{\"format\":\"quillo-feathers\",\"version\":");
    appendInteger(out, featherJsonVersion);
    out.append(",\"space\":\"world\",");
    if (part_) {
        out.append("\"part\":");
        out.append('[');
        appendInteger(out, part.index);
        out.append(',');
        appendInteger(out, part.count);
        out.append("],");
    }
    out.append("\n\"nodes\":[");
}

void featherJsonFormat::nodeStart(textBuffer& out, const featherExportNode& node, size_t position,
                                  const slotRange& slots, size_t total) {
    out.append(position ? ",\n  {\"name\":" : "\n  {\"name\":");
    appendJsonString(out, node.name);
    out.append(",\"type\":");
    appendJsonString(out, node.type);
    if (part_) {
        out.append(",\"slots\":");
        appendSlots(out, slots.first, slots.end, total);
    }
    out.append(",\"feathers\":[");
}

void featherJsonFormat::featherSeparator(textBuffer& out, bool first) {
    out.append(first ? "\n    " : ",\n    ");
}

void featherJsonFormat::feather(textBuffer& out, const featherExportNode&, size_t,
                                const featherGeometry& feather, unsigned int) {
    appendFeatherJson(out, feather);
}

void featherJsonFormat::nodeEnd(textBuffer& out, const featherExportNode&, size_t) {
    out.append("]}");
}

void featherJsonFormat::fileEnd(textBuffer& out) {
    out.append("\n]}\n");
}

bool writeFeatherJson(std::ostream& out, const std::vector<featherJsonNode>& nodes) {
    std::vector<featherExportNode> entries;
    for (const featherJsonNode& node : nodes) {
        featherExportNode entry;
        entry.name = node.name;
        entry.type = node.type;
        entry.feathers = node.feathers;
        entries.push_back(entry);
    }
    featherJsonFormat format;
    return streamFeathers(out, format, entries, exportPart());
}
