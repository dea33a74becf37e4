#include "shell/file_params.h"

#include <vector>

#include "platform/cp1250.h"
#include "platform/number_text.h"
#include "platform/text_file.h"
#include "points/no_value.h"
#include "points/numeric_helpers.h"
#include "points/record_parser.h"

namespace merilon {
namespace {

// The separator's first character as its code page 1250 code: 44 for ",", 116 for "t".
int separatorCode(const std::string& separator) {
  if (separator.empty()) return 0;
  const std::string first = encodeCp1250(utf8Prefix(separator, 1));
  return first.empty() ? 0 : static_cast<unsigned char>(first[0]);
}

// Index of the first line whose field 1, in upper case, is the name in upper case; -1 if none.
int findLine(RecordParser& parser, const std::vector<std::string>& lines, const std::string& key) {
  parser.fieldSeparator = ",";
  for (std::size_t i = 0; i < lines.size(); ++i) {
    parser.recordLine = lines[i];
    parser.splitRecord();
    if (upperCase(parser.textField(1)) == key) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

RestoredParams restoredParamsFor(const std::string& fileName) {
  const std::string ext = upperExtension(fileName);
  if (ext == ".TXT") return RestoredParams::RecordStructure;
  if (ext == ".MERI") return RestoredParams::CodesAndThicknesses;
  return RestoredParams::None;
}

bool saveFileParams(RecordParser& parser, const std::filesystem::path& readFile,
                    const std::filesystem::path& writeFile, const std::string& fileName,
                    const FileParams& p, std::string& error) {
  const std::string key = upperCase(fileName);
  std::vector<std::string> lines;
  int found = -1;
  std::error_code ec;
  if (std::filesystem::exists(readFile, ec)) {
    // A file that is there but cannot be read is not replaced by one line of its own.
    if (!readCp1250Lines(readFile, lines, error)) return false;
    found = findLine(parser, lines, key);
  }
  std::string line = key + ",0,0,0";
  for (const std::string* field :
       {&p.positionX, &p.positionY, &p.positionZ, &p.positionSymbol, &p.positionType}) {
    line += "," + *field;
  }
  line += "," + formatInt(separatorCode(p.separator));
  for (const std::string* field :
       {&p.axisCode, &p.pavement1Code, &p.pavement2Code, &p.humus1Code, &p.humus2Code,
        &p.pavement1Thickness, &p.pavement2Thickness, &p.humus1Thickness, &p.humus2Thickness}) {
    line += "," + *field;
  }
  if (found >= 0) {
    lines[static_cast<std::size_t>(found)] = line;
  } else {
    lines.push_back(line);
  }
  return writeCp1250Lines(writeFile, lines, error);
}

bool loadFileParams(RecordParser& parser, const std::filesystem::path& file,
                    const std::string& fileName, FileParams& p) {
  std::vector<std::string> lines;
  std::string error;
  if (!fileExists(file) || !readCp1250Lines(file, lines, error)) return false;
  const int found = findLine(parser, lines, upperCase(fileName));
  if (found < 0) return false;
  parser.recordLine = lines[static_cast<std::size_t>(found)];
  parser.splitRecord();
  auto field = [&](int k) { return std::string(parser.textField(k)); };
  switch (restoredParamsFor(fileName)) {
    case RestoredParams::RecordStructure: {
      p.positionX = field(5);
      p.positionY = field(6);
      p.positionZ = field(7);
      p.positionSymbol = field(8);
      p.positionType = field(9);
      const std::int32_t code = parser.intField(10);
      // A code that names no character leaves the separator as it is.
      if (code >= 1 && code <= 255) {
        p.separator = decodeCp1250(std::string(1, static_cast<char>(code)));
      }
      break;
    }
    case RestoredParams::CodesAndThicknesses:
      p.axisCode = field(11);
      p.pavement1Code = field(12);
      p.pavement2Code = field(13);
      p.humus1Code = field(14);
      p.humus2Code = field(15);
      p.pavement1Thickness = field(16);
      p.pavement2Thickness = field(17);
      p.humus1Thickness = field(18);
      p.humus2Thickness = field(19);
      break;
    case RestoredParams::None:
      break;
  }
  return true;
}

}  // namespace merilon
