#include "export/featherObj.h"

#include "export/exportText.h"

#include <cctype>
#include <cmath>
#include <cstdio>

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

// Counts of what the file holds so far: OBJ indices run over the whole file.
struct objCounts {
    long vertices = 0;
    long uvs = 0;
};

void writeVertex(std::ostream& out, const MFloatPoint& p) {
    out << "v " << finiteFloatText(p.x) << ' ' << finiteFloatText(p.y) << ' '
        << finiteFloatText(p.z) << '\n';
}

// A polyline of 2 or more points; shorter ones are not lines and are left out.
void writePolyline(std::ostream& out, const MFloatPointArray& points, objCounts& counts) {
    if (points.length() < 2)
        return;
    for (unsigned int i = 0; i < points.length(); ++i)
        writeVertex(out, points[i]);
    out << 'l';
    for (unsigned int i = 0; i < points.length(); ++i)
        out << ' ' << counts.vertices + i + 1;
    out << '\n';
    counts.vertices += points.length();
}

// Faces whose indices all fall inside the mesh's arrays; a mesh with no usable UVs is written
// without texture coordinates.
void writeMesh(std::ostream& out, const featherMeshData& mesh, objCounts& counts) {
    const long points = mesh.points.length();
    const long uvs = mesh.uArray.length() == mesh.vArray.length() ? mesh.uArray.length() : 0;
    const bool withUVs = uvs > 0 && mesh.uvIds.length() == mesh.polygonConnects.length();
    for (unsigned int i = 0; i < mesh.points.length(); ++i)
        writeVertex(out, mesh.points[i]);
    if (withUVs)
        for (long i = 0; i < uvs; ++i)
            out << "vt " << finiteFloatText(mesh.uArray[static_cast<unsigned int>(i)]) << ' '
                << finiteFloatText(mesh.vArray[static_cast<unsigned int>(i)]) << '\n';
    unsigned int corner = 0;
    for (unsigned int f = 0; f < mesh.polygonCounts.length(); ++f) {
        const unsigned int size = static_cast<unsigned int>(std::max(0, mesh.polygonCounts[f]));
        bool valid = size >= 3 && corner + size <= mesh.polygonConnects.length();
        for (unsigned int k = 0; valid && k < size; ++k) {
            const long v = mesh.polygonConnects[corner + k];
            valid = v >= 0 && v < points &&
                    (!withUVs || (mesh.uvIds[corner + k] >= 0 && mesh.uvIds[corner + k] < uvs));
        }
        if (valid) {
            out << 'f';
            for (unsigned int k = 0; k < size; ++k) {
                out << ' ' << counts.vertices + mesh.polygonConnects[corner + k] + 1;
                if (withUVs)
                    out << '/' << counts.uvs + mesh.uvIds[corner + k] + 1;
            }
            out << '\n';
        }
        corner += size;
    }
    counts.vertices += points;
    if (withUVs)
        counts.uvs += uvs;
}

} // namespace

bool writeFeatherObj(std::ostream& out, const std::vector<featherExportNode>& nodes) {
    out << "# quillo feathers, world space\n";
    objCounts counts;
    for (const featherExportNode& node : nodes) {
        if (!node.feathers)
            continue;
        out << "# node " << objCommentText(node.name) << " (" << objCommentText(node.type)
            << "): " << node.feathers->size() << " feathers\n";
        for (size_t f = 0; f < node.feathers->size(); ++f) {
            const featherGeometry& g = (*node.feathers)[f];
            out << "g " << objGroupName(node.name, f) << '\n';
            writePolyline(out, g.rachisPoints, counts);
            for (const auto* side : {&g.leftBarbules, &g.rightBarbules})
                for (const MFloatPointArray& curve : *side)
                    writePolyline(out, curve, counts);
            if (node.outputFeatherMesh) {
                writeMesh(out, g.rachisMesh, counts);
                writeMesh(out, g.barbuleMesh, counts);
            }
        }
    }
    return static_cast<bool>(out);
}
