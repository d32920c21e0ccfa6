#pragma once
// Mesh walking: how the component nodes turn a polygon mesh and a vertex group text into turtle
// records. Stateless functions of their arguments; nothing here reports an error (the nodes
// report a text over the limit).
//
// Vertex group text: tokens separated by spaces, each a vertex id ("12") or an inclusive range
// ("3:9", or "9:3" walking downward, ids in the order written). Splitting follows
// MString::split, so runs of spaces or colons make no empty pieces. Any other token (a sign, a
// letter, a non-ASCII byte, three or more parts, a number beyond 32 bits) is ignored. Ids at or
// past the vertex count are skipped, and a range goes on past them. Duplicates and order are
// kept.
//
// Positions and normals are read in world space (mesh data is already in the space it was made
// in). Normals are the plain, not angle-weighted, vertex normals.
//
// Bounds: a range never expands beyond the mesh's vertex count, and a walk ends at the first
// group that reaches past the last vertex, so both are bounded by the mesh. On top of that a
// text or a walk that would list more than `maxWalkIds` ids in all gives nothing at all rather
// than part of what was asked (a single path or a walk that large is no groom, and holding it
// would take gigabytes).

#include "plugin/turtleRecord.h"

#include <maya/MIntArray.h>
#include <maya/MPointArray.h>
#include <maya/MString.h>
#include <maya/MVectorArray.h>

#include <vector>

class MFnMesh;

// The most ids a parsed vertex group, or all the groups of one walk together, may hold.
const unsigned int maxWalkIds = 1u << 22;

// The ids the text names on a mesh of vertexCount vertices. Fewer than two usable ids (a path
// needs two points) give an empty list; so do more than maxWalkIds, which also sets
// *overLimit (when given) for the node to report.
MIntArray parseVertexGroup(const MString& text, int vertexCount, bool* overLimit = nullptr);

// The positions and normals of the listed vertices, in list order; an id whose position or
// normal cannot be read is skipped. usedIds lists each id that made it in, each followed by
// one space ("0 1 2 "). Fewer than two usable vertices leave all three empty.
void buildTurtleRecord(const MFnMesh& mesh, const MIntArray& ids, MVectorArray& points,
                       MVectorArray& normals, MString& usedIds);

// The vertex group repeated across the mesh: group k is the parsed ids shifted up by
// k * walkStep. The walk ends at the first group with an id at or past vertexCount, or after
// walkTimes groups (a negative walkTimes means as many as fit; 0 gives none). walkStep is at
// least 1; a smaller value is taken as 1, so the walk always moves. More than maxWalkIds ids in
// all give no group and set *overLimit (when given).
std::vector<MIntArray> walkVertexGroup(const MString& text, int walkStep, int walkTimes,
                                       int vertexCount, bool* overLimit = nullptr);

// One record per group that keeps at least two vertices, in group order, with u = v = 0 and
// growVertexID 0.
std::vector<turtleRecord> buildTurtleRecords(const MFnMesh& mesh,
                                             const std::vector<MIntArray>& groups);

// Sets u and v of every record to the grow mesh's UV (in the named set; empty means the
// current one) nearest to the record's root. A lookup that fails leaves the previous record's
// UV, (0, 0) for the first.
void sampleGrowUVs(std::vector<turtleRecord>& records, MFnMesh& growMesh, const MString& uvSet);

// Sets growVertexID of every record to the vertex, of the grow-mesh polygon nearest to the
// root, that lies nearest to the root itself; ties go to the vertex first in polygon order. A
// record whose candidates all lie 1e8 or more away keeps its id.
void findGrowVertexIds(std::vector<turtleRecord>& records, const MFnMesh& growMesh);

// Appends the root marker, tip then left then right: the tip lies along the first segment at
// size times its length from the root; the base passes through the root, 0.6 times as long as
// the tip's distance, turned a quarter turn about the root normal. Paths of fewer than two
// points append nothing.
void markerTriangle(const MVectorArray& points, const MVectorArray& normals, float size,
                    MPointArray& marker);
