#include "nodes/globals/quilloGlobals.h"

#include "feather/errorReport.h"
#include "plugin/typeIds.h"

#include <maya/MFnNumericAttribute.h>
#include <maya/MFnStringData.h>
#include <maya/MFnTypedAttribute.h>

namespace {
const char* const module = "quilloGlobals";

MObject makeBoolean(const char* name, const char* shortName, bool value) {
    MStatus status;
    MFnNumericAttribute fn;
    MObject attribute =
        fn.create(name, shortName, MFnNumericData::kBoolean, value ? 1 : 0, &status);
    QUILLO_CHECK(status, module);
    return attribute;
}

MObject makeString(const char* name, const char* shortName, const char* value) {
    MStatus status;
    MFnStringData text;
    MObject defaultText = text.create(value, &status);
    QUILLO_CHECK(status, module);
    MFnTypedAttribute fn;
    MObject attribute = fn.create(name, shortName, MFnData::kString, defaultText, &status);
    QUILLO_CHECK(status, module);
    return attribute;
}
} // namespace

const MTypeId quilloGlobals::id(typeIds::quilloGlobals);

MObject quilloGlobals::featherRibText;
MObject quilloGlobals::rachisMeshRibText;
MObject quilloGlobals::exportBarbuleUV;
MObject quilloGlobals::exportSurfaceUV;
MObject quilloGlobals::exportNormal;
MObject quilloGlobals::relativePath;
MObject quilloGlobals::gzipCompression;
MObject quilloGlobals::diceHair;
MObject quilloGlobals::delayReadArchive;
MObject quilloGlobals::deleteTempFile;
MObject quilloGlobals::tempFileDir;
MObject quilloGlobals::enableMotionBlur;
MObject quilloGlobals::motionBlurSamples;
MObject quilloGlobals::motionBlurStep;
MObject quilloGlobals::motionBlurFactor;

void* quilloGlobals::creator() {
    return new quilloGlobals;
}

MStatus quilloGlobals::compute(const MPlug&, MDataBlock&) {
    return MS::kSuccess;
}

MStatus quilloGlobals::initialize() {
    MStatus status;
    exportBarbuleUV = makeBoolean("exportBarbuleUV", "expbuv", true);
    exportSurfaceUV = makeBoolean("exportSurfaceUV", "expsuv", false);
    exportNormal = makeBoolean("exportNormal", "expnor", false);
    relativePath = makeBoolean("relativePath", "rp", false);
    gzipCompression = makeBoolean("gzipCompression", "gzip", false);
    diceHair = makeBoolean("diceHair", "dh", false);
    delayReadArchive = makeBoolean("delayReadArchive", "dera", false);
    deleteTempFile = makeBoolean("deleteTempFile", "deltf", true);
    enableMotionBlur = makeBoolean("enableMotionBlur", "enmobl", false);

    MFnNumericAttribute numeric;
    motionBlurSamples =
        numeric.create("motionBlurSamples", "mbsamp", MFnNumericData::kInt, 2, &status);
    QUILLO_CHECK(status, module);
    QUILLO_CHECK(numeric.setMin(2), module);
    motionBlurStep = numeric.create("motionBlurStep", "mbs", MFnNumericData::kFloat, 1.0, &status);
    QUILLO_CHECK(status, module);
    QUILLO_CHECK(numeric.setMin(0.0), module);
    motionBlurFactor =
        numeric.create("motionBlurFactor", "mbf", MFnNumericData::kFloat, 1.0, &status);
    QUILLO_CHECK(status, module);
    QUILLO_CHECK(numeric.setMin(0.0), module);

    featherRibText = makeString("featherRibText", "feart", "Surface \"quillo\"");
    rachisMeshRibText = makeString("rachisMeshRibText", "rchmeribt", "Surface \"qoRachisMesh\"");
    tempFileDir = makeString("tempFileDir", "tempfd", "%temp%");

    const MObject* inTableOrder[] = {&featherRibText,    &rachisMeshRibText, &exportBarbuleUV,
                                     &exportSurfaceUV,   &exportNormal,      &relativePath,
                                     &gzipCompression,   &diceHair,          &delayReadArchive,
                                     &deleteTempFile,    &tempFileDir,       &enableMotionBlur,
                                     &motionBlurSamples, &motionBlurStep,    &motionBlurFactor};
    for (const MObject* attribute : inTableOrder)
        QUILLO_CHECK(addAttribute(*attribute), module);
    return MS::kSuccess;
}
