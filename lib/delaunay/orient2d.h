// orient2d.h - exact sign of the 2D orientation determinant.
//
//   D = (qx - px) * (ry - py) - (qy - py) * (rx - px)
//
// orientSign returns +1 when p, q, r turn counter-clockwise with y up, -1 when
// clockwise and 0 when exactly collinear, for the exact real value of D over
// the given doubles. A rounded estimate decides whenever its error bound
// allows; otherwise D is summed exactly as a floating-point expansion.
// Exact for finite inputs whose products neither overflow nor underflow.
#pragma once

namespace delaunay {

int orientSign(double px, double py, double qx, double qy, double rx, double ry);

}  // namespace delaunay
