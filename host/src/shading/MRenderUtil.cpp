// MRenderUtil::sampleShadingNetwork: checks the caller's arrays, finds the plug and hands it
// to the shading network code; every failure is one warning naming the plug.

#include "graph/graph.h"
#include "shading/shadingNetwork.h"

#include <maya/MFloatArray.h>
#include <maya/MFloatMatrix.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MGlobal.h>
#include <maya/MRenderUtil.h>

#include <string>

namespace {

template <class Array> bool tooShort(const Array* array, int count) {
    return array && array->length() < static_cast<unsigned int>(count);
}

MStatus fail(const std::string& name, const std::string& reason, MStatus status,
             MFloatVectorArray& colors, MFloatVectorArray& transparencies) {
    colors.clear();
    transparencies.clear();
    MGlobal::displayWarning(
        ("sampleShadingNetwork: cannot sample '" + name + "': " + reason + ".").c_str());
    return status;
}

} // namespace

MStatus MRenderUtil::sampleShadingNetwork(MString shadingNodeName, int numSamples, bool, bool,
                                          MFloatMatrix&, MFloatPointArray* points,
                                          MFloatArray* uCoords, MFloatArray* vCoords,
                                          MFloatVectorArray* normals, MFloatPointArray* refPoints,
                                          MFloatVectorArray* tangentUs,
                                          MFloatVectorArray* tangentVs, MFloatArray* filterSizes,
                                          MFloatVectorArray& resultColors,
                                          MFloatVectorArray& resultTransparencies) {
    const std::string name = shadingNodeName.asChar();
    if (numSamples < 0)
        return fail(name, "the sample count " + std::to_string(numSamples) + " is negative",
                    MS::kInvalidParameter, resultColors, resultTransparencies);
    if (tooShort(points, numSamples) || tooShort(uCoords, numSamples) ||
        tooShort(vCoords, numSamples) || tooShort(normals, numSamples) ||
        tooShort(refPoints, numSamples) || tooShort(tangentUs, numSamples) ||
        tooShort(tangentVs, numSamples) || tooShort(filterSizes, numSamples))
        return fail(name,
                    "a sample array holds fewer than " + std::to_string(numSamples) + " entries",
                    MS::kInvalidParameter, resultColors, resultTransparencies);

    size_t dot = name.find('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == name.size())
        return fail(name, "it is not a plug name (node.attribute)", MS::kFailure, resultColors,
                    resultTransparencies);
    host::Node* node = host::Graph::instance().find(name.substr(0, dot));
    if (!node)
        return fail(name, "there is no node named '" + name.substr(0, dot) + "'", MS::kFailure,
                    resultColors, resultTransparencies);
    if (node->type()->generic)
        return fail(name, "the host cannot sample nodes of type '" + node->typeName() + "'",
                    MS::kFailure, resultColors, resultTransparencies);
    host::PlugRef plug;
    if (!host::resolvePlug(node, name.substr(dot + 1), plug))
        return fail(name,
                    "node '" + node->name() + "' of type '" + node->typeName() +
                        "' has no attribute '" + name.substr(dot + 1) + "'",
                    MS::kFailure, resultColors, resultTransparencies);

    host::ShadingInputs inputs;
    inputs.count = numSamples;
    inputs.points = points;
    inputs.u = uCoords;
    inputs.v = vCoords;
    inputs.normals = normals;
    inputs.refPoints = refPoints;
    inputs.tangentUs = tangentUs;
    inputs.tangentVs = tangentVs;
    inputs.filterSizes = filterSizes;
    std::string reason;
    MStatus status =
        host::sampleShadingPlug(plug, inputs, resultColors, resultTransparencies, &reason);
    if (!status)
        return fail(name, reason, MS::kFailure, resultColors, resultTransparencies);
    return MS::kSuccess;
}
