// The feather node's attributes: one table row per attribute, in the order they are added.
// Names, short names, types, defaults, limits and enum fields are stored in scene files:
// never change them. The same table drives creation, flags, limits, adding and the
// attributeAffects declarations, so that none of them can drift from the others.

#include "nodes/feather/quillo.h"

#include "feather/errorReport.h"
#include "plugin/featherTurtleArrayData.h"
#include "plugin/featherTurtleData.h"

#include <maya/MFloatArray.h>
#include <maya/MFnCompoundAttribute.h>
#include <maya/MFnEnumAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnStringData.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MIntArray.h>
#include <maya/MRampAttribute.h>

#include <cmath>
#include <limits>

MObject quillo::displayQuality, quillo::displayAs, quillo::uniformWidth, quillo::multiInstances;
MObject quillo::active, quillo::render, quillo::curveType, quillo::surfaceFeather;
MObject quillo::direction, quillo::rachisRenderAs, quillo::rachisSegment, quillo::rachisPosition;
MObject quillo::rachisSides, quillo::rachisThick, quillo::rachisStart, quillo::rachisEnd;
MObject quillo::rachisThickScale, quillo::barbuleNum, quillo::barbuleDensity;
MObject quillo::forcePerSegmentScale, quillo::forceRotateScale, quillo::forcePerSegment;
MObject quillo::turnAtForce, quillo::rotateDegree, quillo::rachisNoiseFrequency;
MObject quillo::barbuleNoiseFrequency, quillo::noisePhase, quillo::upDownLength;
MObject quillo::keyBarbuleStepAngle, quillo::barbuleGapThreshold, quillo::barbuleGapFrequency;
MObject quillo::barbuleGapPhase, quillo::barbuleGapSize, quillo::keyBarbulePos1;
MObject quillo::keyBarbulePos2, quillo::keyBarbulePos3, quillo::keyBarbulePos4;
MObject quillo::keyBarbuleStartAngle1, quillo::keyBarbuleStartAngle2;
MObject quillo::keyBarbuleStartAngle3, quillo::keyBarbuleStartAngle4;
MObject quillo::kbRotate1, quillo::kbRotate2, quillo::kbRotate3, quillo::kbRotate4;
MObject quillo::barbuleLengthRandScale, quillo::shapeSymmetry, quillo::barbuleSegments;
MObject quillo::leftBarbuleLengthScale, quillo::barbuleLength, quillo::rightBarbuleLengthScale;
MObject quillo::barbuleThick, quillo::barbuleRandThick, quillo::barbuleThickScale;
MObject quillo::barbuleThickAdjust, quillo::barbuleUpDownBarbule, quillo::barbuleUpDownRachis;
MObject quillo::upDownNoise, quillo::randSeed, quillo::displayProxyBoundingBox;
MObject quillo::proxyBoundingBoxScale, quillo::uvProjectScale, quillo::projectTexUV;
MObject quillo::autoConvertTex, quillo::barbuleColorTex, quillo::textureProcedure;
MObject quillo::rootColor, quillo::tipColor, quillo::fadeStart, quillo::mainColor;
MObject quillo::rootOpacity, quillo::tipOpacity, quillo::barbuleDiffuse, quillo::barbuleSpecular;
MObject quillo::barbuleSpecularColor, quillo::barbuleGloss, quillo::selfShadow, quillo::hueVar;
MObject quillo::satVar, quillo::valueVar, quillo::varFrequency, quillo::preFeatherRib;
MObject quillo::postFeatherRib, quillo::preFeatherMeshRib, quillo::postFeatherMeshRib;
MObject quillo::rachisRootColor, quillo::rachisTipColor;
MObject quillo::guidSurfaceInfo, quillo::guidSurface, quillo::guidUV, quillo::guidSurfaceID;
MObject quillo::inFeatherTurtleData, quillo::inFeatherTurtleArrayData;
MObject quillo::outputMesh, quillo::featherInfoID, quillo::outputFeatherMesh;
MObject quillo::combineBarbules, quillo::barbuleLengthThreshold;

namespace {

const char* const module = "quillo";

enum kind {
    integer, // MFnNumericData::kInt
    boolean, // kBoolean
    real,    // kDouble
    real2,   // k2Double
    real3,   // k3Double
    float2,  // k2Float
    colour,  // createColor: three floats
    choice,  // MFnEnumAttribute, fields below
    text,    // kString, default an empty string
    ramp,    // MRampAttribute::createCurveRamp, no entries of its own
    mesh,    // kMesh, no default
    surface, // kNurbsSurface, no default
    turtle,  // featherTurtleData
    turtles, // featherTurtleArrayData
    group,   // a compound: its children are the rows marked C that follow it
};

// Flags that differ from the host's defaults (readable, writable, storable, not keyable).
enum flag : unsigned int {
    K = 1u << 0,  // keyable
    nS = 1u << 1, // not storable
    nW = 1u << 2, // not writable
    H = 1u << 3,  // hidden
    A = 1u << 4,  // array
    Dd = 1u << 5, // disconnect behaviour kDelete
    Dr = 1u << 6, // disconnect behaviour kReset
    C = 1u << 7,  // a child of the compound above
};

const bool yes = true;
const bool no = false;
const double none = std::numeric_limits<double>::quiet_NaN();

struct attributeRow {
    MObject* handle;
    const char* longName;
    const char* shortName;
    kind type;
    double value[3]; // default, per component
    double minimum;  // hard limits, for every component; NaN: none
    double maximum;
    unsigned int flags;
    bool affectsOutput; // declared to affect "outputMesh"
};

// The long name is also the attribute's handle in the class.
#define ROW(name, shortName, type, flags, affects, minimum, maximum, ...)                          \
    { &quillo::name, #name, shortName, type, {__VA_ARGS__}, minimum, maximum, flags, affects }

// Long name, short name, type, flags, affects "outputMesh", minimum, maximum, default.
// clang-format off
const attributeRow attributeTable[] = {
    ROW(displayQuality,           "dispqua",      integer, K,         yes, 0,    100,  20),
    ROW(displayAs,                "disas",        choice,  K,         yes, none, none, 0),
    ROW(uniformWidth,             "uniwi",        boolean, K,         yes, none, none, 1),
    ROW(multiInstances,           "multiInst",    boolean, K,         yes, none, none, 1),
    ROW(active,                   "active",       boolean, K,         yes, none, none, 1),
    ROW(render,                   "render",       boolean, K,         no,  none, none, 1),
    ROW(curveType,                "curvetype",    choice,  K,         yes, none, none, 1),
    ROW(surfaceFeather,           "surfea",       boolean, K,         yes, none, none, 0),
    ROW(direction,                "dir",          choice,  K,         yes, none, none, 0),
    ROW(rachisRenderAs,           "rachra",       choice,  K,         no,  none, none, 0),
    ROW(rachisSegment,            "racseg",       integer, K,         yes, 1,    none, 4),
    ROW(rachisPosition,           "racpos",       real,    K,         yes, 0,    1,    0.5),
    ROW(rachisSides,              "racsides",     integer, K,         yes, 3,    none, 4),
    ROW(rachisThick,              "racthick",     real,    K,         yes, 0,    none, 0.5),
    ROW(rachisStart,              "racstart",     real,    K,         yes, 0,    1,    0),
    ROW(rachisEnd,                "racend",       real,    K,         yes, 0,    1,    1),
    ROW(rachisThickScale,         "racthS",       ramp,    0,         yes, none, none, 0),
    ROW(barbuleNum,               "barn",         integer, K,         yes, 0,    none, 100),
    ROW(barbuleDensity,           "barden",       ramp,    0,         yes, none, none, 0),
    ROW(forcePerSegmentScale,     "forpss",       ramp,    0,         yes, none, none, 0),
    ROW(forceRotateScale,         "forrs",        ramp,    0,         yes, none, none, 0),
    ROW(forcePerSegment,          "forceperseg",  real,    K,         yes, 0,    none, 0),
    ROW(turnAtForce,              "turnaf",       real,    K,         yes, 0,    1,    1),
    ROW(rotateDegree,             "rotdeg",       real,    K,         yes, none, none, 5),
    ROW(rachisNoiseFrequency,     "racnoisefre",  real,    K,         yes, 0,    none, 10),
    ROW(barbuleNoiseFrequency,    "barnoisefre",  real,    K,         yes, 0,    none, 20),
    ROW(noisePhase,               "noisephase",   real2,   K,         yes, none, none, 0,0),
    ROW(upDownLength,             "updowl",       real,    K,         yes, none, none, 0),
    ROW(keyBarbuleStepAngle,      "kbsd",         real,    K,         yes, -180, 180,  10),
    ROW(barbuleGapThreshold,      "bargapth",     real,    K,         yes, 0,    1,    1),
    ROW(barbuleGapFrequency,      "bargapf",      real,    K,         yes, none, none, 5),
    ROW(barbuleGapPhase,          "bargapp",      real,    K,         yes, none, none, 0),
    ROW(barbuleGapSize,           "bargs",        real,    K,         yes, none, none, 5),
    ROW(keyBarbulePos1,           "kbp1",         real,    K,         yes, 0,    1,    0),
    ROW(keyBarbulePos2,           "kbp2",         real,    K,         yes, 0,    1,    0.2),
    ROW(keyBarbulePos3,           "kbp3",         real,    K,         yes, 0,    1,    0.8),
    ROW(keyBarbulePos4,           "kbp4",         real,    K,         yes, 0,    1,    1),
    ROW(keyBarbuleStartAngle1,    "kbsa1",        real,    K,         yes, 0,    180,  60),
    ROW(keyBarbuleStartAngle2,    "kbsa2",        real,    0,         yes, 0,    180,  40),
    ROW(keyBarbuleStartAngle3,    "kbsa3",        real,    0,         yes, 0,    180,  20),
    ROW(keyBarbuleStartAngle4,    "kbsa4",        real,    0,         yes, 0,    180,  10),
    ROW(kbRotate1,                "kbr1",         ramp,    0,         yes, none, none, 0),
    ROW(kbRotate2,                "kbr2",         ramp,    0,         yes, none, none, 0),
    ROW(kbRotate3,                "kbr3",         ramp,    0,         yes, none, none, 0),
    ROW(kbRotate4,                "kbr4",         ramp,    0,         yes, none, none, 0),
    ROW(barbuleLengthRandScale,   "barls",        real,    K,         yes, 0,    1,    0),
    ROW(shapeSymmetry,            "shapesym",     boolean, K,         yes, none, none, 1),
    ROW(barbuleSegments,          "bars",         integer, K,         yes, 1,    none, 8),
    ROW(leftBarbuleLengthScale,   "lbarbls",      ramp,    0,         yes, none, none, 0),
    ROW(barbuleLength,            "barl",         real,    K,         yes, 0,    none, 0.2),
    ROW(rightBarbuleLengthScale,  "rbarbls",      ramp,    0,         yes, none, none, 0),
    ROW(barbuleThick,             "barth",        real,    K,         yes, 0,    none, 0.3),
    ROW(barbuleRandThick,         "barrath",      real,    K,         yes, 0,    1,    0),
    ROW(barbuleThickScale,        "barbts",       ramp,    0,         yes, none, none, 0),
    ROW(barbuleThickAdjust,       "barbtadj",     ramp,    0,         yes, none, none, 0),
    ROW(barbuleUpDownBarbule,     "barbudb",      ramp,    0,         yes, none, none, 0),
    ROW(barbuleUpDownRachis,      "barbudrs",     ramp,    0,         yes, none, none, 0),
    ROW(upDownNoise,              "updown",       boolean, K,         yes, none, none, 1),
    ROW(randSeed,                 "randseed",     integer, 0,         yes, none, none, 4352),
    ROW(displayProxyBoundingBox,  "dispPBB",      boolean, K,         yes, none, none, 0),
    ROW(proxyBoundingBoxScale,    "pbbs",         real3,   K,         yes, none, none, 0,0,0.1),
    ROW(uvProjectScale,           "uvprosc",      real,    K,         yes, 0,    none, 1),
    ROW(projectTexUV,             "protuv",       boolean, K,         no,  none, none, 1),
    ROW(autoConvertTex,           "autoct",       boolean, K,         no,  none, none, 1),
    ROW(barbuleColorTex,          "barcoltex",    text,    0,         no,  none, none, 0),
    ROW(textureProcedure,         "texpro",       text,    0,         no,  none, none, 0),
    ROW(rootColor,                "rtc",          colour,  K,         yes, none, none, 0.7,0.7,0.7),
    ROW(tipColor,                 "tpc",          colour,  K,         yes, none, none, 1,1,1),
    ROW(fadeStart,                "fadestart",    real,    K,         no,  0,    1,    0.9),
    ROW(mainColor,                "mainc",        colour,  nS,        yes, none, none, 0,0,0),
    ROW(rootOpacity,              "rooto",        real,    K,         no,  0,    1,    1),
    ROW(tipOpacity,               "tipo",         real,    K,         no,  0,    1,    1),
    ROW(barbuleDiffuse,           "bardif",       real,    K,         no,  0,    1,    0.5),
    ROW(barbuleSpecular,          "barsp",        real,    K,         no,  0,    1,    1),
    ROW(barbuleSpecularColor,     "barspecc",     colour,  K,         no,  none, none, 1,1,1),
    ROW(barbuleGloss,             "bargl",        real,    K,         no,  0,    0.1,  0.09),
    ROW(selfShadow,               "selfshadow",   real,    K,         no,  0,    1,    1),
    ROW(hueVar,                   "huevar",       integer, K,         no,  0,    360,  0),
    ROW(satVar,                   "satvar",       real,    K,         no,  0,    1,    0),
    ROW(valueVar,                 "valvar",       real,    K,         no,  0,    1,    0),
    ROW(varFrequency,             "varfreq",      real,    K,         no,  0,    none, 325.12),
    ROW(preFeatherRib,            "prefr",        text,    0,         no,  none, none, 0),
    ROW(postFeatherRib,           "postfr",       text,    0,         no,  none, none, 0),
    ROW(preFeatherMeshRib,        "prefmr",       text,    0,         no,  none, none, 0),
    ROW(postFeatherMeshRib,       "postfmr",      text,    0,         no,  none, none, 0),
    ROW(rachisRootColor,          "rartc",        colour,  K,         yes, none, none, 0.3,0.3,0.3),
    ROW(rachisTipColor,           "rattc",        colour,  K,         yes, none, none, 0.8,0.8,0.8),
    ROW(guidSurfaceInfo,          "gsinf",        group,   H|A|Dd,    yes, none, none, 0),
    ROW(guidSurface,              "guis",         surface, nS|H|Dr|C, yes, none, none, 0),
    ROW(guidUV,                   "guv",          float2,  K|C,       yes, 0,    1,    0,0),
    ROW(guidSurfaceID,            "gsurid",       integer, K|nS|Dr|C, yes, 0,    none, 0),
    ROW(inFeatherTurtleData,      "infeatd",      turtle,  H|A|Dd,    yes, none, none, 0),
    ROW(inFeatherTurtleArrayData, "infeatarrayd", turtles, H|A|Dd,    yes, none, none, 0),
    ROW(outputMesh,               "outputm",      mesh,    nS|nW|H,   no,  none, none, 0),
    ROW(featherInfoID,            "feaid",        integer, nS|nW|H,   no,  none, none, -1),
    ROW(outputFeatherMesh,        "outfeamesh",   boolean, K,         yes, none, none, 0),
    ROW(combineBarbules,          "combbarb",     boolean, K,         yes, none, none, 0),
    ROW(barbuleLengthThreshold,   "barlenth",     real,    K,         yes, 0,    none, 0),
};
// clang-format on
#undef ROW

struct enumFields {
    MObject* handle;
    struct field {
        const char* name;
        short value;
    };
    field fields[3];
    int count;
};

const enumFields enumTable[] = {
    {&quillo::displayAs, {{"FinalFeather", 0}, {"KeyBarbule", 1}}, 2},
    {&quillo::direction, {{"U", 0}, {"V", 1}}, 2},
    {&quillo::rachisRenderAs, {{"Nurbs Curve", 0}, {"Subdivision Mesh", 1}, {"None", 3}}, 3},
    {&quillo::curveType, {{"Linear Curve", 0}, {"Cubic Curve", 1}}, 2},
};

MStatus addFields(MFnEnumAttribute& fn, const MObject* handle) {
    for (const enumFields& entry : enumTable) {
        if (entry.handle != handle)
            continue;
        for (int i = 0; i < entry.count; ++i) {
            MStatus status = fn.addField(entry.fields[i].name, entry.fields[i].value);
            if (status != MS::kSuccess)
                return status;
        }
    }
    return MS::kSuccess;
}

unsigned int componentsOf(kind type) {
    switch (type) {
    case real2:
    case float2:
        return 2;
    case real3:
    case colour:
        return 3;
    default:
        return 1;
    }
}

// Hard limits, the same for every component.
void setLimits(MFnNumericAttribute& fn, const attributeRow& row) {
    const unsigned int n = componentsOf(row.type);
    if (!std::isnan(row.minimum)) {
        const double m = row.minimum;
        QUILLO_CHECK(n == 1 ? fn.setMin(m) : n == 2 ? fn.setMin(m, m) : fn.setMin(m, m, m), module);
    }
    if (!std::isnan(row.maximum)) {
        const double m = row.maximum;
        QUILLO_CHECK(n == 1 ? fn.setMax(m) : n == 2 ? fn.setMax(m, m) : fn.setMax(m, m, m), module);
    }
}

MObject createNumeric(const attributeRow& row) {
    MStatus status;
    MFnNumericAttribute fn;
    MObject attribute;
    const double* v = row.value;
    switch (row.type) {
    case integer:
        attribute = fn.create(row.longName, row.shortName, MFnNumericData::kInt, v[0], &status);
        break;
    case boolean:
        attribute = fn.create(row.longName, row.shortName, MFnNumericData::kBoolean, v[0], &status);
        break;
    case real:
        attribute = fn.create(row.longName, row.shortName, MFnNumericData::kDouble, v[0], &status);
        break;
    case real2:
        attribute = fn.create(row.longName, row.shortName, MFnNumericData::k2Double, 0, &status);
        QUILLO_CHECK(status, module);
        status = fn.setDefault(v[0], v[1]);
        break;
    case real3:
        attribute = fn.create(row.longName, row.shortName, MFnNumericData::k3Double, 0, &status);
        QUILLO_CHECK(status, module);
        status = fn.setDefault(v[0], v[1], v[2]);
        break;
    case float2:
        attribute = fn.create(row.longName, row.shortName, MFnNumericData::k2Float, 0, &status);
        QUILLO_CHECK(status, module);
        status = fn.setDefault(static_cast<float>(v[0]), static_cast<float>(v[1]));
        break;
    default: // colour
        attribute = fn.createColor(row.longName, row.shortName, &status);
        QUILLO_CHECK(status, module);
        status = fn.setDefault(static_cast<float>(v[0]), static_cast<float>(v[1]),
                               static_cast<float>(v[2]));
        break;
    }
    QUILLO_CHECK(status, module);
    setLimits(fn, row);
    return attribute;
}

MObject createTyped(const attributeRow& row) {
    MStatus status;
    MFnTypedAttribute fn;
    MObject attribute;
    switch (row.type) {
    case text: {
        MFnStringData text;
        MObject empty = text.create(&status);
        QUILLO_CHECK(status, module);
        attribute = fn.create(row.longName, row.shortName, MFnData::kString, empty, &status);
        break;
    }
    case mesh:
        attribute = fn.create(row.longName, row.shortName, MFnData::kMesh, &status);
        break;
    case surface:
        attribute = fn.create(row.longName, row.shortName, MFnData::kNurbsSurface, &status);
        break;
    case turtle:
        attribute = fn.create(row.longName, row.shortName, featherTurtleData::id, MObject::kNullObj,
                              &status);
        break;
    default: // turtles
        attribute = fn.create(row.longName, row.shortName, featherTurtleArrayData::id,
                              MObject::kNullObj, &status);
        break;
    }
    QUILLO_CHECK(status, module);
    return attribute;
}

MObject createAttribute(const attributeRow& row) {
    MStatus status;
    MObject attribute;
    switch (row.type) {
    case choice: {
        MFnEnumAttribute fn;
        attribute =
            fn.create(row.longName, row.shortName, static_cast<short>(row.value[0]), &status);
        QUILLO_CHECK(status, module);
        QUILLO_CHECK(addFields(fn, row.handle), module);
        break;
    }
    case ramp:
        attribute = MRampAttribute::createCurveRamp(row.longName, row.shortName, &status);
        QUILLO_CHECK(status, module);
        break;
    case group: {
        MFnCompoundAttribute fn;
        attribute = fn.create(row.longName, row.shortName, &status);
        QUILLO_CHECK(status, module);
        break;
    }
    case text:
    case mesh:
    case surface:
    case turtle:
    case turtles:
        attribute = createTyped(row);
        break;
    default:
        attribute = createNumeric(row);
        break;
    }
    return attribute;
}

void setFlags(MObject& attribute, unsigned int flags) {
    MFnAttribute fn(attribute);
    if (flags & K)
        QUILLO_CHECK(fn.setKeyable(true), module);
    if (flags & nS)
        QUILLO_CHECK(fn.setStorable(false), module);
    if (flags & nW)
        QUILLO_CHECK(fn.setWritable(false), module);
    if (flags & H)
        QUILLO_CHECK(fn.setHidden(true), module);
    if (flags & A)
        QUILLO_CHECK(fn.setArray(true), module);
    if (flags & Dd)
        QUILLO_CHECK(fn.setDisconnectBehavior(MFnAttribute::kDelete), module);
    if (flags & Dr)
        QUILLO_CHECK(fn.setDisconnectBehavior(MFnAttribute::kReset), module);
}

// Default curve-ramp entries of a node the user creates: a plausible feather at the node's
// defaults without touching anything (README, "Default ramps").
struct rampPoint {
    float position;
    float value;
    MRampAttribute::MInterpolation interpolation;
};

struct defaultRamp {
    MObject* handle;
    rampPoint points[3];
    unsigned int count;
};

const MRampAttribute::MInterpolation linear = MRampAttribute::kLinear;
const MRampAttribute::MInterpolation smooth = MRampAttribute::kSmooth;

// Ramp, then up to three entries (position, value, interpolation) and their count.
// clang-format off
const defaultRamp defaultRamps[] = {
    {&quillo::rachisThickScale,     {{0, 1, linear}, {1, 1, linear}}, 2},
    {&quillo::barbuleDensity,       {{0, 1, linear}, {1, 1, linear}}, 2},
    {&quillo::forcePerSegmentScale, {{0, 1, linear}, {1, 1, linear}}, 2},
    {&quillo::forceRotateScale,     {{0, 1, linear}, {1, 1, linear}}, 2},
    // Flat at 0.5: key barbules run straight at their start angles.
    {&quillo::kbRotate1,            {{0, 0.5f, linear}, {1, 0.5f, linear}}, 2},
    {&quillo::kbRotate2,            {{0, 0.5f, linear}, {1, 0.5f, linear}}, 2},
    {&quillo::kbRotate3,            {{0, 0.5f, linear}, {1, 0.5f, linear}}, 2},
    {&quillo::kbRotate4,            {{0, 0.5f, linear}, {1, 0.5f, linear}}, 2},
    // Short at the root, longest past the middle, tapering to a short tip.
    {&quillo::leftBarbuleLengthScale,  {{0, 0.3f, smooth}, {0.6f, 1, smooth}, {1, 0.15f, smooth}},
     3},
    {&quillo::rightBarbuleLengthScale, {{0, 0.3f, smooth}, {0.6f, 1, smooth}, {1, 0.15f, smooth}},
     3},
    {&quillo::barbuleThickScale,    {{0, 1, linear}, {1, 1, linear}}, 2},
    {&quillo::barbuleThickAdjust,   {{0, 1, linear}, {1, 1, linear}}, 2},
    // Bending grows towards a barbule's tip, evenly along the rachis; "upDownLength" sets how
    // much (none at its default 0).
    {&quillo::barbuleUpDownBarbule, {{0, 0, smooth}, {1, 1, smooth}}, 2},
    {&quillo::barbuleUpDownRachis,  {{0, 1, linear}, {1, 1, linear}}, 2},
};
// clang-format on

} // namespace

MStatus quillo::initialize() {
    for (const attributeRow& row : attributeTable) {
        *row.handle = createAttribute(row);
        setFlags(*row.handle, row.flags);
    }

    // A compound takes the rows marked C below it; then the top-level attributes are added in
    // table order (adding a compound adds its children).
    MFnCompoundAttribute parent;
    for (const attributeRow& row : attributeTable) {
        if (row.type == group)
            parent.setObject(*row.handle);
        else if (row.flags & C)
            QUILLO_CHECK(parent.addChild(*row.handle), module);
    }
    for (const attributeRow& row : attributeTable)
        if (!(row.flags & C))
            QUILLO_CHECK(addAttribute(*row.handle), module);

    for (const attributeRow& row : attributeTable)
        if (row.affectsOutput)
            QUILLO_CHECK(attributeAffects(*row.handle, outputMesh), module);
    return MS::kSuccess;
}

void quillo::addDefaultRampEntries() {
    const MObject node = thisMObject();
    for (const defaultRamp& ramp : defaultRamps) {
        MFloatArray positions, values;
        MIntArray interpolations;
        for (unsigned int i = 0; i < ramp.count; ++i) {
            positions.append(ramp.points[i].position);
            values.append(ramp.points[i].value);
            interpolations.append(ramp.points[i].interpolation);
        }
        MStatus status;
        MRampAttribute entries(node, *ramp.handle, &status);
        QUILLO_CHECK(status, module);
        if (status != MS::kSuccess)
            continue;
        entries.addEntries(positions, values, interpolations, &status);
        QUILLO_CHECK(status, module);
    }
}
