#pragma once
// Rendering utilities.
//
// sampleShadingNetwork evaluates a shading network at numSamples points. shadingNodeName is a
// plug name "node.attribute" (as MPlug::name() gives it, array indices and compound paths
// included). Sample inputs (points, uCoords, vCoords, normals, ...) may be null; a non-null
// array holds numSamples entries. Results are resized to numSamples: colours in x, y, z (a
// float attribute gives (v, v, v)) and transparencies in x, y, z.
//
// A plug with an incoming connection is sampled through its source. A plain numeric colour
// or float attribute gives its own value at every sample, with transparency 0. A plug that
// does not exist, a node type the host cannot sample, or a texture whose inputs are unusable
// gives MS::kFailure; a negative numSamples or a sample array shorter than numSamples gives
// MS::kInvalidParameter. A failure shows one warning naming the plug and leaves the results
// empty.
// useShadowMaps, reuseMaps and cameraMatrix are accepted and not used.

#include <maya/MStatus.h>
#include <maya/MString.h>

class MFloatArray;
class MFloatMatrix;
class MFloatPointArray;
class MFloatVectorArray;

class OPENMAYA_EXPORT MRenderUtil {
  public:
    static MStatus sampleShadingNetwork(MString shadingNodeName, int numSamples, bool useShadowMaps,
                                        bool reuseMaps, MFloatMatrix& cameraMatrix,
                                        MFloatPointArray* points, MFloatArray* uCoords,
                                        MFloatArray* vCoords, MFloatVectorArray* normals,
                                        MFloatPointArray* refPoints, MFloatVectorArray* tangentUs,
                                        MFloatVectorArray* tangentVs, MFloatArray* filterSizes,
                                        MFloatVectorArray& resultColors,
                                        MFloatVectorArray& resultTransparencies);
};
