#pragma once
// "quilloGlobals": the scene's settings for exporting feathers to RIB. The plug-in itself never
// reads them; the render scripts read them by attribute name. Every attribute is storable, so
// the settings are saved with the scene.

#include <maya/MPxNode.h>

class quilloGlobals : public MPxNode {
  public:
    ~quilloGlobals() override = default;
    // Nothing is computed: every plug is a plain stored setting.
    MStatus compute(const MPlug& plug, MDataBlock& data) override;

    static void* creator();
    static MStatus initialize();

    static const MTypeId id;

    static MObject featherRibText;
    static MObject rachisMeshRibText;
    static MObject exportBarbuleUV;
    static MObject exportSurfaceUV;
    static MObject exportNormal;
    static MObject relativePath;
    static MObject gzipCompression;
    static MObject diceHair;
    static MObject delayReadArchive;
    static MObject deleteTempFile;
    static MObject tempFileDir;
    static MObject enableMotionBlur;
    static MObject motionBlurSamples;
    static MObject motionBlurStep;
    static MObject motionBlurFactor;
};
