#include "page_image.h"

#include <algorithm>
#include <cmath>

#include "qt_canvas.h"

namespace merilon::qt {

namespace {
constexpr int kLogicalDpi = 96;
constexpr int kLargestImageDpi = 300;
}  // namespace

void paintPageImage(QPainter& painter, const QPageLayout& layout, int deviceDpi,
                    const std::function<void(Canvas&)>& draw) {
  const QRectF inches = layout.paintRect(QPageLayout::Inch);
  const int width = static_cast<int>(std::lround(inches.width() * kLogicalDpi));
  const int height = static_cast<int>(std::lround(inches.height() * kLogicalDpi));
  const qreal ratio = std::clamp(deviceDpi, kLogicalDpi, kLargestImageDpi) / qreal{kLogicalDpi};
  QtCanvas canvas(width, height, ratio);
  draw(canvas);
  const QImage image = canvas.snapshot();
  painter.drawImage(QRectF(0, 0, inches.width() * deviceDpi, inches.height() * deviceDpi), image);
}

}  // namespace merilon::qt
