// "Podczytaj dxf" and "Odłącz DXF" of the main window's menu: a DXF drawing loaded as the
// underlay of the drawing window, and hidden again.
#pragma once

#include <filesystem>

namespace merilon {

class TFORM_Main;

// Podczytajdxf1Click: the open dialog (with the retry question for a missing file), the load
// with progress and the abort question, the log line, and a redraw of an open drawing window.
void loadUnderlay(TFORM_Main& main);

// OdczDXF1Click: the underlay is hidden (its elements stay) and an open drawing window redrawn.
void hideUnderlay(TFORM_Main& main);

enum class UnderlayLoadOutcome { NotRead, Aborted, Loaded };

// Loads one file into the underlay as the command does after its dialog.
UnderlayLoadOutcome loadUnderlayFile(TFORM_Main& main, const std::filesystem::path& file);

}  // namespace merilon
