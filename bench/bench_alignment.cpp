// The alignment geometry alone: point at chainage walking along the axis (the walk cache's
// case), at random chainages, and single projections from the start of the alignment.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "alignment/alignment_geometry.h"

namespace {

using namespace merilon;

class QuietPlatform : public Platform {
 public:
  DialogResult showMessage(const MessageRequest&) override { return DialogResult::Ok; }
  std::optional<std::filesystem::path> chooseOpenFile(const FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<std::filesystem::path> chooseSaveFile(const FileDialogRequest&) override {
    return std::nullopt;
  }
  void setBusyCursor(bool) override {}
  void processPendingEvents() override {}
  void beep() override {}
  std::optional<std::string> clipboardText() override { return std::nullopt; }
  void setClipboardText(const std::string&) override {}
  void setApplicationTitle(const std::string&) override {}
  void minimizeApplication() override {}
  void showModal(Form&) override {}
  void showModeless(Form&) override {}
  void closeForm(Form&) override {}
};

// 60 elements over 10 km: straight, entry clothoid, arc, exit clothoid, turning right and left.
struct Axis {
  QuietPlatform platform;
  Alignment alignment;
  Axis() {
    alignment.initialise(platform);
    const double length = 10000.0 / 60, radius = 600, A = std::sqrt(length * radius);
    std::vector<AlignmentRecord> records;
    AlignmentRecord r{0, 500000, 5600000, 0.3, 0, 0};
    for (int e = 0; e <= 60; ++e) {
      const double turn = (e / 4) % 2 == 0 ? 1 : -1;
      const int kind = e == 60 ? 0 : e % 4;
      r.radius = kind == 0 ? 0 : kind == 1 ? (turn > 0 ? 0 : -0.0001) : turn * radius;
      r.clothoidParameter = kind == 1 ? A : kind == 3 ? -A : 0;
      records.push_back(r);
      auto next = records;
      next.push_back({r.chainage + length, 0, 0, 0, 0, 0});
      alignment.setRecords(platform, next);
      double x, y, a;
      pointAtChainage(alignment, r.chainage + length, x, y, a);
      r = {r.chainage + length, x, y, a, 0, 0};
    }
    alignment.setRecords(platform, records);
  }
};

Axis& axis() {
  static Axis a;
  return a;
}

void BM_PointAtChainageAlongTheAxis(benchmark::State& state) {
  Alignment& al = axis().alignment;
  double c = 0, x, y, a;
  for (auto _ : state) {
    pointAtChainage(al, c, x, y, a);
    benchmark::DoNotOptimize(x + y + a);
    c += 0.25;
    if (c > 10000) c = 0;
  }
}
BENCHMARK(BM_PointAtChainageAlongTheAxis);

void BM_PointAtChainageRandom(benchmark::State& state) {
  Alignment& al = axis().alignment;
  std::mt19937 random(1);
  std::uniform_real_distribution<double> chainage(0, 10000);
  std::vector<double> cs(4096);
  for (double& c : cs) c = chainage(random);
  std::size_t k = 0;
  double x, y, a;
  for (auto _ : state) {
    pointAtChainage(al, cs[k++ & 4095], x, y, a);
    benchmark::DoNotOptimize(x + y + a);
  }
}
BENCHMARK(BM_PointAtChainageRandom);

// One projection as the cross-section run makes it: from the start chainage, walk not reset.
void BM_ProjectFromStart(benchmark::State& state) {
  Alignment& al = axis().alignment;
  std::mt19937 random(2);
  std::uniform_real_distribution<double> chainage(0, 10000), offset(-50, 50);
  std::vector<std::pair<double, double>> pts(4096);
  for (auto& p : pts) {
    double x, y, a;
    pointAtChainage(al, chainage(random), x, y, a);
    offsetPoint(x, y, a, offset(random), p.first, p.second);
  }
  std::size_t k = 0;
  for (auto _ : state) {
    const auto& p = pts[k++ & 4095];
    double c = 0, o = 0, fx, fy;
    benchmark::DoNotOptimize(projectOnAlignment(al, p.first, p.second, c, o, fx, fy));
    benchmark::DoNotOptimize(c);
  }
}
BENCHMARK(BM_ProjectFromStart);

}  // namespace

BENCHMARK_MAIN();
