#include <maya/MBoundingBox.h>

#include <maya/MMatrix.h>

#include <algorithm>

MBoundingBox::MBoundingBox(const MPoint& corner1, const MPoint& corner2) {
    expand(corner1);
    expand(corner2);
}

void MBoundingBox::clear() {
    min_ = MPoint::origin;
    max_ = MPoint::origin;
    empty_ = true;
}

MStatus MBoundingBox::transformUsing(const MMatrix& matrix) {
    if (empty_)
        return MS::kSuccess;
    const MPoint lo = min_, hi = max_;
    clear();
    for (int corner = 0; corner < 8; ++corner) {
        MPoint p((corner & 1) ? hi.x : lo.x, (corner & 2) ? hi.y : lo.y,
                 (corner & 4) ? hi.z : lo.z);
        p *= matrix;
        expand(p.cartesianize());
    }
    return MS::kSuccess;
}

MStatus MBoundingBox::expand(const MPoint& point) {
    // Boxes hold cartesian corners.
    const MPoint p = MPoint(point).cartesianize();
    if (empty_) {
        min_ = max_ = MPoint(p.x, p.y, p.z);
        empty_ = false;
        return MS::kSuccess;
    }
    min_ = MPoint(std::min(min_.x, p.x), std::min(min_.y, p.y), std::min(min_.z, p.z));
    max_ = MPoint(std::max(max_.x, p.x), std::max(max_.y, p.y), std::max(max_.z, p.z));
    return MS::kSuccess;
}

MStatus MBoundingBox::expand(const MBoundingBox& box) {
    if (box.empty_)
        return MS::kSuccess;
    expand(box.min_);
    return expand(box.max_);
}

bool MBoundingBox::contains(const MPoint& point) const {
    if (empty_)
        return false;
    const MPoint p = MPoint(point).cartesianize();
    return p.x >= min_.x && p.x <= max_.x && p.y >= min_.y && p.y <= max_.y && p.z >= min_.z &&
           p.z <= max_.z;
}

bool MBoundingBox::intersects(const MBoundingBox& box, double tolerance) const {
    if (empty_ || box.empty_)
        return false;
    return min_.x <= box.max_.x + tolerance && box.min_.x <= max_.x + tolerance &&
           min_.y <= box.max_.y + tolerance && box.min_.y <= max_.y + tolerance &&
           min_.z <= box.max_.z + tolerance && box.min_.z <= max_.z + tolerance;
}

double MBoundingBox::width() const {
    return max_.x - min_.x;
}
double MBoundingBox::height() const {
    return max_.y - min_.y;
}
double MBoundingBox::depth() const {
    return max_.z - min_.z;
}

MPoint MBoundingBox::center() const {
    return MPoint(0.5 * (min_.x + max_.x), 0.5 * (min_.y + max_.y), 0.5 * (min_.z + max_.z));
}

MPoint MBoundingBox::min() const {
    return min_;
}
MPoint MBoundingBox::max() const {
    return max_;
}
