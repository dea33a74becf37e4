#include "platform/memory_advice.h"

#include <sys/mman.h>

#include <cstdint>

namespace merilon {

void adviseHugePages(void* data, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
  constexpr std::uintptr_t kPage = 4096;
  const auto begin = (reinterpret_cast<std::uintptr_t>(data) + kPage - 1) & ~(kPage - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(kPage - 1);
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
  (void)data;
  (void)bytes;
#endif
}

void adviseHugePagesIfLarge(void* data, std::size_t bytes) {
  if (bytes >= (std::size_t{4} << 20)) adviseHugePages(data, bytes);
}

}  // namespace merilon
