// The underlay on the Qt canvas: small drawings checked at known pixels (a circle, an arc
// through 0°, a bulged polyline through both vertices, a text with "%%179"), the runs of lines
// against drawing them one by one, and merilon-cli render --underlay.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>

#include "drawing/underlay_drawing.h"
#include "dxf/dxf_underlay_reader.h"
#include "qt_canvas.h"
#include "support/test_program.h"

namespace merilon {
namespace {

const QRgb kSilver = qRgb(192, 192, 192);
const QRgb kWhite = qRgb(255, 255, 255);

std::string dxf(const std::vector<std::pair<int, std::string>>& pairs) {
  std::string out = "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n";
  for (const auto& [code, value] : pairs) out += std::to_string(code) + "\r\n" + value + "\r\n";
  return out + "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
}

// The drawing on a 200 x 200 surface at a pixel a metre: world (x, y) is pixel (x, 200 - y).
QImage render(const std::string& bytes, DxfUnderlay& u) {
  DxfPairReader reader;
  reader.openBytes(bytes);
  EXPECT_EQ(readUnderlay(reader, u, {}), UnderlayReadResult::Finished);
  u.underlayShown = true;
  qt::QtCanvas canvas(200, 200, 1);
  ViewTransform view;
  view.viewWidth = view.viewHeight = 200;
  DrawTarget target(view);
  target.canvas = &canvas;
  target.setClipToView();
  target.clearTarget();
  EXPECT_TRUE(drawUnderlay(target, u, nullptr));
  return canvas.snapshot();
}

int silverAround(const QImage& image, int x, int y) {
  int n = 0;
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) n += image.pixel(x + dx, y + dy) == kSilver;
  }
  return n;
}

TEST(UnderlayPicture, KnownPixels) {
  DxfUnderlay u;
  const QImage image = render(
      dxf({{0, "CIRCLE"}, {10, "50"},  {20, "150"}, {40, "20"},  {0, "ARC"},        {10, "150"},
           {20, "150"},   {40, "20"},  {50, "350"}, {51, "10"},  {0, "LWPOLYLINE"}, {90, "2"},
           {10, "20"},    {20, "100"}, {42, "1"},   {10, "80"},  {20, "100"},       {0, "TEXT"},
           {10, "120"},   {20, "40"},  {40, "20"},  {1, "%%179"}}),
      u);
  // The circle through its four quarter points, empty inside.
  EXPECT_EQ(image.pixel(70, 50), kSilver);
  EXPECT_GT(silverAround(image, 50, 30), 0);
  EXPECT_GT(silverAround(image, 30, 50), 0);
  EXPECT_GT(silverAround(image, 50, 70), 0);
  EXPECT_EQ(image.pixel(50, 50), kWhite);
  // The arc from 350° to 10° through 0°, nowhere else on its circle.
  EXPECT_EQ(image.pixel(170, 50), kSilver);
  EXPECT_EQ(silverAround(image, 150, 30), 0);
  EXPECT_EQ(silverAround(image, 130, 50), 0);
  // The bulge of 1 is the half circle below the chord, through both vertices.
  EXPECT_EQ(image.pixel(20, 100), kSilver);
  EXPECT_EQ(image.pixel(80, 100), kSilver);
  EXPECT_GT(silverAround(image, 50, 130), 0);
  EXPECT_EQ(silverAround(image, 40, 72), 0);  // where the upper half would pass
  EXPECT_EQ(silverAround(image, 50, 100), 0);
  // "%%179" is "ł", standing on its point: ink between rows 140 and 160 right of column 120.
  EXPECT_EQ(u.text(4), "ł");
  int ink = 0, outside = 0;
  for (int y = 120; y < 200; ++y) {
    for (int x = 100; x < 200; ++x) {
      if (image.pixel(x, y) == kWhite) continue;
      (x >= 120 && x <= 140 && y >= 138 && y <= 161 ? ink : outside) += 1;
    }
  }
  EXPECT_GT(ink, 15);
  EXPECT_EQ(outside, 0);
}

TEST(UnderlayPicture, RunsOfLinesAreTheLinesOneByOne) {
  for (qreal ratio : {1.0, 2.0}) {
    qt::QtCanvas fast(300, 200, ratio), slow(300, 200, ratio);
    std::vector<PixelSegment> segments;
    for (int k = 0; k < 400; ++k) {
      segments.push_back(
          {(k * 37) % 320 - 10, (k * 53) % 220 - 10, (k * 71) % 300, (k * 13) % 200});
    }
    for (qt::QtCanvas* c : {&fast, &slow}) c->setPen(Rgb{192, 192, 192}, 1, PenStyle::Solid);
    fast.drawLines(segments);
    for (const PixelSegment& s : segments) {
      slow.moveTo(s.x1, s.y1);
      slow.lineTo(s.x2, s.y2);
    }
    EXPECT_EQ(fast.snapshot(), slow.snapshot()) << ratio;
  }
}

TEST(UnderlayPicture, CliRenderDrawsTheUnderlay) {
  testing::TempFolder dir;
  testing::writeBytes(dir / "p.txt", "0,0,1,A,1\n100,100,2,B,1\n");
  testing::writeBytes(dir / "m.dxf",
                      dxf({{0, "LINE"}, {10, "0"}, {20, "100"}, {11, "100"}, {21, "0"}}));
  const auto run = [&](const std::string& args) {
    const std::string cmd =
        "cd '" + dir.path().string() + "' && '" + MERILON_CLI + "' " + args + " >/dev/null 2>&1";
    const int raw = std::system(cmd.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  };
  ASSERT_EQ(run("import p.txt -o p.meri --type 5"), 0);
  ASSERT_EQ(run("render p.meri -o a.png --size 200x200 --underlay m.dxf"), 0);
  ASSERT_EQ(run("render p.meri -o b.png --size 200x200"), 0);
  EXPECT_EQ(run("render p.meri -o c.png --underlay missing.dxf"), 2);
  const QImage a(QString::fromStdString((dir / "a.png").string()));
  const QImage b(QString::fromStdString((dir / "b.png").string()));
  int withUnderlay = 0, without = 0;
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 200; ++x) {
      withUnderlay += a.pixel(x, y) == kSilver;
      without += b.pixel(x, y) == kSilver;
    }
  }
  // The diagonal across the fitted view, from one marker to the other.
  EXPECT_GT(withUnderlay, 150);
  EXPECT_EQ(without, 0);
}

}  // namespace
}  // namespace merilon
