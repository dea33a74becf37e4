#include "alignment/section_sheet.h"

#include <algorithm>
#include <cmath>

#include "platform/number_text.h"

namespace merilon {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kRule{192, 192, 192};
constexpr double kMarginMm = 12;
constexpr int kHeadingPoints = 11;

}  // namespace

int sectionSheetPageCount(std::size_t sections) {
  return static_cast<int>((sections + kSectionsPerPage - 1) / kSectionsPerPage);
}

std::vector<SectionPictureGeometry> drawSectionSheetPage(Canvas& c, const SectionSheetPage& p) {
  std::vector<SectionPictureGeometry> drawn;
  const double pixelsPerMm = c.fontPixelsPerInch() / 25.4;
  const int margin = static_cast<int>(std::lround(kMarginMm * pixelsPerMm));
  const int headingHeight =
      static_cast<int>(std::lround(kHeadingPoints * c.fontPixelsPerInch() / 72.0));
  c.setPen(kBlack, 1, PenStyle::Invisible);
  c.setBrush(Rgb{255, 255, 255}, true);
  c.rectangle(0, 0, c.width() + 1, c.height() + 1);

  c.setFont("Arial", kHeadingPoints);
  c.drawText(margin, margin, p.heading, kBlack, 0);
  const std::string pageText = "Strona " + formatInt(p.pageNumber) + " z " + formatInt(p.pageCount);
  c.drawText(c.width() - margin - c.textWidth(pageText), margin, pageText, kBlack, 0);
  const int top = margin + headingHeight * 2;
  const int rows = std::max(1, p.rows);
  const int cellHeight = (c.height() - margin - top) / rows;
  const int width = c.width() - 2 * margin;
  SectionPictureOptions options;
  options.paper = true;
  options.exaggeration = p.exaggeration;
  for (std::size_t k = 0; k < p.sections.size() && k < static_cast<std::size_t>(rows); ++k) {
    const int y = top + static_cast<int>(k) * cellHeight;
    if (k > 0) {
      c.setPen(kRule, hairWidth(c.fontPixelsPerInch() / 96.0), PenStyle::Solid);
      c.moveTo(margin, y - headingHeight / 2);
      c.lineTo(margin + width, y - headingHeight / 2);
    }
    const SectionFrame frame{margin, y, width, cellHeight - headingHeight};
    drawn.push_back(drawSectionPicture(c, *p.sections[k], frame, options));
  }
  return drawn;
}

}  // namespace merilon
