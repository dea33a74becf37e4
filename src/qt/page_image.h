// A page of a printer or a PDF file drawn by the system through a Canvas: the page is drawn on
// a Qt canvas of the page's size at 96 logical pixels per inch and print resolution (300 dpi at
// most), then placed on the page, so paper shows exactly what the surface would.
#pragma once

#include <QPageLayout>
#include <QPainter>
#include <functional>

#include "platform/canvas.h"

namespace merilon::qt {

// Draws one page: `painter` paints on the paged device (printer or PDF writer) whose layout and
// resolution are given; `draw` draws the page on a canvas of the page's printable size.
void paintPageImage(QPainter& painter, const QPageLayout& layout, int deviceDpi,
                    const std::function<void(Canvas&)>& draw);

}  // namespace merilon::qt
