#pragma once
// Key-barbule previews: the rachis and the four key barbules per side, without the random,
// noise, gap and force shaping of a final build, so that the key-barbule controls can be
// shaped by eye. No random numbers are drawn. A key barbule has barbulePointCount points; its
// first point sits on the rachis and each later point follows a step and a turn by its
// rotation ramp at j / P (0.5 meaning straight on). Sides exist as in the final builds: left
// when 1 - rachisPosition >= 1e-5, right when rachisPosition >= 1e-5. Only complete keys are
// built (see keyBarbuleSettings::keyCount). Both read generator.info; the caller clears the
// geometry first.
//
// Refused inputs (see buildInputs.h) return false with the geometry cleared.

#include "feather/featherGenerator.h"
#include "feather/featherGeometry.h"
#include "feather/turtlePath.h"

#include <maya/MObject.h>

// World-space preview along a guide path. The key barbules start at the linear frames at their
// key positions, turned by +start angle (left) or -start angle (right); each step is
// lengthScale(key position) * barbuleLength * rachisLength / (P - 1). All curves, the left
// four then the right four, go to leftBarbules. The extent box uses the path's scale as its
// factor. Returns false, building nothing, when the path has no frames or barbuleLength is
// below 1e-5. Clears the generator's clamp.
bool buildKeyBarbules(featherGenerator& generator, const turtlePath& path,
                      featherGeometry& geometry);

// Preview in the parameter space of a guide NURBS surface: the rachis points from rachisStart
// to rachisEnd (points only), then key barbules starting at (key position, rachisPosition) in
// parameter space, each step turning first and then moving (1 - rachisPosition) (left) or
// rachisPosition (right) times barbuleLength / (P - 1) times the length scale, every point
// projected onto the surface. Left curves go to leftBarbules, right ones to rightBarbules;
// proxyBox takes every point. Without barbule length only the rachis is built. Sets the
// generator's clamp. False, with the geometry cleared, when a surface sample fails or the
// object is not a NURBS surface.
bool buildSurfaceKeyBarbules(featherGenerator& generator, const MObject& surface,
                             featherGeometry& geometry);
