// A printed PDF page read back as a picture through pdftoppm (poppler-utils), and the red point
// markers found on it, for the tests that measure prints.
#pragma once

#include <QImage>
#include <QPointF>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace merilon::testing {

inline bool havePdftoppm() { return std::system("command -v pdftoppm >/dev/null 2>&1") == 0; }

// The first page of `pdf` at `dpi` pixels per inch; a null image when it cannot be rendered.
inline QImage pdfPage(const std::filesystem::path& pdf, int dpi) {
  const std::filesystem::path stem = pdf.parent_path() / (pdf.stem().string() + "-page");
  const std::string cmd = "pdftoppm -r " + std::to_string(dpi) + " -png -singlefile '" +
                          pdf.string() + "' '" + stem.string() + "' 2>/dev/null";
  if (std::system(cmd.c_str()) != 0) return {};
  return QImage(QString::fromStdString(stem.string() + ".png"));
}

// Centres of the clusters of red pixels (the outlines of markers of type 1), in reading order of
// their first pixel; antialiased edges count as red while red clearly leads.
inline std::vector<QPointF> redMarkers(const QImage& page) {
  struct Cluster {
    double sx = 0, sy = 0;
    int n = 0;
    QPointF first;
  };
  std::vector<Cluster> clusters;
  for (int y = 0; y < page.height(); ++y) {
    for (int x = 0; x < page.width(); ++x) {
      const QRgb p = page.pixel(x, y);
      if (qRed(p) - qGreen(p) < 60 || qRed(p) - qBlue(p) < 60) continue;
      Cluster* home = nullptr;
      for (Cluster& c : clusters) {
        if (std::abs(c.first.x() - x) < 12 && std::abs(c.first.y() - y) < 12) home = &c;
      }
      if (!home) {
        clusters.push_back({});
        home = &clusters.back();
        home->first = QPointF(x, y);
      }
      home->sx += x;
      home->sy += y;
      ++home->n;
    }
  }
  std::vector<QPointF> centres;
  for (const Cluster& c : clusters) centres.emplace_back(c.sx / c.n, c.sy / c.n);
  return centres;
}

// A distance in pixels at `dpi` as whole millimetres.
inline long millimetres(double pixels, int dpi) { return std::lround(pixels / dpi * 25.4); }

}  // namespace merilon::testing
