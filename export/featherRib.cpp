#include "export/featherRib.h"

#include "export/exportText.h"
#include "export/featherSource.h"
#include "export/featherStream.h"

#include "feather/rachis.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>

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

void appendRibString(textBuffer& out, const std::string& text) {
    out.append(ribString(text));
}

// A user's RIB text on lines of its own; blank text writes nothing.
void appendUserRib(textBuffer& out, const std::string& text) {
    if (isBlank(text))
        return;
    out.append(text);
    if (text.back() != '\n')
        out.append('\n');
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

    // Keeps the storage, for the next feather.
    void clear() {
        pointCounts.clear();
        points.clear();
        normals.clear();
        widths.clear();
        s.clear();
        t.clear();
    }
};

template <typename Array> float entryOr(const Array& values, unsigned int i, float fallback) {
    if (values.length() == 0)
        return fallback;
    return values[std::min(i, values.length() - 1)];
}

// Adds one curve; fewer than 2 points cannot make a curve and are left out.
template <typename Width>
void addCurve(curveSet& set, const MFloatPointArray& points, const MFloatVectorArray* normals,
              const MFloatVector& fallbackNormal, float t, const Width& width) {
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

template <typename Triple> void putTriple(reservedText& text, const Triple& p) {
    text.finiteFloat(p.x);
    text.put(' ');
    text.finiteFloat(p.y);
    text.put(' ');
    text.finiteFloat(p.z);
}

void appendFloatList(textBuffer& out, const std::vector<float>& values) {
    reservedText text(out, values.size(), values.size() + 2);
    text.put('[');
    for (size_t i = 0; i < values.size(); ++i) {
        if (i)
            text.put(' ');
        text.finiteFloat(values[i]);
    }
    text.put(']');
}

template <typename Triple> void appendTriples(textBuffer& out, const std::vector<Triple>& values) {
    reservedText text(out, 3 * values.size(), 3 * values.size() + 2);
    text.put('[');
    for (size_t i = 0; i < values.size(); ++i) {
        if (i)
            text.put(' ');
        putTriple(text, values[i]);
    }
    text.put(']');
}

template <typename Array> void appendIntegers(textBuffer& out, const Array& values) {
    reservedText text(out, values.length(), values.length() + 2);
    text.put('[');
    for (unsigned int i = 0; i < values.length(); ++i) {
        if (i)
            text.put(' ');
        text.number(values[i]);
    }
    text.put(']');
}

// Cubic curves are uniform Catmull-Rom with the end points doubled, so that each curve passes
// through all of its points and has exactly one varying value per point, as linear ones do.
void appendCurves(textBuffer& out, const curveSet& set, bool cubic, const featherGeometry& g,
                  const ribSettings& settings) {
    if (set.pointCounts.empty())
        return;
    const int extra = cubic ? 2 : 0;
    out.append(cubic ? "Curves \"cubic\" [" : "Curves \"linear\" [");
    for (size_t c = 0; c < set.pointCounts.size(); ++c) {
        if (c)
            out.append(' ');
        appendInteger(out, set.pointCounts[c] + extra);
    }
    out.append("] \"nonperiodic\"\n  \"P\" [");
    {
        reservedText text(out, 3 * (set.points.size() + 2 * set.pointCounts.size()),
                          3 * (set.points.size() + 2 * set.pointCounts.size()));
        size_t first = 0;
        bool separate = false;
        const auto putPoint = [&](const MFloatPoint& p) {
            if (separate)
                text.put(' ');
            putTriple(text, p);
            separate = true;
        };
        for (size_t c = 0; c < set.pointCounts.size(); ++c) {
            const size_t count = static_cast<size_t>(set.pointCounts[c]);
            if (cubic)
                putPoint(set.points[first]);
            for (size_t j = 0; j < count; ++j)
                putPoint(set.points[first + j]);
            if (cubic)
                putPoint(set.points[first + count - 1]);
            first += count;
        }
    }
    out.append("]\n  \"varying float width\" ");
    appendFloatList(out, set.widths);
    if (settings.exportBarbuleUV) {
        out.append("\n  \"varying float s\" ");
        appendFloatList(out, set.s);
        out.append("\n  \"uniform float t\" ");
        appendFloatList(out, set.t);
    }
    if (settings.exportNormal) {
        out.append("\n  \"varying normal N\" ");
        appendTriples(out, set.normals);
    }
    if (settings.exportSurfaceUV) {
        out.append("\n  \"constant float surfaceU\" [");
        appendFiniteFloat(out, g.u);
        out.append("] \"constant float surfaceV\" [");
        appendFiniteFloat(out, g.v);
        out.append(']');
    }
    out.append('\n');
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

void appendSubdivisionMesh(textBuffer& out, const featherMeshData& mesh,
                           const ribSettings& settings) {
    out.append("SubdivisionMesh \"catmull-clark\" ");
    appendIntegers(out, mesh.polygonCounts);
    out.append("\n  ");
    appendIntegers(out, mesh.polygonConnects);
    // The tube is open at both ends: its boundary is kept sharp rather than shrunk.
    out.append("\n  [\"interpolateboundary\"] [0 0] [] []\n  \"P\" [");
    {
        reservedText text(out, 3 * mesh.points.length(), 3 * mesh.points.length() + 1);
        for (unsigned int i = 0; i < mesh.points.length(); ++i) {
            if (i)
                text.put(' ');
            putTriple(text, mesh.points[i]);
        }
        text.put(']');
    }
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
        out.append("\n  \"facevarying float s\" ");
        appendFloatList(out, s);
        out.append("\n  \"facevarying float t\" ");
        appendFloatList(out, t);
    }
    out.append('\n');
}

void appendBlockStart(textBuffer& out, const std::string& identifier) {
    out.append("AttributeBegin\nAttribute \"identifier\" \"string name\" [");
    appendRibString(out, identifier);
    out.append("]\n");
}

bool hasFeathers(const featherExportNode& node) {
    return (node.feathers && !node.feathers->empty()) ||
           (node.source && node.source->slotCount() > 0);
}

const char* const ribHeader = "##RenderMan RIB\n";
const char* const trailerStart = "# part bound [";

} // namespace

void appendFeatherRib(textBuffer& out, const featherExportNode& node, size_t index,
                      const featherGeometry& g, const ribSettings& settings) {
    const bool cubic = node.curveType != linearCurveType;
    const MFloatVector fallbackNormal = fallbackNormalOf(g);

    // Per thread, so that a worker's feathers reuse one set's storage.
    thread_local curveSet barbules, rachis;
    barbules.clear();
    rachis.clear();
    addSide(barbules, g, g.leftBarbules, g.leftNormals, g.leftPositions, g.leftThickness, 0.0f,
            fallbackNormal);
    addSide(barbules, g, g.rightBarbules, g.rightNormals, g.rightPositions, g.rightThickness, 1.0f,
            fallbackNormal);
    if (node.rachisRenderAs == rachisAsCurve)
        addCurve(rachis, g.rachisPoints, &g.rachisNormals, fallbackNormal, 1.0f,
                 [&](unsigned int k) {
                     return 2.0f * entryOr(g.rachisThickness, k, 1.0f) * node.rachisThick;
                 });

    if (!barbules.pointCounts.empty() || !rachis.pointCounts.empty()) {
        appendBlockStart(out, node.name + ".feather" + std::to_string(index));
        appendUserRib(out, settings.featherRibText);
        if (settings.diceHair)
            out.append("Attribute \"dice\" \"int hair\" [1]\n");
        appendUserRib(out, node.preFeatherRib);
        if (cubic)
            out.append("Basis \"catmull-rom\" 1 \"catmull-rom\" 1\n");
        appendCurves(out, barbules, cubic, g, settings);
        appendCurves(out, rachis, cubic, g, settings);
        appendUserRib(out, node.postFeatherRib);
        out.append("AttributeEnd\n");
    }

    if (node.rachisRenderAs == rachisAsSubdivisionMesh) {
        const featherMeshData tube = rachisTube(node, g);
        if (tube.polygonCounts.length() == 0)
            return;
        appendBlockStart(out, node.name + ".rachis" + std::to_string(index));
        appendUserRib(out, settings.rachisMeshRibText);
        appendUserRib(out, node.preFeatherMeshRib);
        appendSubdivisionMesh(out, tube, settings);
        appendUserRib(out, node.postFeatherMeshRib);
        out.append("AttributeEnd\n");
    }
}

std::string ribSettingsProblem(const ribSettings& settings,
                               const std::vector<featherExportNode>& nodes) {
    if (isBlank(settings.featherRibText))
        return "the shader text \"featherRibText\" is empty";
    for (const featherExportNode& node : nodes)
        if (node.rachisRenderAs == rachisAsSubdivisionMesh && hasFeathers(node) &&
            isBlank(settings.rachisMeshRibText))
            return "the shader text \"rachisMeshRibText\" is empty (node " + node.name +
                   " renders its rachis as a subdivision mesh)";
    return "";
}

void writeNodeRib(std::ostream& out, const featherExportNode& node, const ribSettings& settings) {
    featherRibFormat format(settings, node.name);
    textBuffer text;
    format.nodeStart(text, node, 0, {}, 0);
    if (node.feathers)
        for (size_t f = 0; f < node.feathers->size(); ++f)
            appendFeatherRib(text, node, f, (*node.feathers)[f], settings);
    format.nodeEnd(text, node, 0);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

bool writeFeatherRib(std::ostream& out, const std::vector<featherExportNode>& nodes,
                     const ribSettings& settings) {
    featherRibFormat format(settings);
    return streamFeathers(out, format, nodes, exportPart());
}

void ribBound::add(const featherExportNode& node, const featherGeometry& g) {
    const auto add = [&](const MFloatPoint& p) {
        if (std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z)) {
            points_.expand(MPoint(p.x, p.y, p.z));
            hasPoints_ = true;
        }
    };
    for (unsigned int k = 0; k < g.rachisPoints.length(); ++k)
        add(g.rachisPoints[k]);
    for (const auto* side : {&g.leftBarbules, &g.rightBarbules})
        for (const MFloatPointArray& curve : *side)
            for (unsigned int j = 0; j < curve.length(); ++j)
                add(curve[j]);
    for (unsigned int k = 0; k < g.rachisThickness.length(); ++k)
        widest_ = std::max(widest_, std::fabs(g.rachisThickness[k] * node.rachisThick));
    float barbuleWidth = 0.0f;
    for (unsigned int j = 0; j < g.barbuleThickness.length(); ++j)
        barbuleWidth = std::max(barbuleWidth, std::fabs(g.barbuleThickness[j]));
    float factor = 1.0f;
    for (const MFloatArray* t : {&g.leftThickness, &g.rightThickness})
        for (unsigned int i = 0; i < t->length(); ++i)
            factor = std::max(factor, std::fabs((*t)[i]));
    widest_ = std::max(widest_, barbuleWidth * factor / 2.0f);
    if (g.meshBox.width() + g.meshBox.height() + g.meshBox.depth() > 0.0) {
        points_.expand(g.meshBox);
        hasPoints_ = true;
    }
}

void ribBound::merge(const ribBound& other) {
    if (other.hasPoints_)
        points_.expand(other.points_);
    hasPoints_ = hasPoints_ || other.hasPoints_;
    widest_ = std::max(widest_, other.widest_);
}

MBoundingBox ribBound::box() const {
    MBoundingBox bound = points_;
    if (!hasPoints_ || !std::isfinite(widest_))
        return bound;
    const MPoint low = bound.min(), high = bound.max();
    bound.expand(MPoint(low.x - widest_, low.y - widest_, low.z - widest_));
    bound.expand(MPoint(high.x + widest_, high.y + widest_, high.z + widest_));
    return bound;
}

MBoundingBox ribNodeBound(const featherExportNode& node) {
    ribBound bound;
    if (node.feathers)
        for (const featherGeometry& g : *node.feathers)
            bound.add(node, g);
    return bound.box();
}

featherRibFormat::featherRibFormat(const ribSettings& settings, const std::string& archiveOf)
    : settings_(settings), archiveOf_(archiveOf) {}

void featherRibFormat::prepareWorkers(unsigned int workers) {
    workers_.assign(workers, ribBound());
}

void featherRibFormat::fileStart(textBuffer& out, const exportPart& part) {
    part_ = part;
    node_ = file_ = ribBound();
    out.append(ribHeader);
    if (!archiveOf_.empty()) {
        out.append("# quillo feathers of ");
        out.append(archiveOf_);
        out.append('\n');
        return;
    }
    out.append("# quillo feathers, world space");
    out.append(partLabel(part));
    out.append('\n');
}

void featherRibFormat::nodeStart(textBuffer& out, const featherExportNode& node, size_t,
                                 const slotRange&, size_t) {
    std::fill(workers_.begin(), workers_.end(), ribBound());
    appendBlockStart(out, node.name);
}

void featherRibFormat::feather(textBuffer& out, const featherExportNode& node, size_t slot,
                               const featherGeometry& feather, unsigned int worker) {
    appendFeatherRib(out, node, slot, feather, settings_);
    // Bounds are only read by archives and parts; gathering them costs a box test per point.
    if (worker < workers_.size() && (!archiveOf_.empty() || !part_.whole()))
        workers_[worker].add(node, feather);
}

void featherRibFormat::nodeEnd(textBuffer& out, const featherExportNode&, size_t) {
    node_ = ribBound();
    for (const ribBound& bound : workers_)
        node_.merge(bound);
    file_.merge(node_);
    out.append("AttributeEnd\n");
}

void featherRibFormat::fileEnd(textBuffer& out) {
    if (!part_.whole())
        out.append(ribPartTrailer(fileBound(), settings_.relativePath));
}

namespace {

void appendBoundNumbers(textBuffer& out, const MBoundingBox& bound) {
    const MPoint low = bound.min(), high = bound.max();
    const double numbers[6] = {low.x, high.x, low.y, high.y, low.z, high.z};
    for (int i = 0; i < 6; ++i) {
        if (i)
            out.append(' ');
        appendFiniteFloat(out, static_cast<float>(numbers[i]));
    }
}

bool isEmpty(const MBoundingBox& bound) {
    const MPoint low = bound.min(), high = bound.max();
    return !(low.x <= high.x && low.y <= high.y && low.z <= high.z);
}

} // namespace

std::string ribPartTrailer(const MBoundingBox& bound, bool relative) {
    textBuffer text;
    text.append(trailerStart);
    if (!isEmpty(bound))
        appendBoundNumbers(text, bound);
    text.append(relative ? "] relative\n" : "] absolute\n");
    return text.str();
}

bool readRibPartTrailer(const std::string& line, MBoundingBox& bound, bool& hasBound,
                        bool& relative) {
    if (line.rfind(trailerStart, 0) != 0)
        return false;
    const size_t close = line.find(']');
    if (close == std::string::npos)
        return false;
    const std::string how = line.substr(close + 1);
    if (how != " relative" && how != " absolute")
        return false;
    relative = how == " relative";
    std::istringstream numbers(
        line.substr(std::strlen(trailerStart), close - std::strlen(trailerStart)));
    double v[6];
    int count = 0;
    while (count < 6 && numbers >> v[count])
        ++count;
    std::string rest;
    if ((count != 0 && count != 6) || (numbers >> rest))
        return false;
    hasBound = count == 6;
    bound = MBoundingBox();
    if (hasBound) {
        bound.expand(MPoint(v[0], v[2], v[4]));
        bound.expand(MPoint(v[1], v[3], v[5]));
    }
    return true;
}

void writeDelayedArchiveRib(std::ostream& out, const std::string& nodeName,
                            const std::string& archivePath, const MBoundingBox& bound) {
    textBuffer text;
    appendBlockStart(text, nodeName);
    text.append("Procedural \"DelayedReadArchive\" [");
    appendRibString(text, archivePath);
    text.append("] [");
    appendBoundNumbers(text, bound);
    text.append("]\nAttributeEnd\n");
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}
