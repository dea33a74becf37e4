// The survey records the import benchmarks read: five fields (X, Y, Z, symbol, type) at survey
// coordinates, about 5 % exact duplicates of an earlier record and 1 % with an earlier record's
// X and Y but another height.
#pragma once

#include <array>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/number_text.h"

namespace merilon::bench {

inline std::vector<std::string> surveyRecords(int n) {
  std::mt19937_64 rng(2026);
  std::uniform_real_distribution<double> east(5600000, 5610000), north(7450000, 7460000);
  std::uniform_real_distribution<double> height(100, 200);
  std::uniform_int_distribution<int> pick(0, 99);
  std::vector<std::string> lines;
  std::vector<std::array<double, 3>> made;
  lines.reserve(static_cast<std::size_t>(n));
  made.reserve(static_cast<std::size_t>(n));
  for (int k = 0; k < n; ++k) {
    std::array<double, 3> p{east(rng), north(rng), height(rng)};
    const int roll = pick(rng);
    if (!made.empty() && roll < 6) {
      p = made[rng() % made.size()];
      if (roll == 5) p[2] += 1.5;
    }
    made.push_back(p);
    lines.push_back(formatFixed(p[0], 2) + "," + formatFixed(p[1], 2) + "," + formatFixed(p[2], 3) +
                    ",PKT" + formatInt(k) + "," + formatInt(k % 7));
  }
  return lines;
}

// The records as a text file with CR LF line ends.
inline void writeSurveyRecordFile(const std::filesystem::path& path, int n) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  for (const auto& line : surveyRecords(n)) {
    std::fwrite(line.data(), 1, line.size(), f);
    std::fwrite("\r\n", 1, 2, f);
  }
  std::fclose(f);
}

}  // namespace merilon::bench
