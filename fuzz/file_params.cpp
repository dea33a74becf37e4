// MERI_PARAM.knf: any existing file, into which the parameters of two data files are saved;
// reading them back gives what was saved, and the other lines are kept.
#include "shell/file_params.h"

#include <string>

#include "fuzz_program.h"
#include "platform/cp1250.h"
#include "platform/text_file.h"
#include "points/record_parser.h"

using namespace merilon;
using namespace merilon::fuzzing;

namespace {

// A field value made of the input's bytes, without the characters a field cannot hold.
std::string fieldFrom(std::string_view bytes, std::size_t k) {
  std::string raw;
  for (std::size_t j = 0; j < k % 4 && !bytes.empty(); ++j) {
    char c = bytes[(k * 7 + j * 3) % bytes.size()];
    if (c == ',' || c == '\r' || c == '\n' || c == '\0') c = 'x';
    raw.push_back(c);
  }
  return decodeCp1250(raw);
}

FileParams paramsFrom(std::string_view bytes, std::size_t salt) {
  FileParams p;
  std::size_t k = salt;
  for (std::string* f :
       {&p.positionX, &p.positionY, &p.positionZ, &p.positionSymbol, &p.positionType, &p.axisCode,
        &p.pavement1Code, &p.pavement2Code, &p.humus1Code, &p.humus2Code, &p.pavement1Thickness,
        &p.pavement2Thickness, &p.humus1Thickness, &p.humus2Thickness}) {
    *f = fieldFrom(bytes, ++k);
  }
  // Any character but the end of a line can be a separator, the blank included.
  const unsigned char s =
      bytes.empty() ? ',' : static_cast<unsigned char>(bytes[salt % bytes.size()]);
  p.separator = (s == 0 || s == '\r' || s == '\n') ? ";" : decodeCp1250(std::string(1, char(s)));
  return p;
}

void expectRestored(RecordParser& parser, const std::filesystem::path& file,
                    const std::string& name, const FileParams& saved) {
  FileParams got;
  if (!loadFileParams(parser, file, name, got)) propertyFailed("nothing found for " + name);
  const bool structure = restoredParamsFor(name) == RestoredParams::RecordStructure;
  const FileParams& s = saved;
  const bool same =
      structure
          ? got.positionX == s.positionX && got.positionY == s.positionY &&
                got.positionZ == s.positionZ && got.positionSymbol == s.positionSymbol &&
                got.positionType == s.positionType && got.separator == s.separator
          : got.axisCode == s.axisCode && got.pavement1Code == s.pavement1Code &&
                got.pavement2Code == s.pavement2Code && got.humus1Code == s.humus1Code &&
                got.humus2Code == s.humus2Code && got.pavement1Thickness == s.pavement1Thickness &&
                got.pavement2Thickness == s.pavement2Thickness &&
                got.humus1Thickness == s.humus1Thickness &&
                got.humus2Thickness == s.humus2Thickness;
  if (!same) propertyFailed("read back other parameters for " + name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const FuzzFolder folder;
  const std::string_view bytes = asText(data, size);
  const auto file = folder.put("MERI_PARAM.knf", bytes);
  RecordParser parser;
  // Reading a file that holds no line for the name finds nothing and changes nothing.
  FileParams untouched;
  loadFileParams(parser, file, "/nie/ma/takiego.txt", untouched);

  const std::string text = (folder.path() / "Pomiar.txt").string();
  const std::string points = (folder.path() / "Pomiar.meri").string();
  const FileParams a = paramsFrom(bytes, 1), b = paramsFrom(bytes, 2);
  std::string error;
  if (!saveFileParams(parser, file, file, text, a, error) ||
      !saveFileParams(parser, file, file, points, b, error)) {
    propertyFailed("could not save: " + error);
  }
  expectRestored(parser, file, text, a);
  expectRestored(parser, file, points, b);
  return 0;
}
