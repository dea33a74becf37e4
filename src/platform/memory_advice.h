// Hints to the system about large work arrays: randomly reached tables of many megabytes run
// faster on huge pages, where one address translation covers two megabytes instead of four
// kilobytes, and a block filled once (a file's text, the point arrays) costs one page fault per
// two megabytes instead of one per four kilobytes.
#pragma once

#include <cstddef>

namespace merilon {

// Asks for huge pages under the whole pages of [data, data + bytes); call it before the memory is
// first written. Does nothing where the system has no such pages.
void adviseHugePages(void* data, std::size_t bytes);

// The same for blocks large enough to gain from it (4 MB and more); smaller ones are left alone,
// since a huge page would make up to two megabytes resident for a few bytes written.
void adviseHugePagesIfLarge(void* data, std::size_t bytes);

}  // namespace merilon
