// The code page 1250 codec and the choice between UTF-8 and code page 1250 for a user's file:
// decoding any bytes and encoding them again gives the same bytes; what the detection reads is
// valid UTF-8 and splits into the same number of lines as the bytes.
#include "fuzz_program.h"
#include "platform/cp1250.h"
#include "platform/text_file.h"

using namespace merilon;
using namespace merilon::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const FuzzFolder folder;
  const std::string_view bytes = asText(data, size);
  const std::string utf8 = decodeCp1250(bytes);
  if (!isValidUtf8(utf8)) propertyFailed("decoded text is not valid UTF-8");
  if (encodeCp1250(utf8) != bytes) propertyFailed("the codec is not lossless");
  if (utf8Length(utf8) != size) propertyFailed("one byte is not one character");

  const auto file = folder.put("dane.txt", bytes);
  std::vector<std::string> lines;
  std::string error;
  if (!readUserTextLines(file, lines, error)) propertyFailed("could not read: " + error);
  for (const auto& line : lines) {
    if (!isValidUtf8(line)) propertyFailed("a line read is not valid UTF-8");
  }
  // A byte-order mark may be dropped with the line it stood alone on.
  const bool bom = bytes.substr(0, 3) == "\xEF\xBB\xBF";
  if (lines.size() != splitLines(bytes).size() &&
      !(bom && lines.size() == splitLines(bytes.substr(3)).size())) {
    propertyFailed("another number of lines");
  }
  upperCase(utf8);
  return 0;
}
