// MERI_OST_PLIKI.bin: any list loads into the ring; saved and loaded again it is the same list,
// and adding names keeps at most ten.
#include "shell/recent_files.h"

#include "fuzz_program.h"
#include "platform/cp1250.h"

using namespace merilon;
using namespace merilon::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const FuzzFolder folder;
  const auto file = folder.put("MERI_OST_PLIKI.bin", asText(data, size));
  RecentFiles recent;
  recent.loadRecentFiles(file);
  const auto menu = recent.buildRecentMenu();
  if (menu.size() != static_cast<std::size_t>(recent.recentCount()) ||
      recent.recentCount() > RecentFiles::kSlots) {
    propertyFailed("the menu does not match the list");
  }
  std::string error;
  const auto saved = folder.path() / "zapis.bin";
  if (!recent.saveRecentFiles(saved, error)) propertyFailed("could not save: " + error);
  if (recent.recentCount() > 0) {
    RecentFiles again;
    again.loadRecentFiles(saved);
    if (again.newestFirst() != recent.newestFirst()) propertyFailed("read back another list");
  }
  // A name added is in the list afterwards (a file listing a name twice keeps both).
  for (const char* name : {"/dane/nowy.meri", "/DANE/NOWY.MERI", "/dane/Łąka.txt"}) {
    recent.addRecentFile(name);
    int found = 0;
    for (const auto& known : recent.newestFirst()) found += upperCase(known) == upperCase(name);
    if (found < 1 || recent.recentCount() > RecentFiles::kSlots) {
      propertyFailed("adding a name broke the ring");
    }
  }
  return 0;
}
