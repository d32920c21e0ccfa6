#pragma once
// The rachis: guide paths made from surfaces and turtle records, the rachis sampled from a
// path, its thickness, tube mesh and extent box, and the frames at which barbules start.
//
// All arithmetic is single precision, as the frames are; surface evaluation is double and its
// results are stored as float.

#include "feather/featherGenerator.h"
#include "feather/featherGeometry.h"
#include "feather/rampSnapshot.h"
#include "feather/surfaceSampler.h"
#include "feather/turtlePath.h"

#include <maya/MObject.h>
#include <maya/MVectorArray.h>

// Walks the guide surface along the rachis direction at the description's rachisPosition and
// records rachisPointCount (at least 2) evenly spaced frames over the whole parameter range,
// root first: world-space point and unit normal. Reads generator.info; sets the generator's
// clamp and moves its turtle. False, with the path reset, when there is no description, the
// object is not a NURBS surface, or a sample fails (a knot domain other than [0, 1], or
// values that are not finite).
bool turtleFromSurface(featherGenerator& generator, const MObject& surface, turtlePath& path);

// Appends one frame per index of two equally long arrays of at least 2 entries (points with
// w = 1). False, leaving the path unchanged, for shorter or unequal arrays. Called on a reset
// path.
bool turtleFromData(const MVectorArray& positions, const MVectorArray& normals, turtlePath& path);

// Samples the rachis from part [start, end] of the path into geometry.rachisPoints and
// rachisNormals (appended) and sets rachisLength. With start ~0, end ~1 and at least `count`
// frames, the frames are copied as they are; otherwise `count` points (at least 2) are spaced
// evenly in frame index, interpolated linearly, each taking the normal of the frame at or below
// it. A path without frames adds nothing.
void sampleRachis(const turtlePath& path, float start, float end, int count,
                  featherGeometry& geometry);

// Sum of the distances between consecutive points.
float polylineLength(const MFloatPointArray& points);

// rachisThickness[i] = scale(i / m) * thick for each of the m rachis points.
void fillRachisThickness(const rampSnapshot& scale, float thick, featherGeometry& geometry);

// The frame at t in [0, 1] along the whole path, linear between frames: position interpolated,
// heading along the segment, up the interpolated normal, both normalised. At t = 1 the last
// point, the last segment's direction and the last normal. A one-frame path gives that frame
// with a zero heading. The path must have frames.
void linearFrame(const turtlePath& path, float t, turtleState& frame);

// Uniform Catmull-Rom point at x in [0, 1] over the path's frames (spacing path.step), with the
// normal interpolated linearly between the two frames around x. The path must have frames.
void cubicSample(const turtlePath& path, float x, MFloatPoint& point, MFloatVector& normal);

// Three consecutive cubic samples around the current barbule; its frame is the middle one.
class cubicWindow {
  public:
    // Moves the window to barbule index i of `count` (i = 0 .. count), given the window of
    // index i - 1: index 0 fills it with the samples at 0, 0 and 1 / count; 0 < i < count
    // pushes the sample at (i + 1) / count; i = count repeats the last sample.
    void advance(const turtlePath& path, int i, int count);
    // position = middle sample; heading = the difference across the window (one-sided at the
    // ends); up = heading turned a quarter turn about heading ^ normal; both normalised.
    void frame(turtleState& turtle) const;

  private:
    void push(const MFloatPoint& point, const MFloatVector& normal);

    MFloatPoint points_[3] = {MFloatPoint(0.0f, 0.0f, 0.0f, 1.0f),
                              MFloatPoint(0.0f, 0.0f, 0.0f, 1.0f),
                              MFloatPoint(0.0f, 0.0f, 0.0f, 1.0f)};
    MFloatVector normals_[3];
};

// Replaces geometry.rachisMesh with a tube of `sides` sides around rachisPoints: ring i has
// radius rachisThickness[i] * rachisThick and is turned from the y axis onto the rachis
// tangent; UVs repeat the seam (sides + 1 per ring), v = i / (m - 1). Expands meshBox by every
// ring point. Fewer than 2 points or 3 sides make no tube.
void buildRachisMesh(featherGeometry& geometry, float rachisThick, int sides);

// Expands geometry.proxyBox around the rachis: at each point by the point, by the point moved
// across the rachis (tangent ^ normal, normalised) by (offsetLength + margins[0]) * factor each
// way, and along the normal by margins[2] * factor each way; the same four offsets around the
// root pulled back and the tip pushed on by the tangent times margins[1] * factor. A one-point
// rachis adds the point alone.
void expandExtentBox(featherGeometry& geometry, float offsetLength, float factor,
                     const float margins[3]);

// The rachis walked on a guide surface in parameter space, for the surface builds: from
// rachisStart to rachisEnd along the rachis direction at rachisPosition, `count` points (at
// least 2) with the surface normal as the turtle's up. Appends to rachisPoints and expands
// proxyBox by each point. With `full`, also appends rachisNormals and the thickness
// thickScale(i / count) * rachisThick, and expands proxyBox by the point moved each way along
// the normal by margins[2]. Sets the generator's clamp and moves its turtle. False when a
// sample fails.
bool walkSurfaceRachis(featherGenerator& generator, const featherInfo& info,
                       const surfaceSampler& surface, int count, const rampSnapshot& thickScale,
                       bool full, featherGeometry& geometry);

// Expands a box by a float point taken as cartesian (its w is not used).
void expandBox(MBoundingBox& box, const MFloatPoint& point);
