#include "dxf/dxf_support_texts.h"

#include <fstream>
#include <iterator>

#include "platform/text_file.h"

namespace merilon {

const std::vector<std::string>& builtInSupportText(const std::string& name) {
  // After the "  9" that $LIMMAX leaves open: the code page (so readers decode the Polish letters
  // of the texts), the end of HEADER, and the tables before LAYER.
  static const std::vector<std::string> header = {
      "$DWGCODEPAGE", "  3", "ANSI_1250",  "  9", "$TEXTSTYLE", "  7", "STANDARD",   "  0",
      "ENDSEC",       "  0", "SECTION",    "  2", "TABLES",     "  0", "TABLE",      "  2",
      "LTYPE",        " 70", "     1",     "  0", "LTYPE",      "  2", "CONTINUOUS", " 70",
      "     0",       "  3", "Solid line", " 72", "    65",     " 73", "     0",     " 40",
      "0.0",          "  0", "ENDTAB",     "  0", "TABLE",      "  2", "STYLE",      " 70",
      "     1",       "  0", "STYLE",      "  2", "STANDARD",   " 70", "     0",     " 40",
      "0.0",          " 41", "1.0",        " 50", "0.0",        " 71", "     0",     " 42",
      "0.2",          "  3", "txt",        "  4", "",           "  0", "ENDTAB",     "  0"};
  // After the "0" of the last layer: the end of LAYER and of TABLES.
  static const std::vector<std::string> trailer = {"ENDTAB", "  0", "ENDSEC"};
  static const std::vector<std::string> none;
  if (name == "NMT_d1.bin") return header;
  if (name == "NMT_d2.bin") return trailer;
  return none;
}

std::vector<std::string> loadSupportText(const std::filesystem::path& programFolder,
                                         const std::string& name) {
  std::ifstream in(programFolder / name, std::ios::binary);
  if (!in) return builtInSupportText(name);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad() || bytes.empty()) return builtInSupportText(name);
  return splitLines(bytes);
}

}  // namespace merilon
