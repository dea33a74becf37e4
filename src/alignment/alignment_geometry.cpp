#include "alignment/alignment_geometry.h"

#include <cmath>

#include "points/no_value.h"

namespace merilon {
namespace {

constexpr double kElementTolerance = 0.0005;
constexpr double kAlongTolerance = 0.0001;
constexpr int kMaxSteps = 1000;
constexpr int kMaxRangeRetries = 3;

struct Station {
  double x = 0, y = 0, azimuth = 0;
  double sine = 0, cosine = 1;  // of the azimuth
};

inline double at(const std::vector<double>& v, int i) { return v[static_cast<std::size_t>(i)]; }

// The element that holds chainage c: the first element i (first <= i < count) whose end, with
// the tolerance, is not before c; the last element when there is none. Starting from the cached
// element gives the same element as a search from the start as long as the chainages are in
// order; otherwise the search starts at the first element.
int findElement(Alignment& al, double c) {
  const auto& ch = al.chainage;
  const int last = al.count - 1;
  int i = al.chainagesInOrder() ? al.walk.element : al.first;
  if (i < al.first || i > last) i = al.first;
  while (i < last && c > at(ch, i + 1) + kElementTolerance) ++i;
  while (i > al.first && c <= at(ch, i) + kElementTolerance) --i;
  return i;
}

// Makes element i the walk's current one, computing what every call in it shares: the sine and
// cosine of its azimuth and, for a clothoid, the origin of its spiral.
void enterElement(Alignment& al, int i) {
  AlignmentWalk& w = al.walk;
  w.element = i;
  w.nextRecord = i + 1;
  if (w.originElement == i) return;
  w.originElement = i;
  const double a0 = at(al.azimuth, i);
  const double A = at(al.clothoidParameter, i);
  const double r = at(al.radius, i);
  w.kind = elementKind(r, A);
  sinCos(a0, w.startSin, w.startCos);
  if (w.kind != ElementKind::Clothoid) return;
  const double r0 = (r > 0.0002 || r < -0.0002) ? r : 0.0;
  double l0, tau0, lat0, along0;
  clothoidOffsets(A, r0, l0, tau0, lat0, along0);
  w.originAzimuth = a0 - tau0;
  sinCos(w.originAzimuth, w.originSin, w.originCos);
  w.originX = at(al.x, i) - along0 * w.originSin - lat0 * w.originCos;
  w.originY = at(al.y, i) - along0 * w.originCos + lat0 * w.originSin;
  w.originChainage = at(al.chainage, i) - l0;
}

Station onStraight(double x0, double y0, double a0, double s, double k, double d) {
  return {x0 + d * s, y0 + d * k, a0, s, k};
}

Station stationAt(Alignment& al, double c) {
  if (al.count < 1) return {};
  const int first = al.first;
  if (al.count == first) {
    double s, k;
    sinCos(at(al.azimuth, first), s, k);
    return onStraight(at(al.x, first), at(al.y, first), at(al.azimuth, first), s, k,
                      c - at(al.chainage, first));
  }
  const int i = findElement(al, c);
  // Beyond either end: the straight through the end record.
  int endRecord = 0;
  if (i == first && c < at(al.chainage, first) - kElementTolerance) endRecord = first;
  if (c > at(al.chainage, al.count) + kElementTolerance) endRecord = al.count;
  if (endRecord != 0) {
    al.walk.element = i;
    al.walk.nextRecord = i + 1;
    double s, k;
    sinCos(at(al.azimuth, endRecord), s, k);
    return onStraight(at(al.x, endRecord), at(al.y, endRecord), at(al.azimuth, endRecord), s, k,
                      c - at(al.chainage, endRecord));
  }
  enterElement(al, i);
  const AlignmentWalk& w = al.walk;
  const double a0 = at(al.azimuth, i);
  const double d = c - at(al.chainage, i);
  switch (w.kind) {
    case ElementKind::Straight:
      return onStraight(at(al.x, i), at(al.y, i), a0, w.startSin, w.startCos, d);
    case ElementKind::Arc: {
      const double r = at(al.radius, i);
      const double h = d / (2 * r);
      double sh, ch;
      sinCos(h, sh, ch);
      const double chord = 2 * r * sh;
      // sin and cos of a0 + h and of a0 + 2h by the angle sums.
      const double sMid = w.startSin * ch + w.startCos * sh;
      const double cMid = w.startCos * ch - w.startSin * sh;
      const double s2 = 2 * sh * ch;
      const double c2 = 1 - 2 * sh * sh;
      Station st;
      st.x = at(al.x, i) + chord * sMid;
      st.y = at(al.y, i) + chord * cMid;
      st.azimuth = a0 + 2 * h;
      st.sine = w.startSin * c2 + w.startCos * s2;
      st.cosine = w.startCos * c2 - w.startSin * s2;
      return st;
    }
    case ElementKind::Clothoid: {
      const double l = c - w.originChainage;
      if (l == 0) return {w.originX, w.originY, w.originAzimuth, w.originSin, w.originCos};
      const double A = at(al.clothoidParameter, i);
      double r = std::fabs(A * A / l);
      if (at(al.radius, i) < 0) r = -r;
      double len, tau, lat, along;
      clothoidOffsets(A, r, len, tau, lat, along);
      double st_, ct;
      sinCos(tau, st_, ct);
      Station st;
      st.x = w.originX + along * w.originSin + lat * w.originCos;
      st.y = w.originY + along * w.originCos - lat * w.originSin;
      st.azimuth = w.originAzimuth + tau;
      st.sine = w.originSin * ct + w.originCos * st_;
      st.cosine = w.originCos * ct - w.originSin * st_;
      return st;
    }
  }
  return {};
}

}  // namespace

void sinCos(double azimuth, double& sine, double& cosine) {
  sine = std::sin(azimuth);
  cosine = std::cos(azimuth);
}

void clothoidOffsets(double A, double R, double& length, double& tangentAngle, double& lateral,
                     double& along) {
  if (A * R == 0) {
    length = tangentAngle = lateral = along = 0;
    return;
  }
  const double L = A * std::fabs(A / R);
  const double tau = L / (2 * R);
  const double t = tau * tau;
  length = L;
  tangentAngle = tau;
  lateral = L * tau *
            (0.3333333333 -
             t * (0.0238095238 - t * (0.00075757576 - t * (1.3227513e-05 - t * 1.450385e-07))));
  along = L * (1 - t * (0.1 - t * (0.00462962963 -
                                   t * (0.0001068376 - t * (1.45892e-06 - t * 1.31225e-08)))));
}

void pointAtChainage(Alignment& alignment, double c, double& x, double& y, double& azimuth) {
  const Station st = stationAt(alignment, c);
  x = st.x;
  y = st.y;
  azimuth = st.azimuth;
}

bool projectOnAlignment(Alignment& alignment, double px, double py, double& chainage,
                        double& offset, double& footX, double& footY) {
  if (alignment.count < 1) return false;
  const int first = alignment.first;
  const double firstChainage = at(alignment.chainage, first);
  const double lastChainage = at(alignment.chainage, alignment.count);
  double c;
  if (offset == NO_VALUE_F) {
    alignment.resetWalk();
    c = firstChainage;
  } else {
    c = chainage;
  }
  for (int retries = 0;; ++retries) {
    Station st;
    bool converged = false;
    for (int step = 0; step < kMaxSteps; ++step) {
      st = stationAt(alignment, c);
      const double along = (px - st.x) * st.sine + (py - st.y) * st.cosine;
      if (std::fabs(along) < kAlongTolerance) {
        converged = true;
        break;
      }
      c += along / 10;
    }
    if (!converged) return false;
    const bool before = c < firstChainage;
    const bool beyond = c > lastChainage;
    if ((before || beyond) && retries < kMaxRangeRetries) {
      c = before ? lastChainage : firstChainage;
      continue;
    }
    chainage = c;
    offset = (px - st.x) * st.cosine - (py - st.y) * st.sine;
    footX = st.x;
    footY = st.y;
    return true;
  }
}

void offsetPoint(double baseX, double baseY, double azimuth, double distance, double& x,
                 double& y) {
  double s, c;
  sinCos(azimuth, s, c);
  x = baseX + distance * c;
  y = baseY - distance * s;
}

}  // namespace merilon
