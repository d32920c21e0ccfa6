#pragma once
// Skinning of one point by weighted influences, independent of where weights and matrices are
// stored.
//
// Influence j moves a point of the geometry (in its local space) by
//   A_j = geomMatrix · bindPreMatrix_j · matrix_j     (row vectors: p' = p · A_j)
// into the world; the weighted result goes back through geomMatrix⁻¹, so that at the bind pose
// (matrix_j = bindPreMatrix_j⁻¹) every point stays where it is.
//   linear          q = Σ w_j (p · A_j)
//   dual quaternion the rigid parts of the A_j (rotation, translation) blended as unit dual
//                   quaternions, their scale and shear (A = S · R) blended linearly and applied
//                   first; each quaternion takes the sign nearest the heaviest influence's
//   weight blended  per point: (1 - b) · linear + b · dual quaternion

#include <maya/MMatrix.h>
#include <maya/MPoint.h>

#include <utility>
#include <vector>

namespace host {

enum class SkinningMethod { kLinear = 0, kDualQuaternion = 1, kWeightBlended = 2 };

class SkinDeformation {
  public:
    // One matrix A_j per influence, and geomMatrix.
    SkinDeformation(const std::vector<MMatrix>& influences, const MMatrix& geomMatrix);

    // (influence index, weight) pairs; indices without an influence are skipped. `blend` is
    // the point's weight-blended mix (used only by kWeightBlended).
    MPoint deform(const MPoint& point, const std::vector<std::pair<unsigned, double>>& weights,
                  SkinningMethod method, double blend) const;

  private:
    MPoint linear(const MPoint& p, const std::vector<std::pair<unsigned, double>>& weights) const;
    MPoint dualQuaternion(const MPoint& p,
                          const std::vector<std::pair<unsigned, double>>& weights) const;

    struct Influence {
        MMatrix matrix;  // A_j
        MMatrix stretch; // S_j: the scale and shear of A_j, applied before the rigid part
        double real[4];  // rotation as a unit quaternion (w, x, y, z)
        double dual[4];  // half the translation times the rotation
    };
    std::vector<Influence> influences_;
    MMatrix geomInverse_;
};

} // namespace host
