#pragma once
// Axis-aligned box. A new or cleared box is empty: the first expand() sets it to the point or
// box given; min(), max() and center() of an empty box are the origin, its sizes 0.

#include <maya/MPoint.h>
#include <maya/MStatus.h>
#include <maya/MTypes.h>

class MMatrix;

class OPENMAYA_EXPORT MBoundingBox {
  public:
    MBoundingBox() = default;
    // The corners need not be ordered: the box spans them.
    MBoundingBox(const MPoint& corner1, const MPoint& corner2);
    MBoundingBox(const MBoundingBox&) = default;
    MBoundingBox& operator=(const MBoundingBox&) = default;

    void clear();
    // Replaces the box by the box around its eight transformed corners.
    MStatus transformUsing(const MMatrix& matrix);
    MStatus expand(const MPoint& point);
    // An empty box adds nothing.
    MStatus expand(const MBoundingBox& box);
    // Boundary included; an empty box contains nothing.
    bool contains(const MPoint& point) const;
    // Whether the boxes overlap once each is grown by tolerance; false if either is empty.
    bool intersects(const MBoundingBox& box, double tolerance = 0.0) const;

    double width() const;
    double height() const;
    double depth() const;
    MPoint center() const;
    MPoint min() const;
    MPoint max() const;

  private:
    MPoint min_;
    MPoint max_;
    bool empty_ = true;
};
