#include "drawing/clipping_pen.h"

#include <cmath>

namespace merilon {
namespace {

// v on the line through a and b at u = c, and u at v = c. The callers only ask for an edge the
// segment really crosses, so the differences are not 0 there; the guard keeps a degenerate
// segment finite anyway.
double vAtU(double ua, double va, double ub, double vb, double c) {
  const double du = ub - ua;
  return du == 0 ? va : (vb - va) / du * (c - ua) + va;
}
double uAtV(double ua, double va, double ub, double vb, double c) {
  const double dv = vb - va;
  return dv == 0 ? ua : (ub - ua) / dv * (c - va) + ua;
}

}  // namespace

bool ClippingPen::penMoveTo(double u, double v) {
  penLastU = u;
  penLastV = v;
  penLastOutside = !(std::isfinite(u) && std::isfinite(v) && window.contains(u, v));
  return !penLastOutside;
}

bool ClippingPen::edgePoint(double pu, double pv, double ua, double va, double ub, double vb,
                            double& cu, double& cv) const {
  const ClipWindow& w = window;
  if (pv < w.minV || pv > w.maxV) {
    cv = pv < w.minV ? w.minV : w.maxV;
    cu = uAtV(ua, va, ub, vb, cv);
    if (cu < w.minU || cu > w.maxU) {
      cu = cu < w.minU ? w.minU : w.maxU;
      cv = vAtU(ua, va, ub, vb, cu);
    }
  } else {
    cu = pu < w.minU ? w.minU : w.maxU;
    cv = vAtU(ua, va, ub, vb, cu);
    if (cv < w.minV || cv > w.maxV) {
      cv = cv < w.minV ? w.minV : w.maxV;
      cu = uAtV(ua, va, ub, vb, cv);
    }
  }
  return std::isfinite(cu) && std::isfinite(cv) && w.contains(cu, cv);
}

std::optional<ClippedSegment> ClippingPen::penLineTo(double u, double v) {
  const double ua = penLastU, va = penLastV;
  const bool startOutside = penLastOutside;
  const bool finite =
      std::isfinite(u) && std::isfinite(v) && std::isfinite(ua) && std::isfinite(va);
  penMoveTo(u, v);
  if (!finite) return std::nullopt;
  const ClipWindow& w = window;
  double su = ua, sv = va;
  if (startOutside) {
    if ((va < w.minV && v < w.minV) || (va > w.maxV && v > w.maxV) || (ua < w.minU && u < w.minU) ||
        (ua > w.maxU && u > w.maxU)) {
      return std::nullopt;
    }
    if (!edgePoint(ua, va, ua, va, u, v, su, sv)) return std::nullopt;
  }
  if (w.contains(u, v)) return ClippedSegment{su, sv, u, v};
  double eu = 0, ev = 0;
  if (!edgePoint(u, v, ua, va, u, v, eu, ev)) return std::nullopt;
  return ClippedSegment{su, sv, eu, ev};
}

}  // namespace merilon
