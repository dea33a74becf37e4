#include "alignment/alignment_geometry.h"

#include <algorithm>
#include <cmath>

#include "points/no_value.h"

namespace merilon {
namespace {

// The clothoid's offsets from its origin for the length L (signed) and tangent angle tau: the
// series with the decimal constants the road-design system uses, so that both programs agree
// to the last digit.
[[gnu::always_inline]] inline void clothoidSeries(double L, double tau, double& lateral,
                                                  double& along) {
  const double t = tau * tau;
  lateral = L * tau *
            (0.3333333333 -
             t * (0.0238095238 - t * (0.00075757576 - t * (1.3227513e-05 - t * 1.450385e-07))));
  along = L * (1 - t * (0.1 - t * (0.00462962963 -
                                   t * (0.0001068376 - t * (1.45892e-06 - t * 1.31225e-08)))));
}

constexpr double kElementTolerance = 0.0005;
constexpr double kAlongTolerance = 0.0001;
constexpr int kMaxSteps = 1000;
constexpr int kMaxRangeRetries = 3;

// Sine and cosine of the small angles the elements turn through (half the arc angle, the
// clothoid's tangent angle) by their power series, which for |a| <= 0.6 agree with the library
// functions to the last bit or two and cost a fraction; larger angles go to the library.
inline void elementSinCos(double a, double& s, double& c) {
  if (a > 0.6 || a < -0.6) {
    s = std::sin(a);
    c = std::cos(a);
    return;
  }
  // Taylor coefficients of sin a / a and cos a in powers of a², highest first.
  constexpr double kSin[] = {-1.0 / 1307674368000, 1.0 / 6227020800, -1.0 / 39916800, 1.0 / 362880,
                             -1.0 / 5040,          1.0 / 120,        -1.0 / 6,        1.0};
  constexpr double kCos[] = {1.0 / 20922789888000,
                             -1.0 / 87178291200,
                             1.0 / 479001600,
                             -1.0 / 3628800,
                             1.0 / 40320,
                             -1.0 / 720,
                             1.0 / 24,
                             -0.5,
                             1.0};
  const double a2 = a * a;
  double ps = 0, pc = 0;
  for (double k : kSin) ps = ps * a2 + k;
  for (double k : kCos) pc = pc * a2 + k;
  s = a * ps;
  c = pc;
}

struct Station {
  double x = 0, y = 0, azimuth = 0;
  double sine = 0, cosine = 1;  // of the azimuth
  // Which piece of the axis gave the point: 0 the straight before the start, count the straight
  // beyond the end, otherwise the element. `straight`: the piece is a straight line.
  int piece = 0;
  bool straight = true;
};

inline double at(const std::vector<double>& v, int i) { return v[static_cast<std::size_t>(i)]; }

// The element that holds chainage c: the first element i (first <= i < count) whose end, with
// the tolerance, is not before c; the last element when there is none. Starting from the cached
// element gives the same element as a search from the start as long as the chainages are in
// order; otherwise the search starts at the first element.
[[gnu::always_inline]] inline int findElement(const Alignment& al, const AlignmentWalk& walk,
                                              double c) {
  const auto& ch = al.chainage;
  const int last = al.count - 1;
  int i = al.chainagesInOrder() ? walk.element : al.first;
  if (i < al.first || i > last) i = al.first;
  while (i < last && c > at(ch, i + 1) + kElementTolerance) ++i;
  while (i > al.first && c <= at(ch, i) + kElementTolerance) --i;
  return i;
}

void buildElements(Alignment& al) {
  al.elements.assign(static_cast<std::size_t>(al.count > 0 ? al.count : 0) + 1, ElementGeometry{});
  for (int i = al.first; i < al.count; ++i) {
    ElementGeometry& g = al.elements[static_cast<std::size_t>(i)];
    const double a0 = at(al.azimuth, i);
    const double A = at(al.clothoidParameter, i);
    const double r = at(al.radius, i);
    g.kind = elementKind(r, A);
    sinCos(a0, g.startSin, g.startCos);
    if (g.kind != ElementKind::Clothoid) continue;
    const double r0 = (r > 0.0002 || r < -0.0002) ? r : 0.0;
    double l0, tau0, lat0, along0;
    clothoidOffsets(A, r0, l0, tau0, lat0, along0);
    g.originAzimuth = a0 - tau0;
    sinCos(g.originAzimuth, g.originSin, g.originCos);
    g.originX = at(al.x, i) - along0 * g.originSin - lat0 * g.originCos;
    g.originY = at(al.y, i) - along0 * g.originCos + lat0 * g.originSin;
    g.originChainage = at(al.chainage, i) - l0;
    g.lengthSign = A < 0 ? -1 : 1;
    g.angleFactor = (r < 0 ? -1 : 1) / (2 * A * A);
  }
  al.elementsValid = true;
}

Station onStraight(double x0, double y0, double a0, double s, double k, double d, int piece) {
  return {x0 + d * s, y0 + d * k, a0, s, k, piece, true};
}

[[gnu::always_inline]] inline Station stationAt(Alignment& al, AlignmentWalk& walk, double c) {
  if (al.count < 1) return {};
  const int first = al.first;
  if (al.count == first) {
    double s, k;
    sinCos(at(al.azimuth, first), s, k);
    return onStraight(at(al.x, first), at(al.y, first), at(al.azimuth, first), s, k,
                      c - at(al.chainage, first), 0);
  }
  if (!al.elementsValid) buildElements(al);
  const int i = findElement(al, walk, c);
  walk.element = i;
  walk.nextRecord = i + 1;
  // Beyond either end: the straight through the end record.
  int endRecord = -1;
  if (i == first && c < at(al.chainage, first) - kElementTolerance) endRecord = first;
  if (c > at(al.chainage, al.count) + kElementTolerance) endRecord = al.count;
  if (endRecord != -1) {
    double s, k;
    sinCos(at(al.azimuth, endRecord), s, k);
    return onStraight(at(al.x, endRecord), at(al.y, endRecord), at(al.azimuth, endRecord), s, k,
                      c - at(al.chainage, endRecord), endRecord == first ? 0 : al.count);
  }
  const ElementGeometry& g = al.elements[static_cast<std::size_t>(i)];
  const double a0 = at(al.azimuth, i);
  const double d = c - at(al.chainage, i);
  switch (g.kind) {
    case ElementKind::Straight:
      return onStraight(at(al.x, i), at(al.y, i), a0, g.startSin, g.startCos, d, i);
    case ElementKind::Arc: {
      const double r = at(al.radius, i);
      const double h = d / (2 * r);
      double sh, ch;
      elementSinCos(h, sh, ch);
      const double chord = 2 * r * sh;
      // sin and cos of a0 + h and of a0 + 2h by the angle sums.
      const double sMid = g.startSin * ch + g.startCos * sh;
      const double cMid = g.startCos * ch - g.startSin * sh;
      const double s2 = 2 * sh * ch;
      const double c2 = 1 - 2 * sh * sh;
      Station st;
      st.x = at(al.x, i) + chord * sMid;
      st.y = at(al.y, i) + chord * cMid;
      st.azimuth = a0 + 2 * h;
      st.sine = g.startSin * c2 + g.startCos * s2;
      st.cosine = g.startCos * c2 - g.startSin * s2;
      st.piece = i;
      st.straight = false;
      return st;
    }
    case ElementKind::Clothoid: {
      const double l = c - g.originChainage;
      if (l == 0)
        return {g.originX, g.originY, g.originAzimuth, g.originSin, g.originCos, i, false};
      // clothoidOffsets(A, R) for the radius R = ±|A·A / l| at l, with the divisions worked
      // out: the length is l with the sign of A, the angle l·|l| / 2A² with the signs of A and R.
      const double len = g.lengthSign * std::fabs(l);
      const double tau = len * std::fabs(l) * g.angleFactor;
      double lat, along;
      clothoidSeries(len, tau, lat, along);
      double st_, ct;
      elementSinCos(tau, st_, ct);
      Station st;
      st.x = g.originX + along * g.originSin + lat * g.originCos;
      st.y = g.originY + along * g.originCos - lat * g.originSin;
      st.azimuth = g.originAzimuth + tau;
      st.sine = g.originSin * ct + g.originCos * st_;
      st.cosine = g.originCos * ct - g.originSin * st_;
      st.piece = i;
      st.straight = false;
      return st;
    }
  }
  return {};
}

// The piece of the axis that chainage c falls in (as Station::piece), without moving the walk.
int pieceOf(const Alignment& al, double c) {
  const auto& ch = al.chainage;
  const int first = al.first;
  if (c > at(ch, al.count) + kElementTolerance) return al.count;
  // The first element whose end, with the tolerance, is not before c.
  const auto begin = ch.begin() + first + 1;
  const auto end = ch.begin() + al.count + 1;
  const auto it = std::lower_bound(begin, end, c - kElementTolerance);
  const int i = it == end ? al.count - 1 : static_cast<int>(it - ch.begin()) - 1;
  if (i == first && c < at(ch, first) - kElementTolerance) return 0;
  return i;
}

// On a straight piece the residual along the tangent falls by exactly a tenth per step, so the
// steps of the iteration that stay on the piece are taken at once: after n steps from c with
// residual e the chainage is c + e(1 - 0.9^n) and the residual e 0.9^n. Returns the number of
// steps that can be taken so (at most `room`), and sets c to where they end; 0 when the very
// next step already leaves the piece.
int stepsOnStraight(const Alignment& al, const Station& st, double along, int room, double& c) {
  constexpr double kRatio = 0.9;
  const double e = std::fabs(along);
  // Steps until the chainage leaves the piece (the iteration moves monotonically towards the
  // foot `target`). Far from the foot the very next step usually leaves: that is found before
  // any logarithm is taken.
  const double target = c + along;
  const double next = c + along / 10;
  double nLeave = 1e9;
  const auto& ch = al.chainage;
  if (along > 0 && st.piece != al.count) {
    const double top = at(ch, st.piece == 0 ? al.first : st.piece + 1) +
                       (st.piece == 0 ? -kElementTolerance : kElementTolerance);
    if (next > top) return 0;
    if (target > top) nLeave = std::ceil(std::log((target - top) / e) / std::log(kRatio));
  } else if (along < 0 && st.piece != 0) {
    const double bottom = st.piece == al.count   ? at(ch, al.count) + kElementTolerance
                          : st.piece == al.first ? at(ch, al.first) - kElementTolerance
                                                 : at(ch, st.piece) + kElementTolerance;
    if (next < bottom) return 0;
    if (target < bottom) nLeave = std::ceil(std::log((bottom - target) / e) / std::log(kRatio));
  }
  // Steps until the residual is below the tolerance.
  double nConverge = std::ceil(std::log(kAlongTolerance / e) / std::log(kRatio));
  if (nConverge < 1) nConverge = 1;
  double n = std::min({nConverge, nLeave - 1, static_cast<double>(room)});
  for (; n >= 1; n -= 1) {
    const double next = c + along * (1 - std::pow(kRatio, n));
    if (pieceOf(al, next) == st.piece) {
      c = next;
      return static_cast<int>(n);
    }
  }
  return 0;
}

// One projection under way, as a state that advances one evaluation at a time.
struct Projection {
  enum State { Running, Converged, Failed };
  double px = 0, py = 0, c = 0;
  int step = 0, retries = 0;
  AlignmentWalk walk;
  Station st;
  double offset = 0;
  State state = Running;
};

// One step of the iteration: evaluates the axis at c; on convergence either starts again from
// the other end (the range retries) or ends; otherwise moves c by a tenth of the residual (or
// many such steps at once on a straight).
[[gnu::always_inline]] inline void advance(Alignment& al, Projection& p) {
  p.st = stationAt(al, p.walk, p.c);
  const double along = (p.px - p.st.x) * p.st.sine + (p.py - p.st.y) * p.st.cosine;
  if (std::fabs(along) < kAlongTolerance) {
    const double firstChainage = at(al.chainage, al.first);
    const double lastChainage = at(al.chainage, al.count);
    const bool before = p.c < firstChainage;
    const bool beyond = p.c > lastChainage;
    if ((before || beyond) && p.retries < kMaxRangeRetries) {
      p.c = before ? lastChainage : firstChainage;
      ++p.retries;
      p.step = 0;
      return;
    }
    p.offset = (p.px - p.st.x) * p.st.cosine - (p.py - p.st.y) * p.st.sine;
    p.state = Projection::Converged;
    return;
  }
  if (p.st.straight && al.chainagesInOrder() && al.count > al.first) {
    const int taken = stepsOnStraight(al, p.st, along, kMaxSteps - 1 - p.step, p.c);
    if (taken > 0) {
      p.step += taken;
      return;
    }
  }
  p.c += along / 10;
  if (++p.step >= kMaxSteps) p.state = Projection::Failed;
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
  length = L;
  tangentAngle = tau;
  clothoidSeries(L, tau, lateral, along);
}

void pointAtChainage(Alignment& alignment, double c, double& x, double& y, double& azimuth) {
  const Station st = stationAt(alignment, alignment.walk, c);
  x = st.x;
  y = st.y;
  azimuth = st.azimuth;
}

bool projectOnAlignment(Alignment& alignment, double px, double py, double& chainage,
                        double& offset, double& footX, double& footY) {
  if (alignment.count < 1) return false;
  Projection p;
  p.px = px;
  p.py = py;
  if (offset == NO_VALUE_F) {
    alignment.resetWalk();
    p.c = at(alignment.chainage, alignment.first);
  } else {
    p.c = chainage;
  }
  p.walk = alignment.walk;
  while (p.state == Projection::Running) advance(alignment, p);
  alignment.walk = p.walk;
  if (p.state == Projection::Failed) return false;
  chainage = p.c;
  offset = p.offset;
  footX = p.st.x;
  footY = p.st.y;
  return true;
}

void projectOnAlignment(Alignment& alignment, ProjectionTask* tasks, std::size_t n) {
  if (alignment.count < 1) {
    for (std::size_t k = 0; k < n; ++k) tasks[k].ok = false;
    return;
  }
  // Several projections advance in turn, one step each, so that the processor overlaps their
  // independent chains of arithmetic; each keeps its own walk.
  constexpr int kLanes = 2;
  Projection lanes[kLanes];
  std::size_t taskOf[kLanes] = {};
  std::size_t next = 0;
  int running = 0;
  auto begin = [&](int lane) {
    if (next >= n) return false;
    const std::size_t k = next++;
    Projection& p = lanes[lane];
    p = Projection{};
    p.px = tasks[k].px;
    p.py = tasks[k].py;
    p.c =
        tasks[k].offset == NO_VALUE_F ? at(alignment.chainage, alignment.first) : tasks[k].chainage;
    p.walk = alignment.walk;
    taskOf[lane] = k;
    return true;
  };
  bool busy[kLanes] = {};
  for (int lane = 0; lane < kLanes; ++lane) {
    busy[lane] = begin(lane);
    if (busy[lane]) ++running;
  }
  while (running > 0) {
    for (int lane = 0; lane < kLanes; ++lane) {
      if (!busy[lane]) continue;
      Projection& p = lanes[lane];
      advance(alignment, p);
      if (p.state == Projection::Running) continue;
      ProjectionTask& t = tasks[taskOf[lane]];
      t.ok = p.state == Projection::Converged;
      if (t.ok) {
        t.chainage = p.c;
        t.offset = p.offset;
      }
      alignment.walk = p.walk;
      busy[lane] = begin(lane);
      if (!busy[lane]) --running;
    }
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
