#pragma once
// Where a u/v lies relative to one face's u/v polygon: the test that decides which mesh face a
// feather root stands on.

enum class uvLocation { inside, onEdge, onVertex, outside };

// Classifies (u, v) against the polygon (polygonU[k], polygonV[k]), k < count, in the face's
// vertex order, with a crossing-number test in double precision:
// - onVertex when (u, v) equals a polygon vertex exactly;
// - otherwise rightward and leftward crossings are counted separately; when their parities
//   differ the point is onEdge, else an odd rightward count means inside.
// Works for concave polygons and any count; count 0 is outside. Nothing beyond `count` entries
// is read. A non-finite u or v is outside every face.
uvLocation uvInFace(double u, double v, const double* polygonU, const double* polygonV,
                    unsigned int count);
