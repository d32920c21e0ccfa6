#pragma once
// Function-set and object type tags. The numbers are the host's own: nothing stores them, so only
// kInvalid = 0 is fixed. New tags go before kLast.

#include <maya/MTypes.h>

class OPENMAYA_EXPORT MFn {
  public:
    enum Type {
        kInvalid = 0,
        kBase,
        kNamedObject,
        kDependencyNode,
        kDagNode,
        kTransform,
        kShape,
        kLocator,
        kPluginLocatorNode,
        kPluginDependNode,
        kPluginShape,
        kMesh,
        kNurbsSurface,
        kNurbsCurve,
        kCamera,
        kSet,
        kGroupId,
        kGroupParts,
        kTexture2d,
        kPlace2dTexture,
        kFileTexture,
        kRamp,
        kChecker,
        kAttribute,
        kNumericAttribute,
        kTypedAttribute,
        kEnumAttribute,
        kCompoundAttribute,
        kMessageAttribute,
        kGenericAttribute,
        kMatrixAttribute,
        kUnitAttribute,
        kLightDataAttribute,
        kData,
        kNumericData,
        kStringData,
        kMatrixData,
        kMeshData,
        kNurbsSurfaceData,
        kNurbsCurveData,
        kComponentListData,
        kPluginData,
        kComponent,
        kSingleIndexedComponent,
        kDoubleIndexedComponent,
        kMeshPolygonComponent,
        kMeshVertComponent,
        kMeshEdgeComponent,
        kMeshVtxFaceComponent,
        kSurfaceCVComponent,
        kPlugin,
        kUnknown,
        kLast
    };
};
