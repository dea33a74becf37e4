// Hints to the system about large work arrays: randomly reached tables of many megabytes run
// faster on huge pages, where one address translation covers two megabytes instead of four
// kilobytes.
#pragma once

#include <cstddef>

namespace merilon {

// Asks for huge pages under the whole pages of [data, data + bytes); call it before the memory is
// first written. Does nothing where the system has no such pages.
void adviseHugePages(void* data, std::size_t bytes);

}  // namespace merilon
