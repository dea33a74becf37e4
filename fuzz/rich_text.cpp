// The description file's RTF: any bytes give paragraphs of valid UTF-8 runs.
#include <charconv>

#include "fuzz_program.h"
#include "help/rich_text.h"
#include "platform/cp1250.h"

using namespace merilon;
using namespace merilon::fuzzing;

namespace {

// A known fault, mended on its own: a \uN whose character is beyond Unicode (or a surrogate)
// comes out as invalid UTF-8. Inputs holding one are still read, but their text is not checked.
bool holdsCharacterBeyondUnicode(std::string_view rtf) {
  for (std::size_t at = rtf.find("\\u"); at != std::string_view::npos;
       at = rtf.find("\\u", at + 2)) {
    const char* first = rtf.data() + at + 2;
    int code = 0;
    const auto r = std::from_chars(first, rtf.data() + rtf.size(), code);
    if (r.ec != std::errc() || r.ptr == first) continue;
    if (code < 0) code += 65536;
    if (code < 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const RichText text = readRtf(asText(data, size));
  if (!isValidUtf8(text.plainText()) && !holdsCharacterBeyondUnicode(asText(data, size))) {
    propertyFailed("the text is not valid UTF-8");
  }
  return 0;
}
