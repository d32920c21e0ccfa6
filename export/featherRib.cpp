#include "export/featherRib.h"

#include "export/exportText.h"

#include "feather/rachis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

std::string ribString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out + "\"";
}

namespace {

bool isBlank(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

// A user's RIB text on lines of its own; blank text writes nothing.
void writeUserRib(std::ostream& out, const std::string& text) {
    if (isBlank(text))
        return;
    out << text;
    if (text.back() != '\n')
        out << '\n';
}

// The curves of one Curves primitive, gathered first because RIB wants the vertex counts
// before the data. Per curve: its points, normals and widths, s along it and one t.
struct curveSet {
    std::vector<int> pointCounts;
    std::vector<MFloatPoint> points;
    std::vector<MFloatVector> normals;
    std::vector<float> widths;
    std::vector<float> s;
    std::vector<float> t;
};

template <typename Array> float entryOr(const Array& values, unsigned int i, float fallback) {
    if (values.length() == 0)
        return fallback;
    return values[std::min(i, values.length() - 1)];
}

// Adds one curve; fewer than 2 points cannot make a curve and are left out.
void addCurve(curveSet& set, const MFloatPointArray& points, const MFloatVectorArray* normals,
              const MFloatVector& fallbackNormal, float t,
              const std::function<float(unsigned int)>& width) {
    const unsigned int count = points.length();
    if (count < 2)
        return;
    set.pointCounts.push_back(static_cast<int>(count));
    for (unsigned int j = 0; j < count; ++j) {
        set.points.push_back(points[j]);
        set.normals.push_back(normals && normals->length() == count ? (*normals)[j]
                                                                    : fallbackNormal);
        set.widths.push_back(width(j));
        set.s.push_back(static_cast<float>(j) / static_cast<float>(count - 1));
    }
    set.t.push_back(t);
}

void writeFloatList(std::ostream& out, const std::vector<float>& values) {
    out << '[';
    for (size_t i = 0; i < values.size(); ++i)
        out << (i ? " " : "") << finiteFloatText(values[i]);
    out << ']';
}

template <typename Triple> void writeTriples(std::ostream& out, const std::vector<Triple>& values) {
    out << '[';
    for (size_t i = 0; i < values.size(); ++i)
        out << (i ? " " : "") << finiteFloatText(values[i].x) << ' ' << finiteFloatText(values[i].y)
            << ' ' << finiteFloatText(values[i].z);
    out << ']';
}

// Cubic curves are uniform Catmull-Rom with the end points doubled, so that each curve passes
// through all of its points and has exactly one varying value per point, as linear ones do.
void writeCurves(std::ostream& out, const curveSet& set, bool cubic, const featherGeometry& g,
                 const ribSettings& settings) {
    if (set.pointCounts.empty())
        return;
    const int extra = cubic ? 2 : 0;
    out << "Curves " << (cubic ? "\"cubic\"" : "\"linear\"") << " [";
    for (size_t c = 0; c < set.pointCounts.size(); ++c)
        out << (c ? " " : "") << set.pointCounts[c] + extra;
    out << "] \"nonperiodic\"\n  \"P\" [";
    size_t first = 0;
    bool separate = false;
    const auto writePoint = [&](const MFloatPoint& p) {
        out << (separate ? " " : "") << finiteFloatText(p.x) << ' ' << finiteFloatText(p.y) << ' '
            << finiteFloatText(p.z);
        separate = true;
    };
    for (size_t c = 0; c < set.pointCounts.size(); ++c) {
        const size_t count = static_cast<size_t>(set.pointCounts[c]);
        if (cubic)
            writePoint(set.points[first]);
        for (size_t j = 0; j < count; ++j)
            writePoint(set.points[first + j]);
        if (cubic)
            writePoint(set.points[first + count - 1]);
        first += count;
    }
    out << "]\n  \"varying float width\" ";
    writeFloatList(out, set.widths);
    if (settings.exportBarbuleUV) {
        out << "\n  \"varying float s\" ";
        writeFloatList(out, set.s);
        out << "\n  \"uniform float t\" ";
        writeFloatList(out, set.t);
    }
    if (settings.exportNormal) {
        out << "\n  \"varying normal N\" ";
        writeTriples(out, set.normals);
    }
    if (settings.exportSurfaceUV)
        out << "\n  \"constant float surfaceU\" [" << finiteFloatText(g.u)
            << "] \"constant float surfaceV\" [" << finiteFloatText(g.v) << ']';
    out << '\n';
}

// Where barbule i of a side of `count` leaves the rachis: the build's position when it kept
// them (0 to 1 on the left, 1 to 2 on the right), else spread evenly over the side.
float barbuleT(const MFloatArray& positions, unsigned int i, size_t count, float sideStart) {
    if (positions.length() == count)
        return positions[i];
    return sideStart + (count > 1 ? static_cast<float>(i) / static_cast<float>(count - 1) : 0.0f);
}

void addSide(curveSet& set, const featherGeometry& g, const std::vector<MFloatPointArray>& curves,
             const std::vector<MFloatVectorArray>& normals, const MFloatArray& positions,
             const MFloatArray& thickness, float sideStart, const MFloatVector& fallbackNormal) {
    for (size_t i = 0; i < curves.size(); ++i) {
        const unsigned int index = static_cast<unsigned int>(i);
        const float factor = thickness.length() == curves.size() ? thickness[index] : 1.0f;
        addCurve(set, curves[i], i < normals.size() ? &normals[i] : nullptr, fallbackNormal,
                 barbuleT(positions, index, curves.size(), sideStart),
                 [&](unsigned int j) { return factor * entryOr(g.barbuleThickness, j, 1.0f); });
    }
}

MFloatVector fallbackNormalOf(const featherGeometry& g) {
    return g.rachisNormals.length() > 0 ? g.rachisNormals[0] : MFloatVector(0.0f, 1.0f, 0.0f);
}

// The rachis tube: the build's when it made one, else one made here with the node's sides.
featherMeshData rachisTube(const featherExportNode& node, const featherGeometry& g) {
    if (g.rachisMesh.points.length() > 0)
        return g.rachisMesh;
    featherGeometry tube;
    tube.rachisPoints = g.rachisPoints;
    tube.rachisThickness = g.rachisThickness;
    buildRachisMesh(tube, node.rachisThick, std::max(3, node.rachisSides));
    return tube.rachisMesh;
}

void writeSubdivisionMesh(std::ostream& out, const featherMeshData& mesh,
                          const ribSettings& settings) {
    out << "SubdivisionMesh \"catmull-clark\" [";
    for (unsigned int f = 0; f < mesh.polygonCounts.length(); ++f)
        out << (f ? " " : "") << mesh.polygonCounts[f];
    out << "]\n  [";
    for (unsigned int k = 0; k < mesh.polygonConnects.length(); ++k)
        out << (k ? " " : "") << mesh.polygonConnects[k];
    // The tube is open at both ends: its boundary is kept sharp rather than shrunk.
    out << "]\n  [\"interpolateboundary\"] [0 0] [] []\n  \"P\" [";
    for (unsigned int i = 0; i < mesh.points.length(); ++i)
        out << (i ? " " : "") << finiteFloatText(mesh.points[i].x) << ' '
            << finiteFloatText(mesh.points[i].y) << ' ' << finiteFloatText(mesh.points[i].z);
    out << ']';
    const bool haveUVs = mesh.uvIds.length() == mesh.polygonConnects.length() &&
                         mesh.uArray.length() > 0 && mesh.uArray.length() == mesh.vArray.length();
    if (settings.exportBarbuleUV && haveUVs) {
        std::vector<float> s, t;
        for (unsigned int k = 0; k < mesh.uvIds.length(); ++k) {
            const unsigned int id = static_cast<unsigned int>(
                std::clamp(mesh.uvIds[k], 0, static_cast<int>(mesh.uArray.length()) - 1));
            s.push_back(mesh.uArray[id]);
            t.push_back(mesh.vArray[id]);
        }
        out << "\n  \"facevarying float s\" ";
        writeFloatList(out, s);
        out << "\n  \"facevarying float t\" ";
        writeFloatList(out, t);
    }
    out << '\n';
}

void writeFeatherBlocks(std::ostream& out, const featherExportNode& node, const featherGeometry& g,
                        size_t index, const ribSettings& settings) {
    const bool cubic = node.curveType != linearCurveType;
    const std::string id = node.name + ".feather" + std::to_string(index);
    const MFloatVector fallbackNormal = fallbackNormalOf(g);

    curveSet barbules;
    addSide(barbules, g, g.leftBarbules, g.leftNormals, g.leftPositions, g.leftThickness, 0.0f,
            fallbackNormal);
    addSide(barbules, g, g.rightBarbules, g.rightNormals, g.rightPositions, g.rightThickness, 1.0f,
            fallbackNormal);
    curveSet rachis;
    if (node.rachisRenderAs == rachisAsCurve)
        addCurve(rachis, g.rachisPoints, &g.rachisNormals, fallbackNormal, 1.0f,
                 [&](unsigned int k) {
                     return 2.0f * entryOr(g.rachisThickness, k, 1.0f) * node.rachisThick;
                 });

    if (!barbules.pointCounts.empty() || !rachis.pointCounts.empty()) {
        out << "AttributeBegin\nAttribute \"identifier\" \"string name\" [" << ribString(id)
            << "]\n";
        writeUserRib(out, settings.featherRibText);
        if (settings.diceHair)
            out << "Attribute \"dice\" \"int hair\" [1]\n";
        writeUserRib(out, node.preFeatherRib);
        if (cubic)
            out << "Basis \"catmull-rom\" 1 \"catmull-rom\" 1\n";
        writeCurves(out, barbules, cubic, g, settings);
        writeCurves(out, rachis, cubic, g, settings);
        writeUserRib(out, node.postFeatherRib);
        out << "AttributeEnd\n";
    }

    if (node.rachisRenderAs == rachisAsSubdivisionMesh) {
        const featherMeshData tube = rachisTube(node, g);
        if (tube.polygonCounts.length() == 0)
            return;
        out << "AttributeBegin\nAttribute \"identifier\" \"string name\" ["
            << ribString(node.name + ".rachis" + std::to_string(index)) << "]\n";
        writeUserRib(out, settings.rachisMeshRibText);
        writeUserRib(out, node.preFeatherMeshRib);
        writeSubdivisionMesh(out, tube, settings);
        writeUserRib(out, node.postFeatherMeshRib);
        out << "AttributeEnd\n";
    }
}

} // namespace

std::string ribSettingsProblem(const ribSettings& settings,
                               const std::vector<featherExportNode>& nodes) {
    if (isBlank(settings.featherRibText))
        return "the shader text \"featherRibText\" is empty";
    for (const featherExportNode& node : nodes)
        if (node.rachisRenderAs == rachisAsSubdivisionMesh && node.feathers &&
            !node.feathers->empty() && isBlank(settings.rachisMeshRibText))
            return "the shader text \"rachisMeshRibText\" is empty (node " + node.name +
                   " renders its rachis as a subdivision mesh)";
    return "";
}

void writeNodeRib(std::ostream& out, const featherExportNode& node, const ribSettings& settings) {
    out << "AttributeBegin\nAttribute \"identifier\" \"string name\" [" << ribString(node.name)
        << "]\n";
    if (node.feathers)
        for (size_t f = 0; f < node.feathers->size(); ++f)
            writeFeatherBlocks(out, node, (*node.feathers)[f], f, settings);
    out << "AttributeEnd\n";
}

bool writeFeatherRib(std::ostream& out, const std::vector<featherExportNode>& nodes,
                     const ribSettings& settings) {
    out << "##RenderMan RIB\n# quillo feathers, world space\n";
    for (const featherExportNode& node : nodes)
        writeNodeRib(out, node, settings);
    return static_cast<bool>(out);
}

MBoundingBox ribNodeBound(const featherExportNode& node) {
    MBoundingBox bound;
    if (!node.feathers)
        return bound;
    // Curves reach half their width past their points, the tube its radius: the box of the
    // points is grown once, by the widest reach of any feather.
    float widest = 0.0f;
    bool hasPoints = false;
    const auto add = [&](const MFloatPoint& p) {
        if (std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z)) {
            bound.expand(MPoint(p.x, p.y, p.z));
            hasPoints = true;
        }
    };
    for (const featherGeometry& g : *node.feathers) {
        for (unsigned int k = 0; k < g.rachisPoints.length(); ++k)
            add(g.rachisPoints[k]);
        for (const auto* side : {&g.leftBarbules, &g.rightBarbules})
            for (const MFloatPointArray& curve : *side)
                for (unsigned int j = 0; j < curve.length(); ++j)
                    add(curve[j]);
        for (unsigned int k = 0; k < g.rachisThickness.length(); ++k)
            widest = std::max(widest, std::fabs(g.rachisThickness[k] * node.rachisThick));
        float barbuleWidth = 0.0f;
        for (unsigned int j = 0; j < g.barbuleThickness.length(); ++j)
            barbuleWidth = std::max(barbuleWidth, std::fabs(g.barbuleThickness[j]));
        float factor = 1.0f;
        for (const MFloatArray* t : {&g.leftThickness, &g.rightThickness})
            for (unsigned int i = 0; i < t->length(); ++i)
                factor = std::max(factor, std::fabs((*t)[i]));
        widest = std::max(widest, barbuleWidth * factor / 2.0f);
        if (g.meshBox.width() + g.meshBox.height() + g.meshBox.depth() > 0.0) {
            bound.expand(g.meshBox);
            hasPoints = true;
        }
    }
    if (!hasPoints || !std::isfinite(widest))
        return bound;
    const MPoint low = bound.min(), high = bound.max();
    bound.expand(MPoint(low.x - widest, low.y - widest, low.z - widest));
    bound.expand(MPoint(high.x + widest, high.y + widest, high.z + widest));
    return bound;
}

void writeDelayedArchiveRib(std::ostream& out, const std::string& nodeName,
                            const std::string& archivePath, const MBoundingBox& bound) {
    const MPoint low = bound.min(), high = bound.max();
    out << "AttributeBegin\nAttribute \"identifier\" \"string name\" [" << ribString(nodeName)
        << "]\nProcedural \"DelayedReadArchive\" [" << ribString(archivePath) << "] ["
        << finiteFloatText(static_cast<float>(low.x)) << ' '
        << finiteFloatText(static_cast<float>(high.x)) << ' '
        << finiteFloatText(static_cast<float>(low.y)) << ' '
        << finiteFloatText(static_cast<float>(high.y)) << ' '
        << finiteFloatText(static_cast<float>(low.z)) << ' '
        << finiteFloatText(static_cast<float>(high.z)) << "]\nAttributeEnd\n";
}
