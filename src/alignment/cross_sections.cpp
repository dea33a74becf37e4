#include "alignment/cross_sections.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <system_error>
#include <thread>

#include "alignment/alignment_geometry.h"
#include "platform/cp1250.h"
#include "platform/number_text.h"
#include "points/no_value.h"

namespace merilon {
namespace {

// Points projected together between two moves of the progress bar.
constexpr int kProjectionChunk = 4096;

inline std::size_t u(int i) { return static_cast<std::size_t>(i); }

bool contains(std::string_view name, const std::string& code) {
  // An empty code field marks nothing; otherwise every point would carry the layer.
  return !code.empty() && name.find(code) != std::string_view::npos;
}

// The codes as the point names hold them (code page 1250), so that the test per point needs no
// conversion.
struct EncodedCodes {
  std::string axis;
  std::array<std::string, 2> pavement, humus;
  explicit EncodedCodes(const CrossSectionParams& p)
      : axis(encodeCp1250(p.axisCode)),
        pavement{encodeCp1250(p.pavementCodes[0]), encodeCp1250(p.pavementCodes[1])},
        humus{encodeCp1250(p.humusCodes[0]), encodeCp1250(p.humusCodes[1])} {}
};

bool outsideBounds(const CrossSectionParams& p, double chainage, double offset) {
  return (p.leftLimit != NO_VALUE_F && offset < p.leftLimit) ||
         (p.rightLimit != NO_VALUE_F && offset > p.rightLimit) ||
         (p.startChainage != NO_VALUE_F && chainage < p.startChainage) ||
         (p.endChainage != NO_VALUE_F && chainage > p.endChainage);
}

std::string fixed2(double v) { return formatFixed(v, 2); }

}  // namespace

bool projectAllPoints(PointStore& points, Alignment& alignment, const CrossSectionParams& p,
                      const CrossSectionReport& report) {
  if (alignment.count < 1) return false;
  const int n = points.pointCount();
  const EncodedCodes codes(p);
  if (report.progressStart) report.progressStart(n);
  if (n >= 1) points.pointOffset[1] = NO_VALUE_F;  // the first projection resets the walk
  std::vector<ProjectionTask> tasks;
  tasks.reserve(kProjectionChunk);
  std::vector<int> taskPoint;
  taskPoint.reserve(kProjectionChunk);
  // Projects the points gathered so far (each from its chainage guess and offset argument);
  // a failed projection leaves chainage -99999999.
  // The projections are independent of each other: on a machine with a second core, half of
  // each chunk runs there on a copy of the alignment (whose walk cache is its own), with the
  // same results as on one thread. The command itself stays on the user-interface thread.
  std::optional<Alignment> second;
  if (n >= 2 * kProjectionChunk && std::thread::hardware_concurrency() > 1)
    second.emplace(alignment);
  auto projectGathered = [&] {
    const std::size_t half = tasks.size() / 2;
    bool split = false;
    if (second && half > 0) {
      try {
        std::thread other(
            [&] { projectOnAlignment(*second, tasks.data() + half, tasks.size() - half); });
        projectOnAlignment(alignment, tasks.data(), half);
        other.join();
        split = true;
      } catch (const std::system_error&) {
        // No thread to be had: everything on this one.
      }
    }
    if (!split) projectOnAlignment(alignment, tasks.data(), tasks.size());
    for (std::size_t t = 0; t < tasks.size(); ++t) {
      const auto k = u(taskPoint[t]);
      if (tasks[t].ok) {
        points.pointChainage[k] = tasks[t].chainage;
        points.pointOffset[k] = tasks[t].offset;
      } else {
        points.pointChainage[k] = NO_VALUE_F;
      }
    }
  };
  auto gather = [&](int i) {
    const auto k = u(i);
    tasks.push_back({points.pointX[k], points.pointY[k], points.pointChainage[k],
                     points.pointOffset[k], false});
    taskPoint.push_back(i);
  };

  for (int from = 1; from <= n; from += kProjectionChunk) {
    const int to = std::min(n, from + kProjectionChunk - 1);
    tasks.clear();
    taskPoint.clear();
    for (int i = from; i <= to; ++i) {
      const auto k = u(i);
      points.pointUseFlag[k] = 1;
      points.pointChainage[k] = p.startChainage;
      const std::string_view name = points.pointName[k].raw();
      points.pointAxisFlag[k] =
          (!name.empty() && codes.axis.find(name) != std::string::npos) ? 1 : 0;
      double depth = 0;
      if (contains(name, codes.humus[1])) depth = -p.humusThicknesses[1];
      if (contains(name, codes.humus[0])) depth = -p.humusThicknesses[0];
      if (contains(name, codes.pavement[1])) depth = p.pavementThicknesses[1];
      if (contains(name, codes.pavement[0])) depth = p.pavementThicknesses[0];
      points.pointLayerDepth[k] = depth;
      if (depth != 0) points.pointUseFlag[k] = -1;
      gather(i);
    }
    projectGathered();
    for (int i = from; i <= to; ++i) {
      const auto k = u(i);
      if (outsideBounds(p, points.pointChainage[k], points.pointOffset[k])) {
        points.pointUseFlag[k] = 0;
        points.pointChainage[k] = NO_VALUE_F;
      } else if (points.pointType[k] > 0) {
        points.pointUseFlag[k] = 0;
      }
    }
    if (report.progressPosition) report.progressPosition(to);
  }

  // Points that did not project within the bounds are tried once more from the other end.
  auto finishSecondPass = [&] {
    projectGathered();
    for (int i : taskPoint) {
      const auto k = u(i);
      if (outsideBounds(p, points.pointChainage[k], points.pointOffset[k]) ||
          points.pointType[k] > 0) {
        points.pointUseFlag[k] = 0;
        points.pointChainage[k] = NO_VALUE_F;
      }
    }
    tasks.clear();
    taskPoint.clear();
  };
  tasks.clear();
  taskPoint.clear();
  for (int i = 1; i <= n; ++i) {
    const auto k = u(i);
    if (points.pointChainage[k] != NO_VALUE_F) continue;
    points.pointChainage[k] = p.endChainage;
    points.pointUseFlag[k] = points.pointLayerDepth[k] != 0 ? -1 : 1;
    gather(i);
    if (static_cast<int>(tasks.size()) == kProjectionChunk) finishSecondPass();
  }
  finishSecondPass();
  return true;
}

void sortSectionByOffset(const double* offsets, int* order, int m) {
  for (int gap = m / 2; gap > 0; gap /= 2) {
    for (int i = gap + 1; i <= m; ++i) {
      const int moving = order[i];
      int j = i;
      while (j - gap >= 1 && offsets[order[j - gap]] > offsets[moving]) {
        order[j] = order[j - gap];
        j -= gap;
      }
      order[j] = moving;
    }
  }
}

void generateCrossSections(PointStore& points, Alignment& alignment, CrossSectionParams p,
                           std::vector<std::string>& workText, const CrossSectionReport& report) {
  if (p.sectionRange < 0.01) p.sectionRange = 0.01;
  if (p.chainageAccuracy < 0.01) p.chainageAccuracy = 0.5 * p.sectionRange;

  workText.clear();
  workText.emplace_back("\"&IBMVORDPOW\",\"\"");
  workText.emplace_back("PUSTA DO WPISANIA");
  if (!projectAllPoints(points, alignment, p, report)) return;
  buildCrossSections(points, p, workText, report);
}

void buildCrossSections(PointStore& points, const CrossSectionParams& p,
                        std::vector<std::string>& workText, const CrossSectionReport& report) {
  auto log = [&](const std::string& text) {
    if (report.log) report.log(text);
  };
  const int n = points.pointCount();
  for (int i = 1; i <= n; ++i) points.pointOrder[u(i)] = i;
  if (n > 1) points.sortPointOrder(1, n);

  // One section's members, slots 1..120.
  std::array<double, kMaxSectionPoints + 1> offset{}, height{}, layer{};
  std::array<int, kMaxSectionPoints + 1> order{};

  const auto& chainage = points.pointChainage;
  auto& flag = points.pointUseFlag;
  const auto& pointOrder = points.pointOrder;
  auto available = [&](int i) { return flag[u(i)] != 0; };

  int s = -1;
  double firstChainage = 0, lastChainage = 0;
  double lastWindowTop = 0;   // largest member chainage of the last window examined
  double lastWrittenTop = 0;  // the same for the last section written
  // Everything before this place in pointOrder is taken or excluded, so the search for the
  // next section's first point never goes back.
  int scan = 1;
  int reported = 0;
  for (;;) {
    while (scan <= n &&
           !(chainage[u(pointOrder[u(scan)])] != NO_VALUE_F && available(pointOrder[u(scan)]))) {
      ++scan;
    }
    if (scan > n) break;
    if (report.progressPosition && scan - reported >= kProjectionChunk) {
      reported = scan;
      report.progressPosition(scan);
    }
    const double cmin = chainage[u(pointOrder[u(scan)])];
    const double lower = cmin - 0.01;
    const double upper = cmin + 0.01 + p.sectionRange;

    int m = 0;
    bool axisFound = false;
    double nearest = 99999999;
    double reference = cmin;
    // The points before `scan` have chainages up to cmin and none is available; the window
    // ends at the first chainage not below `upper`.
    for (int k = scan; k <= n; ++k) {
      const int i = pointOrder[u(k)];
      const double c = chainage[u(i)];
      // The window's first point is always its member: at chainages beyond some 10^14 m (a
      // broken alignment) cmin - 0.01 and cmin + 0.01 are cmin itself, and a window without
      // its first point would take nothing, again and again.
      const bool first = k == scan;
      if (!first && c >= upper) break;
      if (!first && (!available(i) || !(lower < c))) continue;
      if (m == kMaxSectionPoints) {
        log("W pikietażu " + fixed2(c) + " przekroczono zakres punktów dla jednej poprzeczki " +
            formatInt(kMaxSectionPoints));
        continue;
      }
      ++m;
      const double o = points.pointOffset[u(i)];
      if (points.pointAxisFlag[u(i)] == 1) {
        reference = c;
        axisFound = true;
      } else if (!axisFound && std::fabs(o) < nearest) {
        nearest = std::fabs(o);
        reference = c;
      }
      offset[u(m)] = o;
      height[u(m)] = points.pointZ[u(i)];
      layer[u(m)] = flag[u(i)] == -1 ? -points.pointLayerDepth[u(i)] : 0.0;
      order[u(m)] = m;
      flag[u(i)] = 0;
      lastWindowTop = c;
    }
    if (m > 1) sortSectionByOffset(offset.data(), order.data(), m);
    const double cs = std::floor((reference + 0.5 * p.chainageAccuracy) / p.chainageAccuracy) *
                      p.chainageAccuracy;

    ++s;
    if (m == 0 || (p.singlePointMaxDistance != NO_VALUE_F && m == 1 &&
                   std::fabs(offset[1]) > p.singlePointMaxDistance)) {
      --s;
      continue;
    }
    if (s == 0) firstChainage = cs;
    if (s == kMaxSections) {
      --s;
      log("Przekroczono limit " + formatInt(kMaxSections) + " poprzeczek w pikietażu " +
          fixed2(cs) + ", pozostałe punkty pominięto");
      lastWindowTop = lastWrittenTop;
      break;
    }
    lastChainage = cs;
    lastWrittenTop = lastWindowTop;
    workText.push_back(fixed2(cs) + "," + formatInt(3 * m));
    if (report.status) report.status("Wygenerowano poprzeczkę w pikietażu " + fixed2(cs));
    double previous = 0;
    for (int j = 1; j <= m; ++j) {
      const int slot = order[u(j)];
      double value = j == m ? kSectionEndLayer : layer[u(slot)];
      if (p.boundaryCodesOnly && value == 0 && previous != 0) value = previous;
      previous = value;
      workText.push_back(fixed2(offset[u(slot)]));
      workText.push_back(fixed2(height[u(slot)]));
      workText.push_back(fixed2(value));
      workText.emplace_back("\"\"");
    }
  }
  if (s >= 2) {
    workText[1] = "Teren z Merilonu,0," + fixed2(firstChainage) + "," + fixed2(lastChainage) + "," +
                  formatInt(s);
    log("Wygenerowano teren");
    log("Zakres pikietaży: " + fixed2(firstChainage) + " - " + fixed2(lastWindowTop));
    log("Liczba poprzeczek: " + formatInt(s + 1));
  }
}

}  // namespace merilon
