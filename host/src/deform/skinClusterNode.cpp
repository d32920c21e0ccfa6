#include "deform/skinClusterNode.h"

#include "deform/skinning.h"
#include "graph/graph.h"
#include "graph/nodeType.h"

#include <maya/MArrayDataHandle.h>
#include <maya/MDataBlock.h>
#include <maya/MFnCompoundAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnTypedAttribute.h>

#include <map>

namespace host {

MObject SkinClusterNode::weightList, SkinClusterNode::weights, SkinClusterNode::bindPreMatrix,
    SkinClusterNode::geomMatrix, SkinClusterNode::matrix, SkinClusterNode::skinningMethod,
    SkinClusterNode::normalizeWeights, SkinClusterNode::blendWeights;

namespace {

MObject matrixAttribute(const char* name, const char* shortName, bool array) {
    MFnTypedAttribute typed;
    MObject attribute = typed.create(name, shortName, MFnData::kMatrix);
    typed.setArray(array);
    MPxNode::addAttribute(attribute);
    return attribute;
}

// Matrices of an array plug by logical index.
std::map<unsigned, MMatrix> matrices(MDataBlock& data, const MObject& attribute) {
    std::map<unsigned, MMatrix> out;
    MArrayDataHandle array = data.inputArrayValue(attribute);
    for (unsigned i = 0, n = array.elementCount(); i < n; ++i, array.next())
        out[array.elementIndex()] = array.inputValue().asMatrix();
    return out;
}

} // namespace

void SkinClusterNode::initialize() {
    addGeometryFilterAttributes();
    MFnNumericAttribute numeric;
    weights = numeric.create("weights", "w", MFnNumericData::kDouble, 0.0);
    numeric.setArray(true);
    MFnCompoundAttribute compound;
    weightList = compound.create("weightList", "wl");
    compound.addChild(weights);
    compound.setArray(true);
    addAttribute(weightList);
    bindPreMatrix = matrixAttribute("bindPreMatrix", "pm", true);
    geomMatrix = matrixAttribute("geomMatrix", "gm", false);
    matrix = matrixAttribute("matrix", "ma", true);
    skinningMethod = numeric.create("skinningMethod", "skm", MFnNumericData::kShort, 0.0);
    addAttribute(skinningMethod);
    normalizeWeights = numeric.create("normalizeWeights", "nw", MFnNumericData::kShort, 1.0);
    addAttribute(normalizeWeights);
    blendWeights = numeric.create("blendWeights", "bw", MFnNumericData::kDouble, 0.0);
    numeric.setArray(true);
    addAttribute(blendWeights);
    for (const MObject* attribute : {&weightList, &bindPreMatrix, &geomMatrix, &matrix,
                                     &skinningMethod, &normalizeWeights, &blendWeights})
        affectsOutput(*attribute);
}

bool SkinClusterNode::deform(MDataBlock& data, unsigned, const MObject&,
                             const std::vector<MPoint>& points, std::vector<MPoint>& deformed) {
    const MMatrix geometry = data.inputValue(geomMatrix).asMatrix();
    const std::map<unsigned, MMatrix> bind = matrices(data, bindPreMatrix);
    const std::map<unsigned, MMatrix> driving = matrices(data, matrix);
    if (driving.empty())
        return false;
    // Influences by position; weights name them by logical index, which may be sparse.
    std::vector<MMatrix> influences;
    std::map<unsigned, unsigned> position;
    for (const auto& [j, world] : driving) {
        auto pre = bind.find(j);
        position[j] = static_cast<unsigned>(influences.size());
        influences.push_back(geometry * (pre != bind.end() ? pre->second : MMatrix()) * world);
    }
    const SkinDeformation skin(influences, geometry);
    int method = data.inputValue(skinningMethod).asShort();
    if (method < 0 || method > 2)
        method = 0;
    const bool normalize = data.inputValue(normalizeWeights).asShort() == 2;

    std::map<unsigned, double> blend;
    MArrayDataHandle blends = data.inputArrayValue(blendWeights);
    for (unsigned i = 0, n = blends.elementCount(); i < n; ++i, blends.next())
        blend[blends.elementIndex()] = blends.inputValue().asDouble();

    // Points without weights have every weight 0: they go where no influence takes them.
    std::vector<std::vector<std::pair<unsigned, double>>> pointWeights(points.size());
    MArrayDataHandle list = data.inputArrayValue(weightList);
    for (unsigned i = 0, n = list.elementCount(); i < n; ++i, list.next()) {
        const unsigned point = list.elementIndex();
        if (point >= points.size())
            continue;
        MArrayDataHandle row(list.inputValue().child(weights));
        for (unsigned k = 0, m = row.elementCount(); k < m; ++k, row.next())
            if (auto at = position.find(row.elementIndex()); at != position.end())
                pointWeights[point].emplace_back(at->second, row.inputValue().asDouble());
    }
    for (size_t p = 0; p < points.size(); ++p) {
        std::vector<std::pair<unsigned, double>>& w = pointWeights[p];
        if (normalize) {
            double sum = 0.0;
            for (const auto& entry : w)
                sum += entry.second;
            if (sum != 0.0)
                for (auto& entry : w)
                    entry.second /= sum;
        }
        auto b = blend.find(static_cast<unsigned>(p));
        deformed[p] = skin.deform(points[p], w, static_cast<SkinningMethod>(method),
                                  b != blend.end() ? b->second : 0.0);
        deformed[p].w = points[p].w;
    }
    return true;
}

void registerSkinClusterType(TypeRegistry& registry) {
    // A host-reserved id, outside the range plug-ins are given.
    registry.registerBuiltin("skinCluster", MTypeId(0x0fff0051), &SkinClusterNode::creator,
                             MPxNode::kDependNode, MFn::kSkinClusterFilter, false, false,
                             &SkinClusterNode::initialize);
}

} // namespace host
