// Terrain cross-sections ("poprzeczki") for the road-design system: every point is projected on
// the alignment, points close together in chainage form one section, and the sections are
// written as the text of a .TER file.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "alignment/alignment.h"
#include "points/point_store.h"

namespace merilon {

// What one run reads from the dialog and the main window. A bound equal to -99999999 is not
// applied; offsets are negative to the left of the axis.
struct CrossSectionParams {
  double startChainage = -99999999;
  double endChainage = -99999999;
  double leftLimit = -50;
  double rightLimit = 50;
  double sectionRange = 4;
  double chainageAccuracy = 0.01;
  double singlePointMaxDistance = 2;
  bool boundaryCodesOnly = false;
  std::string axisCode = "S";
  std::array<std::string, 2> pavementCodes{"NA", "NB"};
  std::array<double, 2> pavementThicknesses{0.5, 0.3};
  std::array<std::string, 2> humusCodes{"HA", "HB"};
  std::array<double, 2> humusThicknesses{0.5, 0.3};
};

// How a run reports: the message list, the status line and the progress bar. Any may be empty.
struct CrossSectionReport {
  std::function<void(const std::string&)> log;
  std::function<void(const std::string&)> status;
  std::function<void(int maximum)> progressStart;
  std::function<void(int position)> progressPosition;
};

inline constexpr int kMaxSectionPoints = 120;
inline constexpr int kMaxSections = 2000;
// The layer value written on the last point of every section.
inline constexpr double kSectionEndLayer = -9999999;

// Fills the per-point work arrays of the store: chainage and offset on the alignment, the axis
// flag, the layer depth (+pavement, -humus thickness) and the use flag (1 candidate, -1
// candidate with a layer code, 0 excluded). Points outside the bounds get chainage -99999999.
// False when the alignment has no records.
bool projectAllPoints(PointStore& points, Alignment& alignment, const CrossSectionParams& params,
                      const CrossSectionReport& report = {});

// The whole run: projects the points, builds the sections and puts the .TER text into
// `workText`. `params` is taken after the corrections of a too small range or accuracy.
void generateCrossSections(PointStore& points, Alignment& alignment, CrossSectionParams params,
                           std::vector<std::string>& workText,
                           const CrossSectionReport& report = {});

// The sections of points already projected (the part of the run after projectAllPoints): sorts
// `pointOrder` by chainage, walks the windows and appends the sections to `workText`, which
// holds the two opening lines; the second is replaced when three or more sections are written.
// `params` must already carry the corrected range and accuracy.
void buildCrossSections(PointStore& points, const CrossSectionParams& params,
                        std::vector<std::string>& workText, const CrossSectionReport& report = {});

// Sorts order[1..m] so that offsets[order[k]] ascend (Shell sort, halving gaps).
void sortSectionByOffset(const double* offsets, int* order, int m);

}  // namespace merilon
