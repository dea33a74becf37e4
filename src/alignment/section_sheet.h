// Cross-sections on paper: A4 pages holding several sections one under another, each with its
// chainage, point count, round scale and scale bar, under a heading with the file's name and
// the page number. The same page draws the viewer's printout of one section.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "alignment/cross_section_text.h"
#include "alignment/section_picture.h"
#include "platform/canvas.h"

namespace merilon {

inline constexpr int kSectionsPerPage = 4;
inline constexpr double kA4WidthMm = 210, kA4HeightMm = 297;

struct SectionSheetPage {
  std::string heading;  // "Przekroje poprzeczne terenu: teren.TER"
  int pageNumber = 1, pageCount = 1;
  double exaggeration = 1;
  // Sections on this page, in their order; at most kSectionsPerPage make a readable page.
  std::vector<const TerSection*> sections;
  int rows = kSectionsPerPage;  // cells the page is divided into
};

// The number of pages that `sections` sections need.
int sectionSheetPageCount(std::size_t sections);

// Draws one page on a canvas of the page's size (its pixels per inch from fontPixelsPerInch);
// returns the geometry of each section drawn.
std::vector<SectionPictureGeometry> drawSectionSheetPage(Canvas& page, const SectionSheetPage& p);

}  // namespace merilon
