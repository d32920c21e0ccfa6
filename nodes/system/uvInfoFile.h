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
// Returns false, with the errors shown, when:
// - the file cannot be opened, or is not a regular file (a folder, a FIFO, a device: refused
//   without blocking): "Can't open file " + path + ".", then a second error with the reason;
// - it is shorter than its 8-byte header (an empty file included), or shorter than its count
//   announces;
// - its count is negative, or above maxPositions (the build budget's share; nothing is read);
// - reading fails part way (a sparse file that announced more than it holds).
// The lists are left untouched on failure. Buffers grow with what has been read, a chunk at a
// time, never with what the file announces. A count of 0 is an empty list of roots: success,
// nothing appended. Bytes after the announced data are ignored.
//
// Values are not range-checked: face ids are kept as written, and a coordinate beyond float
// range narrows to an infinity (NaN stays NaN); placement decides what to do with them.
bool readUVInfoFile(const MString& path, MFloatArray& u, MFloatArray& v, MIntArray& faceIds,
                    unsigned long long maxPositions = ~0ull);
