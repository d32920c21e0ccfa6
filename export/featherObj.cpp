#include "export/featherObj.h"

#include "export/exportText.h"
#include "export/featherStream.h"

#include <algorithm>
#include <cctype>

const char* const objFileHeader = "# quillo feathers, world space";

std::string objGroupName(const std::string& nodeName, size_t index) {
    std::string name;
    for (const char c : nodeName)
        name += std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.'
                    ? c
                    : '_';
    return name + "_feather" + std::to_string(index);
}

namespace {

// Comment text on one line: a control character in a name (a line break above all) would end
// the comment and turn the rest of the name into statements.
std::string objCommentText(const std::string& text) {
    std::string line = text;
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '_';
    return line;
}

void putVertex(reservedText& text, const MFloatPoint& p) {
    text.put("v ", 2);
    text.finiteFloat(p.x);
    text.put(' ');
    text.finiteFloat(p.y);
    text.put(' ');
    text.finiteFloat(p.z);
    text.put('\n');
}

// A polyline of 2 or more points, as the chain of its segments: each "l -2 -1" right after the
// vertex it ends at. Importers that take only the first segment of a longer "l" (Blender 3.4)
// get every point this way. Shorter ones are not lines and are left out.
void appendPolyline(textBuffer& out, const MFloatPointArray& points) {
    if (points.length() < 2)
        return;
    reservedText text(out, 3 * points.length(), 13 * points.length());
    putVertex(text, points[0]);
    for (unsigned int i = 1; i < points.length(); ++i) {
        putVertex(text, points[i]);
        text.put("l -2 -1\n", 8);
    }
}

// Faces whose indices all fall inside the mesh's arrays, after all of its vertices and UVs; a
// mesh with no usable UVs is written without texture coordinates.
void appendMesh(textBuffer& out, const featherMeshData& mesh) {
    const long long points = mesh.points.length();
    const long long uvs = mesh.uArray.length() == mesh.vArray.length() ? mesh.uArray.length() : 0;
    const bool withUVs = uvs > 0 && mesh.uvIds.length() == mesh.polygonConnects.length();
    {
        reservedText text(out, 3 * mesh.points.length() + 2 * uvs,
                          5 * mesh.points.length() + 5 * uvs);
        for (unsigned int i = 0; i < mesh.points.length(); ++i)
            putVertex(text, mesh.points[i]);
        for (unsigned int i = 0; withUVs && i < uvs; ++i) {
            text.put("vt ", 3);
            text.finiteFloat(mesh.uArray[i]);
            text.put(' ');
            text.finiteFloat(mesh.vArray[i]);
            text.put('\n');
        }
    }
    unsigned int corner = 0;
    for (unsigned int f = 0; f < mesh.polygonCounts.length(); ++f) {
        const unsigned int size = static_cast<unsigned int>(std::max(0, mesh.polygonCounts[f]));
        bool valid = size >= 3 && corner + size <= mesh.polygonConnects.length();
        for (unsigned int k = 0; valid && k < size; ++k) {
            const long long v = mesh.polygonConnects[corner + k];
            valid = v >= 0 && v < points &&
                    (!withUVs || (mesh.uvIds[corner + k] >= 0 && mesh.uvIds[corner + k] < uvs));
        }
        if (valid) {
            out.append('f');
            for (unsigned int k = 0; k < size; ++k) {
                out.append(' ');
                appendInteger(out, mesh.polygonConnects[corner + k] - points);
                if (withUVs) {
                    out.append('/');
                    appendInteger(out, mesh.uvIds[corner + k] - uvs);
                }
            }
            out.append('\n');
        }
        corner += size;
    }
}

} // namespace

std::string objNodeLine(const std::string& name, const std::string& type) {
    return "# node " + objCommentText(name) + " (" + objCommentText(type) + ")";
}

void featherObjFormat::fileStart(textBuffer& out, const exportPart& part) {
    part_ = !part.whole();
    out.append(objFileHeader);
    out.append(partLabel(part));
    out.append('\n');
}

void featherObjFormat::nodeStart(textBuffer& out, const featherExportNode& node, size_t,
                                 const slotRange& slots, size_t total) {
    out.append(objNodeLine(node.name, node.type));
    if (part_) {
        out.append(": slots ");
        appendInteger(out, static_cast<long long>(slots.first));
        out.append(" to ");
        appendInteger(out, static_cast<long long>(slots.end));
        out.append(" of ");
        appendInteger(out, static_cast<long long>(total));
    }
    out.append('\n');
}

void featherObjFormat::feather(textBuffer& out, const featherExportNode& node, size_t slot,
                               const featherGeometry& g, unsigned int) {
    const std::string name = objGroupName(node.name, slot);
    out.append("o ", 2);
    out.append(name);
    out.append("\ng ", 3);
    out.append(name);
    out.append('\n');
    appendPolyline(out, g.rachisPoints);
    for (const auto* side : {&g.leftBarbules, &g.rightBarbules})
        for (const MFloatPointArray& curve : *side)
            appendPolyline(out, curve);
    if (node.outputFeatherMesh) {
        appendMesh(out, g.rachisMesh);
        appendMesh(out, g.barbuleMesh);
    }
}

bool writeFeatherObj(std::ostream& out, const std::vector<featherExportNode>& nodes) {
    featherObjFormat format;
    return streamFeathers(out, format, nodes, exportPart());
}
