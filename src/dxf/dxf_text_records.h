// DXF to text records: the points, texts, lines and polylines of a drawing's ENTITIES section
// turned into "x,y,z" and "x,y,z,1|0" lines for the preview pane, so that the text import can take
// them as points. Spot heights drawn as texts become points with the number of the text as
// their height.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "dxf/dxf_pair_reader.h"
#include "shell/settings.h"

namespace merilon {

struct DxfTextHooks {
  // A line for the message log (OCS polylines, unreadable numbers, a broken file).
  std::function<void(const std::string&)> log;
  // Called now and then with the bytes read so far; returns true to stop the conversion.
  std::function<bool(std::uintmax_t bytesRead)> progress;
  // How many bytes may pass between two progress calls.
  std::uintmax_t progressEvery = 1 << 16;
};

enum class DxfTextResult { Finished, Aborted };

// Reads the pairs to the end and appends one record per point, text, line end and vertex, in the
// order of the drawing. Entities start only at a group-0 pair inside ENTITIES; each takes its own
// group codes whatever their order; one that is cut off by the end of the file, or holds a number
// that does not read, gives no record (the latter with a log line naming the file's line).
// Coordinates go through the DXFWE mapping and are written with two decimals.
DxfTextResult convertDxfPairsToText(DxfPairReader& reader, const CoordinateMapping& mapping,
                                    std::vector<std::string>& records, const DxfTextHooks& hooks);

// The text of a TEXT entity as a height: commas become points, every character but digits,
// points, minus signs, blanks and backspace becomes a blank, and the rest must read as one
// number. False when it does not.
bool heightFromText(std::string_view text, double& height);

}  // namespace merilon
