#include "geometry/nurbsEvaluation.h"

#include <algorithm>
#include <cmath>

namespace host {

namespace {

// The basis functions of one direction that are non-zero at a parameter, with their
// derivatives: ders[d][j] is the d-th derivative of N_{span - degree + j, degree}.
struct Basis {
    int span = 0;
    std::vector<std::vector<double>> ders;
};

double slack(double start, double end) {
    return 1e-12 * std::max({end - start, std::fabs(start), std::fabs(end)});
}

// The span s with t[s] <= x < t[s + 1], x already inside [t[p], t[m]]; at the end of the domain
// the last non-empty span.
int findSpan(const std::vector<double>& t, int degree, int numCVs, double x) {
    auto first = t.begin() + degree, last = t.begin() + numCVs;
    int s = static_cast<int>(std::upper_bound(first, last, x) - t.begin()) - 1;
    s = std::clamp(s, degree, numCVs - 1);
    while (s > degree && !(t[static_cast<size_t>(s)] < t[static_cast<size_t>(s) + 1]))
        --s;
    return s;
}

class BasisBuilder {
  public:
    BasisBuilder(const std::vector<double>& t, int degree, int span, double x)
        : t_(t), p_(degree), s_(span) {
        // table_[k][j] = N_{s-k+j, k}(x), the Cox-de Boor triangle.
        table_.resize(static_cast<size_t>(p_) + 1);
        table_[0] = {1.0};
        for (int k = 1; k <= p_; ++k) {
            table_[static_cast<size_t>(k)].assign(static_cast<size_t>(k) + 1, 0.0);
            for (int j = 0; j <= k; ++j) {
                const int i = s_ - k + j;
                double value = 0.0;
                const double left = knot(i + k) - knot(i);
                if (left > 0.0)
                    value += (x - knot(i)) / left * basis(i, k - 1);
                const double right = knot(i + k + 1) - knot(i + 1);
                if (right > 0.0)
                    value += (knot(i + k + 1) - x) / right * basis(i + 1, k - 1);
                table_[static_cast<size_t>(k)][static_cast<size_t>(j)] = value;
            }
        }
    }

    Basis build(int order) const {
        Basis out;
        out.span = s_;
        out.ders.assign(static_cast<size_t>(order) + 1,
                        std::vector<double>(static_cast<size_t>(p_) + 1, 0.0));
        for (int d = 0; d <= order; ++d)
            for (int j = 0; j <= p_; ++j)
                out.ders[static_cast<size_t>(d)][static_cast<size_t>(j)] =
                    derivative(s_ - p_ + j, p_, d);
        return out;
    }

  private:
    double knot(int i) const { return t_[static_cast<size_t>(i)]; }

    double basis(int i, int k) const {
        if (i < s_ - k || i > s_)
            return 0.0;
        return table_[static_cast<size_t>(k)][static_cast<size_t>(i - (s_ - k))];
    }

    // d-th derivative of N_{i,k}: N' = k (N_{i,k-1} / (t[i+k] - t[i]) -
    // N_{i+1,k-1} / (t[i+k+1] - t[i+1])), a zero-width interval contributing nothing.
    double derivative(int i, int k, int d) const {
        if (d == 0)
            return basis(i, k);
        if (k == 0)
            return 0.0;
        double value = 0.0;
        const double left = knot(i + k) - knot(i);
        if (left > 0.0)
            value += derivative(i, k - 1, d - 1) / left;
        const double right = knot(i + k + 1) - knot(i + 1);
        if (right > 0.0)
            value -= derivative(i + 1, k - 1, d - 1) / right;
        return k * value;
    }

    const std::vector<double>& t_;
    int p_, s_;
    std::vector<std::vector<double>> table_;
};

// Homogeneous sum: x, y, z carry the weight, w is the weight.
struct Homogeneous {
    double x = 0.0, y = 0.0, z = 0.0, w = 0.0;
    MVector xyz() const { return MVector(x, y, z); }
};

bool inside(double x, double start, double end) {
    const double e = slack(start, end);
    return x >= start - e && x <= end + e;
}

double wrap(double x, double start, double end) {
    const double period = end - start;
    double r = std::fmod(x - start, period);
    if (r < 0.0)
        r += period;
    return start + r;
}

double dist2(const MPoint& a, const MPoint& b) {
    const MVector d = a - b;
    return d * d;
}

} // namespace

std::vector<double> fullKnots(const std::vector<double>& k, int degree,
                              MFnNurbsSurface::Form form) {
    std::vector<double> t;
    if (k.empty())
        return t;
    t.reserve(k.size() + 2);
    const size_t n = k.size();
    // Spans of the domain; a periodic list repeats its spacing with this many knots per period.
    const size_t spans = n + 1 - 2 * static_cast<size_t>(degree);
    if (form == MFnNurbsSurface::kPeriodic && spans >= 1 && spans < n) {
        const double period =
            k[n - static_cast<size_t>(degree)] - k[static_cast<size_t>(degree - 1)];
        t.push_back(k[spans - 1] - period);
        t.insert(t.end(), k.begin(), k.end());
        t.push_back(k[n - spans] + period);
    } else {
        t.push_back(k.front());
        t.insert(t.end(), k.begin(), k.end());
        t.push_back(k.back());
    }
    return t;
}

KnotDomain knotDomain(const NurbsSurface& s) {
    return {s.knotsU[static_cast<size_t>(s.degreeU - 1)],
            s.knotsU[s.knotsU.size() - static_cast<size_t>(s.degreeU)],
            s.knotsV[static_cast<size_t>(s.degreeV - 1)],
            s.knotsV[s.knotsV.size() - static_cast<size_t>(s.degreeV)]};
}

bool evaluateSurface(const NurbsSurface& s, double u, double v, int order, SurfacePoint& out) {
    const KnotDomain domain = knotDomain(s);
    if (!inside(u, domain.startU, domain.endU) || !inside(v, domain.startV, domain.endV))
        return false;
    order = std::clamp(order, 0, 2);
    u = std::clamp(u, domain.startU, domain.endU);
    v = std::clamp(v, domain.startV, domain.endV);

    const std::vector<double> tu = fullKnots(s.knotsU, s.degreeU, s.formU);
    const std::vector<double> tv = fullKnots(s.knotsV, s.degreeV, s.formV);
    const int pu = s.degreeU, pv = s.degreeV;
    const Basis bu = BasisBuilder(tu, pu, findSpan(tu, pu, s.numCVsU, u), u).build(order);
    const Basis bv = BasisBuilder(tv, pv, findSpan(tv, pv, s.numCVsV, v), v).build(order);

    // sums[a][b]: the homogeneous point differentiated a times in u and b times in v.
    Homogeneous sums[3][3];
    for (int i = 0; i <= pu; ++i)
        for (int j = 0; j <= pv; ++j) {
            const MPoint& c = s.cv(bu.span - pu + i, bv.span - pv + j);
            const double w = s.rational ? c.w : 1.0;
            for (int a = 0; a <= order; ++a)
                for (int b = 0; a + b <= order; ++b) {
                    const double n = bu.ders[static_cast<size_t>(a)][static_cast<size_t>(i)] *
                                     bv.ders[static_cast<size_t>(b)][static_cast<size_t>(j)] * w;
                    Homogeneous& h = sums[a][b];
                    h.x += n * c.x;
                    h.y += n * c.y;
                    h.z += n * c.z;
                    h.w += n;
                }
        }

    // Quotient rule for S = A / w, A the homogeneous xyz.
    const double w = sums[0][0].w;
    SurfacePoint result;
    const MVector S = sums[0][0].xyz() / w;
    result.point = MPoint(S.x, S.y, S.z);
    if (order >= 1) {
        result.du = (sums[1][0].xyz() - S * sums[1][0].w) / w;
        result.dv = (sums[0][1].xyz() - S * sums[0][1].w) / w;
    }
    if (order >= 2) {
        result.duu = (sums[2][0].xyz() - result.du * (2.0 * sums[1][0].w) - S * sums[2][0].w) / w;
        result.dvv = (sums[0][2].xyz() - result.dv * (2.0 * sums[0][1].w) - S * sums[0][2].w) / w;
        result.duv = (sums[1][1].xyz() - result.du * sums[0][1].w - result.dv * sums[1][0].w -
                      S * sums[1][1].w) /
                     w;
    }
    out = result;
    return true;
}

bool surfaceNormal(const NurbsSurface& s, double u, double v, MVector& normal) {
    SurfacePoint p;
    if (!evaluateSurface(s, u, v, 1, p))
        return false;
    const MVector n = p.du ^ p.dv;
    const double length = n.length();
    if (!(length > 1e-12 * p.du.length() * p.dv.length()) || !(length > 0.0))
        return false;
    normal = n / length;
    return true;
}

SurfacePoint transformed(const SurfacePoint& p, const MMatrix& m) {
    SurfacePoint out;
    out.point = MPoint(p.point.x, p.point.y, p.point.z) * m;
    out.point.cartesianize();
    out.du = p.du * m;
    out.dv = p.dv * m;
    out.duu = p.duu * m;
    out.duv = p.duv * m;
    out.dvv = p.dvv * m;
    return out;
}

NurbsSurface transformed(const NurbsSurface& surface, const MMatrix& m) {
    NurbsSurface out = surface;
    for (MPoint& c : out.cvs) {
        MPoint moved = MPoint(c.x, c.y, c.z) * m;
        moved.cartesianize();
        c = MPoint(moved.x, moved.y, moved.z, c.w);
    }
    return out;
}

void closestParameters(const NurbsSurface& s, const MPoint& target, double& u, double& v) {
    const KnotDomain d = knotDomain(s);
    const double sizeU = d.endU - d.startU, sizeV = d.endV - d.startV;
    const int samplesU = std::min(s.spansU() * (s.degreeU + 1), 256);
    const int samplesV = std::min(s.spansV() * (s.degreeV + 1), 256);

    double best = HUGE_VAL;
    u = d.startU;
    v = d.startV;
    SurfacePoint p;
    for (int i = 0; i <= samplesU; ++i)
        for (int j = 0; j <= samplesV; ++j) {
            const double su = d.startU + sizeU * i / samplesU;
            const double sv = d.startV + sizeV * j / samplesV;
            if (evaluateSurface(s, su, sv, 0, p) && dist2(p.point, target) < best) {
                best = dist2(p.point, target);
                u = su;
                v = sv;
            }
        }

    const bool periodicU = s.formU == MFnNurbsSurface::kPeriodic;
    const bool periodicV = s.formV == MFnNurbsSurface::kPeriodic;
    auto place = [&](double& x, double start, double end, bool periodic) {
        x = periodic ? wrap(x, start, end) : std::clamp(x, start, end);
    };
    for (int iteration = 0; iteration < 50; ++iteration) {
        if (!evaluateSurface(s, u, v, 2, p))
            break;
        const MVector r = p.point - target;
        // Newton on f = |S - P|^2 / 2; Gauss-Newton where the Hessian is not positive.
        const double gu = p.du * r, gv = p.dv * r;
        double huu = p.du * p.du + p.duu * r, huv = p.du * p.dv + p.duv * r,
               hvv = p.dv * p.dv + p.dvv * r;
        if (!(huu > 0.0 && hvv > 0.0 && huu * hvv - huv * huv > 0.0)) {
            huu = p.du * p.du;
            huv = p.du * p.dv;
            hvv = p.dv * p.dv;
        }
        double stepU = 0.0, stepV = 0.0;
        const double det = huu * hvv - huv * huv;
        if (det > 1e-300) {
            stepU = -(hvv * gu - huv * gv) / det;
            stepV = -(huu * gv - huv * gu) / det;
        }
        // At a boundary the step that leaves the domain is dropped and the other direction is
        // solved alone.
        const bool blockedU =
            !periodicU && ((u <= d.startU && stepU < 0.0) || (u >= d.endU && stepU > 0.0));
        const bool blockedV =
            !periodicV && ((v <= d.startV && stepV < 0.0) || (v >= d.endV && stepV > 0.0));
        if (blockedU || det <= 1e-300) {
            stepU = 0.0;
            stepV = hvv > 1e-300 ? -gv / hvv : 0.0;
        }
        if (blockedV || det <= 1e-300) {
            stepV = 0.0;
            if (!blockedU)
                stepU = huu > 1e-300 ? -gu / huu : 0.0;
        }
        // Never accept a step that moves away: halve it until it does not.
        const double current = r * r;
        double nu = u, nv = v;
        bool improved = false;
        for (int halving = 0; halving < 30; ++halving) {
            nu = u + stepU;
            nv = v + stepV;
            place(nu, d.startU, d.endU, periodicU);
            place(nv, d.startV, d.endV, periodicV);
            SurfacePoint q;
            if (evaluateSurface(s, nu, nv, 0, q) && dist2(q.point, target) <= current) {
                improved = true;
                break;
            }
            stepU *= 0.5;
            stepV *= 0.5;
        }
        if (!improved)
            break;
        const bool small = std::fabs(nu - u) <= 1e-12 * sizeU && std::fabs(nv - v) <= 1e-12 * sizeV;
        u = nu;
        v = nv;
        if (small)
            break;
    }
}

} // namespace host
