// The feather system's attributes: one table row per attribute, in the order they are added.
// Names, short names, types, defaults and limits are stored in scene files: never change them
// (the misspelt "gloalScale" and "guidsPerFeather" included). The table drives creation, flags
// and limits; the dependencies have their own list, in the order they are declared.

#include "nodes/system/quilloSystem.h"

#include "feather/errorReport.h"

#include <maya/MFnMessageAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnStringData.h>
#include <maya/MFnTypedAttribute.h>

#include <cmath>
#include <limits>

MObject quilloSystem::active, quilloSystem::displayQuality, quilloSystem::displayBarbuleQuality;
MObject quilloSystem::renderQuality, quilloSystem::useUVIFile, quilloSystem::uviFile;
MObject quilloSystem::uSegment, quilloSystem::vSegment, quilloSystem::jitterDistance;
MObject quilloSystem::jitterFrequency, quilloSystem::guidsPerFeather, quilloSystem::gloalScale;
MObject quilloSystem::randScale, quilloSystem::radius, quilloSystem::power;
MObject quilloSystem::colorTex, quilloSystem::scaleTex, quilloSystem::baldnessTex;
MObject quilloSystem::radiusTex, quilloSystem::uvOffset, quilloSystem::uvTranslate;
MObject quilloSystem::randomSeed, quilloSystem::displayProxyBoundingBox, quilloSystem::uvSetName;
MObject quilloSystem::inRenderFeather, quilloSystem::growthSet, quilloSystem::inputGrowSurface;
MObject quilloSystem::inputGrowMesh, quilloSystem::inputGrowMeshID, quilloSystem::inFeatherMesh;
MObject quilloSystem::outFeatherMesh, quilloSystem::outputFeatherMesh;

namespace {

const char* const module = "quilloSystem";

enum kind {
    integer, // MFnNumericData::kInt
    boolean, // kBoolean
    real,    // kFloat
    real2,   // k2Double
    float2,  // k2Float
    colour,  // createColor: three floats
    text,    // kString, default the row's text
    message, // MFnMessageAttribute
    surface, // kNurbsSurface, no default
    mesh,    // kMesh, no default
};

// Flags that differ from readable, writable, storable, shown and keyable.
enum flag : unsigned int {
    nK = 1u << 0, // not keyable
    nS = 1u << 1, // not storable
    nW = 1u << 2, // not writable
    H = 1u << 3,  // hidden
};

const double none = std::numeric_limits<double>::quiet_NaN();

struct attributeRow {
    MObject* handle;
    const char* longName;
    const char* shortName;
    kind type;
    double value[2];     // numeric default, per component
    const char* textual; // default of a string attribute
    double minimum;      // hard limits, the same for every component; NaN: none
    double maximum;
    unsigned int flags;
};

#define ROW(name, shortName, type, flags, minimum, maximum, textual, ...)                          \
    { &quilloSystem::name, #name, shortName, type, {__VA_ARGS__}, textual, minimum, maximum, flags }

// Long name, short name, type, flags, minimum, maximum, string default, numeric default.
// clang-format off
const attributeRow attributeTable[] = {
    ROW(active,                  "active",      boolean, 0,         none, none, "", 1),
    ROW(displayQuality,          "dispqua",     integer, 0,         0,    100,  "", 20),
    ROW(displayBarbuleQuality,   "dispbarqua",  integer, 0,         0,    100,  "", 10),
    ROW(renderQuality,           "renqua",      integer, 0,         0,    100,  "", 100),
    ROW(useUVIFile,              "uuvi",        boolean, 0,         none, none, "", 0),
    ROW(uviFile,                 "uvif",        text,    nK,        none, none, "", 0),
    ROW(uSegment,                "useg",        integer, 0,         none, none, "", 10),
    ROW(vSegment,                "vseg",        integer, 0,         none, none, "", 10),
    ROW(jitterDistance,          "jitterdis",   real,    0,         none, none, "", 0.1),
    ROW(jitterFrequency,         "jitterfre",   real,    0,         none, none, "", 15.0),
    ROW(guidsPerFeather,         "gpf",         integer, 0,         1,    none, "", 1),
    ROW(gloalScale,              "gloalScale",  real,    0,         0,    none, "", 1.0),
    ROW(randScale,               "randScale",   real,    0,         0,    1,    "", 0.0),
    ROW(radius,                  "radius",      real,    0,         0,    none, "", 10.0),
    ROW(power,                   "power",       real,    0,         0,    none, "", 1.0),
    ROW(colorTex,                "colorTex",    colour,  nK,        none, none, "", 0),
    ROW(scaleTex,                "scaleTex",    real,    nK,        none, none, "", 1.0),
    ROW(baldnessTex,             "baldnessTex", real,    nK,        none, none, "", 1.0),
    ROW(radiusTex,               "radiusTex",   real,    nK,        none, none, "", 1.0),
    ROW(uvOffset,                "uvOffset",    real2,   0,         -1,   1,    "", 0, 0),
    ROW(uvTranslate,             "uvTranslate", float2,  0,         -1,   1,    "", 0, 0),
    ROW(randomSeed,              "rands",       integer, 0,         none, none, "", 5),
    ROW(displayProxyBoundingBox, "dispPBB",     boolean, 0,         none, none, "", 0),
    ROW(uvSetName,               "uvsn",        text,    nK,        none, none, "map1", 0),
    ROW(inRenderFeather,         "inrf",        integer, nK|H,      none, none, "", -1),
    ROW(growthSet,               "growthSet",   message, nK|H,      none, none, "", 0),
    ROW(inputGrowSurface,        "ingrs",       surface, nK|H,      none, none, "", 0),
    // Storable until the last word below: the mesh comes back through its connection.
    ROW(inputGrowMesh,           "ingrm",       mesh,    nK|H,      none, none, "", 0),
    ROW(inputGrowMeshID,         "inmeshid",    integer, nK|H,      none, none, "", -1),
    ROW(inFeatherMesh,           "infm",        mesh,    nK|H,      none, none, "", 0),
    ROW(outFeatherMesh,          "outfm",       mesh,    nK|nS|nW|H, none, none, "", 0),
    ROW(outputFeatherMesh,       "outfeamesh",  boolean, nK,        none, none, "", 0),
};
// clang-format on
#undef ROW

// Everything that makes "outFeatherMesh" dirty, in the order declared. "renderQuality" and
// "outputFeatherMesh" are absent on purpose: changing them alone never rebuilds.
MObject* const affectsOutput[] = {
    &quilloSystem::active,
    &quilloSystem::displayQuality,
    &quilloSystem::displayBarbuleQuality,
    &quilloSystem::inRenderFeather,
    &quilloSystem::growthSet,
    &quilloSystem::inputGrowSurface,
    &quilloSystem::inputGrowMesh,
    &quilloSystem::inputGrowMeshID,
    &quilloSystem::uvSetName,
    &quilloSystem::useUVIFile,
    &quilloSystem::uviFile,
    &quilloSystem::uSegment,
    &quilloSystem::vSegment,
    &quilloSystem::jitterDistance,
    &quilloSystem::jitterFrequency,
    &quilloSystem::guidsPerFeather,
    &quilloSystem::gloalScale,
    &quilloSystem::randScale,
    &quilloSystem::radius,
    &quilloSystem::power,
    &quilloSystem::colorTex,
    &quilloSystem::scaleTex,
    &quilloSystem::baldnessTex,
    &quilloSystem::radiusTex,
    &quilloSystem::uvOffset,
    &quilloSystem::uvTranslate,
    &quilloSystem::randomSeed,
    &quilloSystem::displayProxyBoundingBox,
    &quilloSystem::inFeatherMesh,
};

// Hard limits; a two-component attribute gets the same pair on each component. Unchecked: a
// limit that does not take leaves the attribute usable.
void setLimits(MFnNumericAttribute& fn, const attributeRow& row) {
    const bool pair = row.type == real2 || row.type == float2;
    if (!std::isnan(row.minimum)) {
        const double m = row.minimum;
        pair ? fn.setMin(m, m) : fn.setMin(m);
    }
    if (!std::isnan(row.maximum)) {
        const double m = row.maximum;
        pair ? fn.setMax(m, m) : fn.setMax(m);
    }
}

MObject createNumeric(const attributeRow& row) {
    MFnNumericAttribute fn;
    MObject attribute;
    const double* v = row.value;
    switch (row.type) {
    case integer:
        attribute = fn.create(row.longName, row.shortName, MFnNumericData::kInt, v[0]);
        break;
    case boolean:
        attribute = fn.create(row.longName, row.shortName, MFnNumericData::kBoolean, v[0]);
        break;
    case real:
        attribute = fn.create(row.longName, row.shortName, MFnNumericData::kFloat, v[0]);
        break;
    case real2:
        attribute = fn.create(row.longName, row.shortName, MFnNumericData::k2Double, 0);
        fn.setDefault(v[0], v[1]);
        break;
    case float2:
        attribute = fn.create(row.longName, row.shortName, MFnNumericData::k2Float, 0);
        fn.setDefault(static_cast<float>(v[0]), static_cast<float>(v[1]));
        break;
    default: // colour, black
        attribute = fn.createColor(row.longName, row.shortName);
        break;
    }
    setLimits(fn, row);
    return attribute;
}

MObject createAttribute(const attributeRow& row) {
    switch (row.type) {
    case text: {
        MFnStringData data;
        MObject initial = data.create(row.textual);
        MFnTypedAttribute fn;
        return fn.create(row.longName, row.shortName, MFnData::kString, initial);
    }
    case message: {
        MFnMessageAttribute fn;
        return fn.create(row.longName, row.shortName);
    }
    case surface: {
        MFnTypedAttribute fn;
        return fn.create(row.longName, row.shortName, MFnData::kNurbsSurface);
    }
    case mesh: {
        MFnTypedAttribute fn;
        return fn.create(row.longName, row.shortName, MFnData::kMesh);
    }
    default:
        return createNumeric(row);
    }
}

// Every flag is set explicitly, so that the node does not depend on the defaults of the
// attribute function sets.
void setFlags(MObject& attribute, unsigned int flags) {
    MFnAttribute fn(attribute);
    QUILLO_CHECK(fn.setKeyable(!(flags & nK)), module);
    QUILLO_CHECK(fn.setStorable(!(flags & nS)), module);
    QUILLO_CHECK(fn.setReadable(true), module);
    QUILLO_CHECK(fn.setWritable(!(flags & nW)), module);
    if (flags & H)
        fn.setHidden(true);
}

} // namespace

MStatus quilloSystem::initialize() {
    for (const attributeRow& row : attributeTable) {
        *row.handle = createAttribute(row);
        setFlags(*row.handle, row.flags);
    }
    MFnTypedAttribute(inputGrowMesh).setStorable(false);

    for (const attributeRow& row : attributeTable)
        QUILLO_CHECK(addAttribute(*row.handle), module);
    for (MObject* from : affectsOutput)
        QUILLO_CHECK(attributeAffects(*from, outFeatherMesh), module);
    return MS::kSuccess;
}
