#include "alignment/alignment_drawing.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "alignment/alignment_geometry.h"
#include "alignment/cross_section_text.h"
#include "drawing/draw_target.h"
#include "platform/number_text.h"
#include "points/record_parser.h"

namespace merilon {
namespace {

constexpr double kPi = std::numbers::pi;

double corrected(double v, double whenNotPositive) { return v > 0 ? v : whenNotPositive; }

void curve(DrawTarget& t, Alignment& a, double c0, double c1, double r, bool printing) {
  const double length = std::fabs(c1 - c0);
  const double dir = c1 >= c0 ? 1 : -1;
  double s = curveStep(r, t.view().scaleX, printing);
  if (!(length > 0) || !(s > 0)) return;
  double remaining = length, c = c0, x = 0, y = 0, az = 0;
  while (remaining > 0) {
    remaining -= s;
    if (remaining < 0) {
      s += remaining;
      remaining = 0;
    }
    c += dir * s;
    pointAtChainage(a, c, x, y, az);
    t.worldPen(1, x, y);
  }
}

// Hatching rings of a chainage mark: radii start - k·h while above `stop`. Only rings that can
// cross the view are drawn, so a mark seen at a huge zoom does not loop for millions of rings.
void hatch(DrawTarget& t, double cx, double cy, double start, double stop, double h,
           double startAngle) {
  const ViewTransform& v = t.view();
  const ViewPoint c = v.worldToScreen(cx, cy);
  const double w = v.viewWidth, hh = v.viewHeight;
  const double dx = std::max({0.0, -c.u, c.u - w}), dy = std::max({0.0, -c.v, c.v - hh});
  const double nearPx = std::hypot(dx, dy);
  const double farPx = std::hypot(std::max(c.u, w - c.u), std::max(c.v, hh - c.v));
  const double s = v.scaleX;
  if (!(h > 0) || !(s > 0)) return;
  double rho = start - h;
  // Rings whose octagon lies wholly beyond the farthest corner are skipped in whole steps.
  const double largest = farPx / 0.9 / s;
  if (rho > largest) rho -= std::ceil((rho - largest) / h) * h;
  for (; rho > stop; rho -= h) {
    if (rho * s < nearPx) break;
    t.drawHalfOctagon(cx, cy, rho, startAngle);
  }
}

void chainageMarks(DrawTarget& t, Alignment& a, const AlignmentDrawingParams& p) {
  const double M = p.scaleDenominator;
  const double markOffset = std::max(p.trapar[0], 0.0);
  const double markSize = corrected(p.trapar[1], 0.2);
  const ViewTransform& v = t.view();
  const double h = 2 / v.scaleX;
  const double L = markSize * 0.5 * M / 100, Lkm = 1.5 * L, O = markOffset * M / 100;
  const double last = a.chainage[static_cast<std::size_t>(a.count)];
  const double firstRounded = std::nearbyint(a.chainage[static_cast<std::size_t>(a.first)]);
  if (!std::isfinite(firstRounded) || !std::isfinite(last)) return;
  long long c = static_cast<long long>(firstRounded) / 100 * 100;
  if (static_cast<double>(c) < firstRounded) c += 100;
  for (; static_cast<double>(c) <= last; c += 100) {
    const long long k = c / 1000 * 1000;
    const bool km = k == c;
    const long long number = km ? k / 1000 : (c - k) / 100;
    a.resetWalk();
    double x = 0, y = 0, az = 0;
    pointAtChainage(a, static_cast<double>(c), x, y, az);
    const double Lt = km ? Lkm : L;
    double fx = x, fy = y, ex = 0, ey = 0;
    if (O < Lt) offsetPoint(x, y, az, -Lt, fx, fy);
    offsetPoint(x, y, az, O + Lt, ex, ey);
    t.setPenWidth(1);
    t.worldPen(0, fx, fy);
    t.worldPen(1, ex, ey);
    t.setPenWidth(2);
    double cx = 0, cy = 0;
    offsetPoint(x, y, az, O, cx, cy);
    t.drawOctagon(cx, cy, L);
    hatch(t, cx, cy, L, h / 2, h, -az);
    if (km) {
      t.drawOctagon(cx, cy, Lkm);
      hatch(t, cx, cy, Lkm, L + h / 2, h, -az + kPi);
    }
    const double height = markSize * M / 100 * (km ? 1.2 : 1.0);
    const double rt = v.angle - az;
    const double px = x + (O + Lt) * std::cos(az) + Lt * std::cos(rt);
    const double py = y - (O + Lt) * std::sin(az) + Lt * std::sin(rt);
    t.drawWorldText(formatInt(number), 5, 0, px, py, rt, height);
  }
}

void mainPointLabels(DrawTarget& t, Alignment& a, const AlignmentDrawingParams& p) {
  static const char* const kLabels[] = {"", "PKP=", "KKP=", "PL=", "KL=", "R="};
  const double M = p.scaleDenominator;
  const double distance = corrected(p.trapar[2], 2.5) * M / 100;
  const double textHeight = corrected(p.trapar[3], 0.25) * M / 100;
  const int colour = alignmentColour(p);
  for (int i = a.first; i <= a.count; ++i) {
    const AlignmentRecord cur = a.record(i);
    const AlignmentRecord prev = i == a.first ? AlignmentRecord{} : a.record(i - 1);
    int slot[2] = {-1, -1};
    if (i == a.first) slot[0] = 0;
    if (i == a.count) slot[1] = 0;
    const double Rc = std::fabs(cur.radius), Ac = cur.clothoidParameter;
    const double Rp = std::fabs(prev.radius), Ap = prev.clothoidParameter;
    double noted = Rc;
    if (Rc < 0.01 && std::fabs(Ac) > 1) slot[0] = 1;
    if (Rc < 0.01 && std::fabs(Ap) > 1) {
      slot[1] = 1;
    } else if (Rc > 0.01 && std::fabs(Ac) > 1) {
      slot[0] = 2;
      slot[1] = 5;
    } else if (Rc > 0.01 && std::fabs(Ap) > 1) {
      slot[1] = 2;
      slot[0] = 5;
    } else if (Rp > 0.01 && Ap == 0) {
      slot[0] = 4;
      slot[1] = 5;
      noted = Rp;
    } else if (Rc > 0.01 && Ac == 0) {
      slot[1] = 3;
      slot[0] = 5;
    }
    if (std::fabs(Rp - 0.01) < 0.001) {
      slot[0] = -1;
      slot[1] = 0;
    }
    if (std::fabs(Rc - 0.01) < 0.001) slot[0] = slot[1] = -1;
    double d = slot[0] < 0 && slot[1] < 0 ? 0 : distance;
    if (cur.radius < 0 || prev.radius < 0) d = -d;
    double ex = 0, ey = 0;
    offsetPoint(cur.x, cur.y, cur.azimuth, d, ex, ey);
    t.worldPen(0, cur.x, cur.y);
    t.worldPen(1, ex, ey);
    const double rotation = t.view().angle - cur.azimuth;
    for (int j = 0; j < 2; ++j) {
      if (slot[j] < 0) continue;
      const std::string text = slot[j] == 5 ? kLabels[5] + formatFixed(noted, 0)
                                            : kLabels[slot[j]] + formatFixed(cur.chainage, 2);
      const int anchor = 6 - 6 * j + (d > 0 ? 2 : 0);
      t.drawWorldText(text, colour, anchor, ex, ey, rotation, textHeight);
    }
  }
}

}  // namespace

int alignmentColour(const AlignmentDrawingParams& p) {
  return p.printing && p.drukar == 1 ? 16 : 1;
}

double curveStep(double r, double viewScale, bool printing) {
  r = std::fabs(r);
  if (r <= 0.00001) r = 99999999;
  double t = printing ? 0.05 : 0.5 / viewScale;
  if (r < t) t = r;
  // A tiny radius (a clothoid's start carrying only a sign, 0.0001) would give steps of a third
  // of a millimetre; a step shorter than a pixel (0.05 units on paper) shows nothing more.
  const double shortest = printing ? 0.05 : 1 / viewScale;
  return std::max(2 * r * std::acos(1 - t / r), shortest);
}

double curveDrawRadius(double next, double current) {
  if (std::fabs(std::fabs(current) - 0.00011) < 0.000005) return next;
  if (std::fabs(next) <= 0.5) return current;
  if (std::fabs(next) >= std::fabs(current)) return current;
  return next;
}

void drawAlignment(DrawTarget& t, Alignment& a, const AlignmentDrawingParams& p) {
  if (a.count <= a.first) return;
  const int colour = alignmentColour(p);
  a.resetWalk();
  for (int i = a.first; i <= a.count; ++i) {
    const AlignmentRecord cur = a.record(i);
    if (i == a.first) {
      t.worldPen(0, cur.x, cur.y);
      t.drawPointMarker(2, cur.x, cur.y);
      t.setPenColour(colour);
      t.setPenWidth(2);
    }
    int kind = 1;
    if (std::fabs(cur.radius) > 0.01) kind = 2;
    if (std::fabs(cur.clothoidParameter) > 0.01) kind = 3;
    if (i >= a.count) break;
    const AlignmentRecord next = a.record(i + 1);
    if (kind != 1) {
      curve(t, a, cur.chainage, next.chainage, curveDrawRadius(next.radius, cur.radius),
            p.printing);
    }
    t.worldPen(kind == 1 ? 1 : 0, next.x, next.y);
    t.drawPointMarker(2, next.x, next.y);
  }
  chainageMarks(t, a, p);
  t.setPenWidth(2);
  t.setPenColour(colour);
  mainPointLabels(t, a, p);
}

int sectionSegmentColour(double layerValue) {
  return layerValue == 0 ? 3 : layerValue < 0 ? 6 : 2;
}

void drawCrossSections(DrawTarget& t, Alignment& a, RecordParser& parser,
                       const std::vector<std::string>& ter, const AlignmentDrawingParams& p,
                       const std::function<void()>& update) {
  if (ter.size() < 5) return;
  const CrossSectionText text = readCrossSectionText(ter, parser);
  // A text whose count line holds the placeholder of a short run shows no sections.
  if (text.announcedSections < 0) return;
  const double M = p.scaleDenominator;
  const double textHeight = corrected(p.sectionTextSize, 0.2) * M / 100;
  const int width = p.printing && p.drukar != 0 ? 1 : 4;
  std::size_t s = 0;
  for (const TerSection& section : text.sections) {
    double x = 0, y = 0, az = 0;
    pointAtChainage(a, section.chainage, x, y, az);
    if (!p.printing && ++s % 100 == 0 && update) update();
    const std::size_t n = static_cast<std::size_t>(section.declaredPoints);
    double px = 0, py = 0, layer = 0;
    for (std::size_t j = 1; j <= section.points.size(); ++j) {
      const SectionPoint& point = section.points[j - 1];
      double qx = 0, qy = 0;
      offsetPoint(x, y, az, point.offset, qx, qy);
      if (j == 1) {
        t.drawWorldText(formatFixed(section.chainage, 2), 6, 8, qx, qy, -az, textHeight);
      } else {
        t.setPenColour(sectionSegmentColour(layer));
        t.setPenWidth(width);
        t.worldPen(0, px, py);
        t.worldPen(1, qx, qy);
        t.drawPointMarker(12, px, py);
        if (j == n) t.drawPointMarker(12, qx, qy);
      }
      px = qx;
      py = qy;
      layer = point.layerValue;
    }
  }
}

}  // namespace merilon
