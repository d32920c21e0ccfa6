#include "deform/skinning.h"

#include <cmath>

namespace host {

namespace {

using Quaternion = double[4]; // (w, x, y, z)

void multiply(const double a[4], const double b[4], double out[4]) {
    const double w = a[0] * b[0] - a[1] * b[1] - a[2] * b[2] - a[3] * b[3];
    const double x = a[0] * b[1] + a[1] * b[0] + a[2] * b[3] - a[3] * b[2];
    const double y = a[0] * b[2] - a[1] * b[3] + a[2] * b[0] + a[3] * b[1];
    const double z = a[0] * b[3] + a[1] * b[2] - a[2] * b[1] + a[3] * b[0];
    out[0] = w;
    out[1] = x;
    out[2] = y;
    out[3] = z;
}

// The orthogonal factor of the upper 3x3 of m (polar decomposition, by averaging with the
// inverse transpose until it settles); a reflection keeps its sign flip in the stretch.
MMatrix rotationOf(const MMatrix& m) {
    MMatrix r;
    for (unsigned i = 0; i < 3; ++i)
        for (unsigned j = 0; j < 3; ++j)
            r(i, j) = m(i, j);
    if (r.det3x3() < 0.0)
        for (unsigned j = 0; j < 3; ++j)
            r(0, j) = -r(0, j);
    if (std::fabs(r.det3x3()) < 1e-300)
        return MMatrix();
    for (int iteration = 0; iteration < 50; ++iteration) {
        const MMatrix inverseTranspose = r.inverse().transpose();
        MMatrix next = (r + inverseTranspose) * 0.5;
        next(3, 3) = 1.0;
        double change = 0.0;
        for (unsigned i = 0; i < 3; ++i)
            for (unsigned j = 0; j < 3; ++j)
                change = std::fmax(change, std::fabs(next(i, j) - r(i, j)));
        r = next;
        if (change < 1e-15)
            break;
    }
    return r;
}

// The unit quaternion of a rotation matrix acting on row vectors (p' = p · r).
void quaternionOf(const MMatrix& r, double q[4]) {
    // Column form c = transpose(r): v' = c v.
    const double c00 = r(0, 0), c11 = r(1, 1), c22 = r(2, 2);
    const double c21 = r(1, 2), c12 = r(2, 1), c02 = r(2, 0), c20 = r(0, 2), c10 = r(0, 1),
                 c01 = r(1, 0);
    const double trace = c00 + c11 + c22;
    if (trace > 0.0) {
        const double s = 2.0 * std::sqrt(trace + 1.0);
        q[0] = 0.25 * s;
        q[1] = (c21 - c12) / s;
        q[2] = (c02 - c20) / s;
        q[3] = (c10 - c01) / s;
    } else if (c00 > c11 && c00 > c22) {
        const double s = 2.0 * std::sqrt(1.0 + c00 - c11 - c22);
        q[0] = (c21 - c12) / s;
        q[1] = 0.25 * s;
        q[2] = (c01 + c10) / s;
        q[3] = (c02 + c20) / s;
    } else if (c11 > c22) {
        const double s = 2.0 * std::sqrt(1.0 + c11 - c00 - c22);
        q[0] = (c02 - c20) / s;
        q[1] = (c01 + c10) / s;
        q[2] = 0.25 * s;
        q[3] = (c12 + c21) / s;
    } else {
        const double s = 2.0 * std::sqrt(1.0 + c22 - c00 - c11);
        q[0] = (c10 - c01) / s;
        q[1] = (c02 + c20) / s;
        q[2] = (c12 + c21) / s;
        q[3] = 0.25 * s;
    }
}

MPoint asPoint(const MPoint& p) {
    MPoint q = p;
    q.cartesianize();
    return q;
}

} // namespace

SkinDeformation::SkinDeformation(const std::vector<MMatrix>& influences, const MMatrix& geomMatrix)
    : geomInverse_(geomMatrix.inverse()) {
    influences_.reserve(influences.size());
    for (const MMatrix& a : influences) {
        Influence influence;
        influence.matrix = a;
        const MMatrix rotation = rotationOf(a);
        influence.stretch = a * rotation.transpose();
        for (unsigned j = 0; j < 4; ++j) {
            influence.stretch(3, j) = j == 3 ? 1.0 : 0.0;
            influence.stretch(j, 3) = j == 3 ? 1.0 : 0.0;
        }
        quaternionOf(rotation, influence.real);
        const double translation[4] = {0.0, a(3, 0), a(3, 1), a(3, 2)};
        multiply(translation, influence.real, influence.dual);
        for (double& d : influence.dual)
            d *= 0.5;
        influences_.push_back(influence);
    }
}

MPoint SkinDeformation::deform(const MPoint& point,
                               const std::vector<std::pair<unsigned, double>>& weights,
                               SkinningMethod method, double blend) const {
    switch (method) {
    case SkinningMethod::kDualQuaternion:
        return dualQuaternion(point, weights);
    case SkinningMethod::kWeightBlended: {
        if (blend <= 0.0)
            return linear(point, weights);
        if (blend >= 1.0)
            return dualQuaternion(point, weights);
        const MPoint a = linear(point, weights), b = dualQuaternion(point, weights);
        return MPoint(a.x + (b.x - a.x) * blend, a.y + (b.y - a.y) * blend,
                      a.z + (b.z - a.z) * blend);
    }
    case SkinningMethod::kLinear:
    default:
        return linear(point, weights);
    }
}

MPoint SkinDeformation::linear(const MPoint& p,
                               const std::vector<std::pair<unsigned, double>>& weights) const {
    double x = 0.0, y = 0.0, z = 0.0;
    const MPoint local = asPoint(p);
    for (const auto& [index, weight] : weights) {
        if (index >= influences_.size() || weight == 0.0)
            continue;
        const MPoint moved = asPoint(local * influences_[index].matrix);
        x += weight * moved.x;
        y += weight * moved.y;
        z += weight * moved.z;
    }
    return asPoint(MPoint(x, y, z) * geomInverse_);
}

MPoint
SkinDeformation::dualQuaternion(const MPoint& p,
                                const std::vector<std::pair<unsigned, double>>& weights) const {
    const Influence* pivot = nullptr;
    double heaviest = -1.0;
    for (const auto& [index, weight] : weights)
        if (index < influences_.size() && weight > heaviest) {
            heaviest = weight;
            pivot = &influences_[index];
        }
    if (!pivot)
        return asPoint(MPoint(0.0, 0.0, 0.0) * geomInverse_);
    double real[4] = {0, 0, 0, 0}, dual[4] = {0, 0, 0, 0};
    MMatrix stretch;
    for (unsigned i = 0; i < 4; ++i)
        for (unsigned j = 0; j < 4; ++j)
            stretch(i, j) = 0.0;
    for (const auto& [index, weight] : weights) {
        if (index >= influences_.size() || weight == 0.0)
            continue;
        const Influence& influence = influences_[index];
        double dot = 0.0;
        for (int k = 0; k < 4; ++k)
            dot += influence.real[k] * pivot->real[k];
        const double signedWeight = dot < 0.0 ? -weight : weight;
        for (int k = 0; k < 4; ++k) {
            real[k] += signedWeight * influence.real[k];
            dual[k] += signedWeight * influence.dual[k];
        }
        stretch += influence.stretch * weight;
    }
    const double length =
        std::sqrt(real[0] * real[0] + real[1] * real[1] + real[2] * real[2] + real[3] * real[3]);
    if (length < 1e-300)
        return asPoint(MPoint(0.0, 0.0, 0.0) * geomInverse_);
    for (int k = 0; k < 4; ++k) {
        real[k] /= length;
        dual[k] /= length;
    }
    stretch(3, 3) = 1.0;
    const MPoint stretched = asPoint(asPoint(p) * stretch);
    // Rotate: r v r*, then translate by 2 d r*.
    const double v[4] = {0.0, stretched.x, stretched.y, stretched.z};
    const double conjugate[4] = {real[0], -real[1], -real[2], -real[3]};
    double rv[4], rotated[4], translation[4];
    multiply(real, v, rv);
    multiply(rv, conjugate, rotated);
    multiply(dual, conjugate, translation);
    const MPoint world(rotated[1] + 2.0 * translation[1], rotated[2] + 2.0 * translation[2],
                       rotated[3] + 2.0 * translation[3]);
    return asPoint(world * geomInverse_);
}

} // namespace host
