// Fuzz target: any bytes as a LandXML file, through the content test, the list of alignments and
// the geometry of each into main points, which must then be finite and run in chainage order.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "alignment/alignment_geometry.h"
#include "alignment/landxml_alignment.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  (void)merilon::looksLikeLandXml(text);
  merilon::LandXmlFile file;
  std::string error;
  if (!file.loadText(std::move(text), error)) {
    if (error.empty()) __builtin_trap();
    return 0;
  }
  for (std::size_t i = 0; i < file.alignments().size() && i < 8; ++i) {
    std::vector<merilon::AlignmentRecord> records;
    if (!file.records(i, records, error)) {
      if (error.empty()) __builtin_trap();
      continue;
    }
    if (records.size() < 2) __builtin_trap();
    for (std::size_t k = 0; k < records.size(); ++k) {
      const auto& r = records[k];
      if (!std::isfinite(r.x) || !std::isfinite(r.y) || !std::isfinite(r.azimuth)) continue;
      if (k > 0 && !(records[k - 1].chainage <= r.chainage) && std::isfinite(r.chainage)) {
        __builtin_trap();
      }
    }
  }
  return 0;
}
