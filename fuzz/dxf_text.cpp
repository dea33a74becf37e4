// Fuzz target: any bytes as a DXF drawing, through the group-code/value pair reader and the
// conversion into text records (both with and without a coordinate mapping).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/dxf_pair_reader.h"
#include "dxf/dxf_text_records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  merilon::CoordinateMapping mapping;
  if (size > 0 && data[0] % 2 == 1) {
    mapping.scale = 0.5;
    mapping.drawingOriginX = 1000;
    mapping.surveyOriginY = -2000;
    mapping.heightFactor = 3;
  }
  merilon::DxfPairReader reader;
  reader.openBytes(bytes);
  std::vector<std::string> records;
  merilon::DxfTextHooks hooks;
  std::size_t logLines = 0;
  hooks.log = [&logLines](const std::string&) { ++logLines; };
  hooks.progressEvery = 64;
  // Stops now and then, as "Przerwij" answered Yes would.
  hooks.progress = [size](std::uintmax_t read) { return size > 0 && read * 7 / size == 5; };
  merilon::convertDxfPairsToText(reader, mapping, records, hooks);
  // Every record is three or four comma-separated fields.
  for (const std::string& r : records) {
    std::size_t commas = 0;
    for (char c : r) commas += c == ',';
    if (commas < 2 || commas > 3) __builtin_trap();
  }
  return 0;
}
