// The reader of a DXF drawing into the underlay's element table: the LINE, 3DLINE, POINT, TEXT,
// CIRCLE, ARC, POLYLINE and LWPOLYLINE entities of the ENTITIES section, read as group-code/value
// pairs so that a layer or a text that reads like an entity name or a group code is only a value.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "dxf/dxf_pair_reader.h"
#include "dxf/dxf_underlay.h"

namespace merilon {

struct UnderlayReadHooks {
  // A line for the message log (unreadable numbers, entities left out, a broken file).
  std::function<void(const std::string&)> log;
  // Called now and then with the bytes read so far; returns true to stop the load.
  std::function<bool(std::uintmax_t bytesRead)> progress;
  std::uintmax_t progressEvery = 1 << 16;
};

enum class UnderlayReadResult { Finished, Aborted, OutOfMemory };

// Appends the drawing's elements after those already in the table, in the order of the file.
// An entity on a layer switched off or frozen in the LAYER table, or marked invisible, is left
// out; so are kinds the underlay does not draw, each kind counted in one log line at the end. A
// number that does not read leaves out its entity with a log line naming the file's line; the
// end of the file ends the entity being read. OutOfMemory: a table could not grow, the element
// was not stored and the reading stopped there.
UnderlayReadResult readUnderlay(DxfPairReader& reader, DxfUnderlay& underlay,
                                const UnderlayReadHooks& hooks);

// A text of the drawing as the underlay keeps it: UTF-8 (the drawing's bytes are code page 1250
// unless `utf8`), "\U+XXXX" escapes decoded, and the Polish "%%nnn" codes replaced by their
// letters ("%%179" is "ł").
std::string underlayText(std::string_view raw, bool utf8);

}  // namespace merilon
