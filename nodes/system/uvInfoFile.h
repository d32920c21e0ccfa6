#pragma once
// The UV info file: feather roots given explicitly, as u/v positions and, for meshes, the face
// each position lies on. Produced outside the plug-in; the feather system only reads it.
//
// Layout (binary, little-endian, packed, no magic or version):
//   int32  count       number of positions N
//   int32  hasFaceIds  1: a face-id block follows; any other value: none
//   int32  faceIds[N]  only when hasFaceIds is 1: the face (an index into the whole mesh) of
//                      each position
//   double uv[2N]      u then v of each position
// so a file with face ids is 8 + 20 N bytes long, one without 8 + 16 N.

#include <maya/MFloatArray.h>
#include <maya/MIntArray.h>
#include <maya/MString.h>

// Reads the file at `path` and appends, in file order, each position's u and v (narrowed to
// float) and, when the file has face ids, each face id (empty otherwise). The callers pass
// empty lists.
//
// Returns false, with one error shown, when:
// - the file cannot be opened: "Can't open file " + path + ".";
// - it is shorter than its 8-byte header (an empty file included), or shorter than its count
//   announces; nothing is allocated beyond what the file holds, so a huge count is refused
//   before any reading;
// - its count is negative;
// - reading fails part way.
// The lists are left untouched on failure. A count of 0 is an empty list of roots: success,
// nothing appended. Bytes after the announced data are ignored.
//
// Values are not range-checked: face ids are kept as written, and a coordinate beyond float
// range narrows to an infinity (NaN stays NaN); placement decides what to do with them.
bool readUVInfoFile(const MString& path, MFloatArray& u, MFloatArray& v, MIntArray& faceIds);
