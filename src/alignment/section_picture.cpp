#include "alignment/section_picture.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <vector>

#include "alignment/alignment_drawing.h"
#include "drawing/colour_table.h"
#include "drawing/draw_target.h"
#include "platform/number_text.h"

namespace merilon {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kGrid{220, 220, 220};
constexpr Rgb kFrame{64, 64, 64};
constexpr Rgb kAxis{255, 0, 0};
constexpr int kLabelPoints = 8;
constexpr int kTitlePoints = 10;
constexpr double kMetresPerInch = 0.0254;
// The extent is widened by this share so that no point sits on the frame.
constexpr double kPadding = 1.08;
// At most this many grid lines each way, whatever the numbers (a hostile file).
constexpr long long kMaxGridLines = 400;

// The smallest step of 1, 2 or 5 times a power of ten not below `atLeast`.
double niceStep(double atLeast) {
  if (!(atLeast > 0) || !std::isfinite(atLeast)) return 1;
  const double p = std::pow(10.0, std::floor(std::log10(atLeast)));
  for (double m : {1.0, 2.0, 5.0, 10.0}) {
    if (m * p >= atLeast * (1 - 1e-12)) return m * p;
  }
  return 10 * p;
}

int textHeight(Canvas& c, int points) {
  return static_cast<int>(std::lround(points * c.fontPixelsPerInch() / 72.0));
}

// The multiples of `step` from `from` to `to`, at most kMaxGridLines of them.
std::vector<double> gridValues(double from, double to, double step) {
  std::vector<double> values;
  if (!(step > 0) || !(to >= from)) return values;
  const double first = std::ceil(from / step - 1e-9);
  const double last = std::floor(to / step + 1e-9);
  if (!std::isfinite(first) || !std::isfinite(last) || last - first > kMaxGridLines) {
    return values;
  }
  // Counted in whole steps: beyond 2^53 adding one to a double leaves it unchanged.
  const auto count = static_cast<long long>(last - first);
  for (long long k = 0; k <= count; ++k) values.push_back((first + static_cast<double>(k)) * step);
  return values;
}

void line(Canvas& c, double x1, double y1, double x2, double y2) {
  c.moveTo(toPixel(x1), toPixel(y1));
  c.lineTo(toPixel(x2), toPixel(y2));
}

std::string scaleText(const SectionPictureGeometry& g, double exaggeration, bool paper) {
  if (paper) {
    std::string text = "Skala 1:" + formatFixed(g.scaleDenominator, 0);
    if (exaggeration != 1) {
      const double vertical = g.scaleDenominator / exaggeration;
      // 1:25 tenfold is 1:2.5 upwards, not a rounded 1:3.
      text += ", pionowa 1:" +
              formatFixed(vertical, std::fabs(vertical - std::round(vertical)) < 0.005 ? 0 : 1);
    }
    return text;
  }
  if (exaggeration == 1) return "Skala pionowa równa poziomej";
  return "Przewyższenie pionowe " +
         formatFixed(exaggeration, exaggeration == std::floor(exaggeration) ? 0 : 1) + "×";
}

// Point markers as on the screen: 4 pixels at 96 per inch, as large on a finer canvas (a
// printer's page), where a marker of 4 device pixels would be a speck.
void drawSectionMarkers(Canvas& c, std::span<const Marker> markers, double unit) {
  const int half = toPixel(2 * unit);
  if (half <= 2) return c.drawMarkers(markers);
  for (const Marker& m : markers) {
    c.setPen(m.colour, hairWidth(unit), PenStyle::Solid);
    c.setBrush(kWhite, true);
    c.rectangle(m.x - half, m.y - half, m.x + half, m.y + half);
  }
}

// The scale bar under the plot: two blocks of half the bar's length, black and white.
void scaleBar(Canvas& c, const SectionPictureGeometry& g, int top, double unit) {
  const double metres = niceStep(80 * unit / g.pixelsPerMetreX);
  const double length = metres * g.pixelsPerMetreX;
  const int x0 = g.plotLeft, h = std::max(2, toPixel(4 * unit));
  const int xm = toPixel(x0 + length / 2), x1 = toPixel(x0 + length);
  c.setPen(kBlack, hairWidth(unit), PenStyle::Solid);
  c.setBrush(kBlack, true);
  c.rectangle(x0, top, xm + 1, top + h);
  c.setBrush(kWhite, true);
  c.rectangle(xm, top, x1 + 1, top + h);
  c.setFont("Arial", kLabelPoints);
  const std::string end = gridLabel(metres, metres) + " m";
  c.drawText(x1 + toPixel(4 * unit), top + h / 2 - textHeight(c, kLabelPoints) / 2, end, kBlack, 0);
}

}  // namespace

int hairWidth(double unit) { return std::max(1, toPixel(unit)); }

double roundScaleDenominator(double atLeast) {
  if (!(atLeast > 1)) return 1;
  if (!std::isfinite(atLeast)) return atLeast;
  const double p = std::pow(10.0, std::floor(std::log10(atLeast)));
  for (double m : {1.0, 2.0, 2.5, 5.0, 10.0}) {
    if (m * p >= atLeast * (1 - 1e-12)) return m * p;
  }
  return 10 * p;
}

std::string gridLabel(double value, double step) {
  const int decimals = step >= 1 ? 0 : step >= 0.1 ? 1 : 2;
  const std::string text = formatFixed(value, decimals);
  // "-0" of a value that rounds to zero is written as "0".
  if (text.find_first_not_of("-0.") == std::string::npos) return formatFixed(0, decimals);
  return text;
}

SectionPictureGeometry drawSectionPicture(Canvas& c, const TerSection& section,
                                          const SectionFrame& frame,
                                          const SectionPictureOptions& options) {
  SectionPictureGeometry g;
  const double unit = c.fontPixelsPerInch() / 96.0;  // sizes below are pixels at 96 per inch
  const double exaggeration = options.exaggeration > 0 ? options.exaggeration : 1;
  const int labelHeight = textHeight(c, kLabelPoints);
  const int titleHeight = textHeight(c, kTitlePoints);

  double o0 = 0, o1 = 0;  // the axis is always in the picture
  double z0 = 0, z1 = 0;
  for (std::size_t k = 0; k < section.points.size(); ++k) {
    const SectionPoint& p = section.points[k];
    o0 = std::min(o0, p.offset);
    o1 = std::max(o1, p.offset);
    z0 = k == 0 ? p.height : std::min(z0, p.height);
    z1 = k == 0 ? p.height : std::max(z1, p.height);
  }

  // Title: chainage and point count on the left, the scale on the right.
  c.setFont("Arial", kTitlePoints);
  const std::string title =
      "Pikietaż " + formatFixed(section.chainage, 2) +
      "    Liczba punktów: " + formatInt(static_cast<long long>(section.points.size()));
  c.drawText(frame.left, frame.top, title, kBlack, 0);

  c.setFont("Arial", kLabelPoints);
  const int heightLabelWidth =
      std::max(c.textWidth(formatFixed(z0, 2)), c.textWidth(formatFixed(z1, 2)));
  g.plotLeft = frame.left + heightLabelWidth + toPixel(8 * unit);
  g.plotTop = frame.top + titleHeight + toPixel(8 * unit);
  g.plotRight = frame.left + frame.width - toPixel(12 * unit);
  const int belowPlot =
      labelHeight + toPixel(6 * unit) + (options.paper ? labelHeight + toPixel(10 * unit) : 0);
  g.plotBottom = frame.top + frame.height - belowPlot;
  const double plotWidth = g.plotRight - g.plotLeft, plotHeight = g.plotBottom - g.plotTop;
  if (!(plotWidth > 10) || !(plotHeight > 10)) return g;

  const double spanO = std::max(o1 - o0, 1.0), spanZ = std::max(z1 - z0, 0.1);
  double sx =
      std::min(plotWidth / (spanO * kPadding), plotHeight / (spanZ * kPadding * exaggeration));
  if (options.paper && sx > 0) {
    const double pixelsPerMetreAtOne = c.fontPixelsPerInch() / kMetresPerInch;
    g.scaleDenominator = roundScaleDenominator(pixelsPerMetreAtOne / sx);
    sx = pixelsPerMetreAtOne / g.scaleDenominator;
  }
  if (!(sx > 0) || !std::isfinite(sx) || !std::isfinite(spanO) || !std::isfinite(spanZ)) {
    return g;
  }
  g.pixelsPerMetreX = sx;
  g.pixelsPerMetreY = sx * exaggeration;
  g.offsetAtLeft = (o0 + o1) / 2 - plotWidth / 2 / g.pixelsPerMetreX;
  g.heightAtBottom = (z0 + z1) / 2 - plotHeight / 2 / g.pixelsPerMetreY;
  const double offsetAtRight = g.offsetAtLeft + plotWidth / g.pixelsPerMetreX;
  const double heightAtTop = g.heightAtBottom + plotHeight / g.pixelsPerMetreY;

  // Grid with its labels: offsets under the plot, heights on its left.
  const double stepO = niceStep(60 * unit / g.pixelsPerMetreX);
  const double stepZ = niceStep(28 * unit / g.pixelsPerMetreY);
  const int hair = hairWidth(unit);
  c.setPen(kGrid, hair, PenStyle::Solid);
  for (double o : gridValues(g.offsetAtLeft, offsetAtRight, stepO)) {
    line(c, g.x(o), g.plotTop, g.x(o), g.plotBottom);
  }
  for (double z : gridValues(g.heightAtBottom, heightAtTop, stepZ)) {
    line(c, g.plotLeft, g.y(z), g.plotRight, g.y(z));
  }
  for (double o : gridValues(g.offsetAtLeft, offsetAtRight, stepO)) {
    const std::string text = gridLabel(o, stepO);
    c.drawText(toPixel(g.x(o) - c.textWidth(text) / 2.0), g.plotBottom + toPixel(3 * unit), text,
               kBlack, 0);
  }
  for (double z : gridValues(g.heightAtBottom, heightAtTop, stepZ)) {
    const std::string text = gridLabel(z, stepZ);
    c.drawText(g.plotLeft - toPixel(4 * unit) - c.textWidth(text),
               toPixel(g.y(z) - labelHeight / 2.0), text, kBlack, 0);
  }
  c.setPen(kFrame, hair, PenStyle::Solid);
  c.setBrush(kWhite, false);
  c.rectangle(g.plotLeft, g.plotTop, g.plotRight + 1, g.plotBottom + 1);

  // The axis: offset 0.
  c.setPen(kAxis, hair, PenStyle::DashDot);
  line(c, g.x(0), g.plotTop, g.x(0), g.plotBottom);
  c.drawText(toPixel(g.x(0) + 3 * unit), g.plotTop + toPixel(2 * unit), "oś", kAxis, 0);

  // The terrain line, each segment in the colour of its first point's layer value.
  const ColourTable colours;
  const int width = std::max(1, toPixel(kSectionLineWidth * unit));
  for (std::size_t k = 1; k < section.points.size(); ++k) {
    const SectionPoint& a = section.points[k - 1];
    const SectionPoint& b = section.points[k];
    c.setPen(colours[sectionSegmentColour(a.layerValue)], width, PenStyle::Solid);
    line(c, g.x(a.offset), g.y(a.height), g.x(b.offset), g.y(b.height));
  }
  std::vector<Marker> markers;
  for (const SectionPoint& p : section.points) {
    markers.push_back({toPixel(g.x(p.offset)), toPixel(g.y(p.height)), colours[12]});
  }
  drawSectionMarkers(c, markers, unit);

  const std::string scale = scaleText(g, exaggeration, options.paper);
  c.setFont("Arial", kLabelPoints);
  c.drawText(frame.left + frame.width - c.textWidth(scale) - toPixel(12 * unit),
             frame.top + (titleHeight - labelHeight), scale, kBlack, 0);
  if (options.paper) scaleBar(c, g, g.plotBottom + labelHeight + toPixel(10 * unit), unit);
  return g;
}

}  // namespace merilon
