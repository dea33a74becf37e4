// The description file's RTF: any bytes give paragraphs of valid UTF-8 runs.
#include "help/rich_text.h"

#include "fuzz_program.h"
#include "platform/cp1250.h"

using namespace merilon;
using namespace merilon::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const RichText text = readRtf(asText(data, size));
  if (!isValidUtf8(text.plainText())) propertyFailed("the text is not valid UTF-8");
  return 0;
}
