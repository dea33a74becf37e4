// "Zapisz dane txt" and "Zapisz Punkty do txt": the preview pane and the points written as text
// files through the shared file writer.
#pragma once

namespace merilon {

class TFORM_Main;

// "Zapisz dane txt" (Button15Click): the preview lines as they stand, ".txt" forced.
void exportPreviewText(TFORM_Main& main);

// "Zapisz Punkty do txt" (Button23Click): one "%.2f,%.2f,%.2f,%s,%d" line per point, points of
// type 9 left out, ".txt" forced; the proposed name is the point file's name + "pkt.txt".
void exportPointText(TFORM_Main& main);

}  // namespace merilon
