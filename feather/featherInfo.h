#pragma once
// The description of one kind of feather: what every build reads. A feather node owns one,
// refills it from its attributes before each build and registers it so that feather systems
// can borrow it. The generator only borrows it for the length of a build.
//
// Units: lengths in scene units (barbuleLength and the rachis extents are fractions of the
// rachis length or of the unit parameter range, see the builds); angles in degrees; ramp
// positions and t in [0, 1]. Ramps are bound to the owning node's ramp attributes, so a build
// reads the node's current entries. An unbound ramp reads as 0 everywhere.
//
// The module also holds the texture sampler that colours feathers from a shading network.

#include <maya/MColor.h>
#include <maya/MFloatArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MRampAttribute.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

#include <vector>

// The four key barbules that shape a feather's barbules along the rachis: their positions
// (t of the rachis, meant to be ascending), start angles in degrees and rotation ramps (over
// the barbule, 0.5 meaning no turn), and the step angle that scales the ramps.
struct keyBarbuleSettings {
    float stepAngle = 0.0f;
    std::vector<float> startAngles;
    std::vector<float> keyPositions;
    std::vector<MRampAttribute> rotateRamps;

    // Step angle 0 and the three lists empty.
    void clear();
    // Keys present in all three lists, at most 4; the builds use only these.
    unsigned int keyCount() const;
};

class featherInfo {
  public:
    // Starts in the reset state.
    featherInfo();
    // Every field back to its reset value; turtleIds and keyBarbuleSet emptied, ramps unbound.
    void reset();

    // Ids the owning node took in the turtle registry for its turtle-array inputs.
    std::vector<int> turtleIds;
    keyBarbuleSettings keyBarbuleSet;

    short curveType;      // 0 linear frames, 1 cubic (Catmull-Rom) frames
    short direction;      // the rachis runs along surface u (0) or v (1)
    float rachisPosition; // across-parameter of the rachis on a guide surface, [0, 1]
    short rachisRenderAs; // 0 curve, 1 subdivision mesh (the tube is built), 3 none
    int rachisPointCount; // points of a resampled rachis, >= 2
    int rachisSides;      // sides of the rachis tube, >= 3 for a tube
    float rachisThick;
    float rachisStart; // part of the guide the rachis covers, [0, 1]
    float rachisEnd;
    MRampAttribute rachisThickScale; // over the rachis

    int barbuleCount; // barbule indices per side: int(barbuleNum * quality)
    int barbuleNum;
    float quality;
    MRampAttribute barbuleDensity; // over t; a barbule is kept when its draw is not above it
    int barbulePointCount;         // points per barbule, >= 1
    float barbuleLength;           // fraction of the rachis length (world builds) or of the
                                   // parameter range (surface builds)
    float barbuleLengthRandScale;  // random shortening of barbules, the attribute + 0.001
    MRampAttribute leftBarbuleLengthScale; // over t
    MRampAttribute rightBarbuleLengthScale;

    float forcePerSegment; // random force added per barbule point
    float turnAtForce;     // accumulated force that triggers a noise turn
    float rotateDegree;    // degrees of a force turn at full noise
    float upDownLength;    // degrees of bending per point (world builds), or the offset along
                           // the surface normal (surface builds)
    bool upDownNoise;
    MRampAttribute barbuleUpDownBarbule; // over the barbule
    MRampAttribute barbuleUpDownRachis;  // over t
    MRampAttribute forceRotateScale;     // over t
    MRampAttribute forcePerSegmentScale; // over t
    float rachisNoiseFrequency;
    float barbuleNoiseFrequency;
    float noisePhase[2];

    float barbuleGapFrequency;
    float barbuleGapPhase;
    float barbuleGapThreshold; // gaps open where the gap noise factor exceeds it; 1 means none
    float barbuleGapSize;      // degrees of a full gap

    float barbuleThick;
    MRampAttribute barbuleThickScale;  // over the barbule
    MRampAttribute barbuleThickAdjust; // over t
    float barbuleRandThick;            // random thinning of barbules, [0, 1]
    bool uniformWidth;

    float proxyBoundingBoxScale[3]; // extent-box margins: across, along, along the normal

    MColor rachisRootColor;
    MColor rachisTipColor;
    MColor rootColor;
    MColor tipColor;

    float uvProjectScale; // u spread of the combined barbule sheets
    int randSeed;
    bool outputFeatherMesh; // build the rachis tube and the barbule meshes
    bool combineBarbules;   // one sheet per side instead of a strip per barbule
    float barbuleLengthThreshold;
};

// Samples the shading network feeding a plug ("node.attribute", as MPlug::name() gives it) at
// each (u[i], v[i]), seen from the active view's camera. Colours come back in x, y, z with one
// entry per sample; transparencies likewise. Every failing call is reported on the error stream
// as an API error of module featherInfo; the sampling's own status is returned, and on failure
// the results must not be used.
MStatus sampleTexture(const MString& networkName, const MFloatArray& u, const MFloatArray& v,
                      MFloatVectorArray& colors, MFloatVectorArray& transparencies);
