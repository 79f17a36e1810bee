// Error-free transformations turn every rounding into an explicit tail, so the
// determinant can be summed exactly when the rounded estimate is too close to
// zero to trust.
#include "orient2d.h"

#include <cmath>

namespace delaunay {
namespace {

struct Pair {
    double hi, lo;  // hi + lo is exact, lo is the rounding error of hi
};

Pair twoSum(double a, double b) {
    double x = a + b;
    double bv = x - a;
    double av = x - bv;
    return {x, (a - av) + (b - bv)};
}

Pair twoDiff(double a, double b) {
    double x = a - b;
    double bv = a - x;
    double av = x + bv;
    return {x, (a - av) + (bv - b)};
}

// Splits into two halves of at most 26 significant bits, so their products
// are exact.
Pair split(double a) {
    const double splitter = 134217729.0;  // 2^27 + 1
    double c = splitter * a;
    double hi = c - (c - a);
    return {hi, a - hi};
}

Pair twoProduct(double a, double b) {
    double x = a * b;
    Pair as = split(a), bs = split(b);
    double err = x - as.hi * bs.hi;
    err -= as.lo * bs.hi;
    err -= as.hi * bs.lo;
    return {x, as.lo * bs.lo - err};
}

// Adds v to a non-overlapping expansion kept in increasing magnitude, dropping
// zero components; the result is again non-overlapping and increasing.
int growExpansion(double* e, int count, double v) {
    int out = 0;
    double q = v;
    for (int k = 0; k < count; ++k) {
        Pair s = twoSum(q, e[k]);
        q = s.hi;
        if (s.lo != 0.0) e[out++] = s.lo;
    }
    if (q != 0.0) e[out++] = q;
    return out;
}

int exactSign(double px, double py, double qx, double qy, double rx, double ry) {
    Pair a = twoDiff(qx, px), b = twoDiff(ry, py);
    Pair c = twoDiff(qy, py), d = twoDiff(rx, px);
    const double ap[2] = {a.hi, a.lo}, bp[2] = {b.hi, b.lo};
    const double cp[2] = {-c.hi, -c.lo}, dp[2] = {d.hi, d.lo};
    double e[32];
    int count = 0;
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
            Pair left = twoProduct(ap[i], bp[j]);
            Pair right = twoProduct(cp[i], dp[j]);
            count = growExpansion(e, count, left.lo);
            count = growExpansion(e, count, left.hi);
            count = growExpansion(e, count, right.lo);
            count = growExpansion(e, count, right.hi);
        }
    }
    // The largest component outweighs all the others together.
    if (count == 0) return 0;
    return e[count - 1] > 0.0 ? 1 : -1;
}

}  // namespace

int orientSign(double px, double py, double qx, double qy, double rx, double ry) {
    double left = (qx - px) * (ry - py);
    double right = (qy - py) * (rx - px);
    double det = left - right;
    // Bound on the rounding error of det, differences included.
    const double eps = 0x1p-53;
    const double boundFactor = (3.0 + 16.0 * eps) * eps;
    double bound = boundFactor * (std::fabs(left) + std::fabs(right));
    if (det > bound) return 1;
    if (-det > bound) return -1;
    return exactSign(px, py, qx, qy, rx, ry);
}

}  // namespace delaunay
