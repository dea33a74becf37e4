// "Wczytaj dane z DXF" (and the menu's "Otwórz  plik DXF"): a drawing's points, texts, lines and
// polylines as text records in the main window's preview pane, ready for "Wczytaj do Punktów".
#pragma once

#include <filesystem>
#include <string>

namespace merilon {

class TFORM_Main;

// The whole command (Button14Click): open dialog, settings, transformation question, log lines.
void readDxfDataCommand(TFORM_Main& main);

enum class DxfReadOutcome { NotRead, Aborted, Converted };

// Converts the file into the preview pane with progress by bytes and the abort question, then
// sets the record structure for the records (unless aborted). A binary drawing or an unreadable
// file is reported and changes nothing (NotRead).
DxfReadOutcome convertDxfToText(TFORM_Main& main, const std::filesystem::path& file);

// The time of day as the log lines show it ("14:05:09").
std::string timeOfDay();

}  // namespace merilon
