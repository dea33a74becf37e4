// merilon-cli render, run as a separate process; the picture is read back with Qt.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>
#include <cstdio>
#include <string>

#include "support/test_program.h"

namespace merilon {
namespace {

using testing::TempFolder;

int runCli(const TempFolder& dir, const std::string& args) {
  const std::string cmd = std::string("cd '") + dir.path().string() + "' && '" + MERILON_CLI +
                          "' " + args + " >/dev/null 2>&1";
  const int raw = std::system(cmd.c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

int countColour(const QImage& image, QRgb colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
  }
  return n;
}

TEST(CliRender, DrawsTheChosenLayersAndRefusesBadParameters) {
  TempFolder dir;
  // Type 1 points (red markers), one of type 9 (yellow), along a straight alignment.
  testing::writeBytes(dir / "p.txt", "100,100,1,A,1\n200,150,2,B,1\n150,120,3,C,9\n");
  testing::writeBytes(dir / "t.TRS",
                      "TRASA\r\n\"T\",\"Prosta\",x,0,2\r\n1,0,100,100,1.1071487177940904,0,0\r\n"
                      "2,111.8034,200,150,1.1071487177940904,0,0\r\n");
  const std::string examples = std::string(MERILON_SOURCE_DIR) + "/examples/";
  ASSERT_EQ(runCli(dir, "import p.txt -o p.meri --type 5"), 0);
  ASSERT_EQ(runCli(dir, "render p.meri -o a.png --size 400x300"), 0);
  const QImage a(QString::fromStdString((dir / "a.png").string()));
  ASSERT_FALSE(a.isNull());
  EXPECT_EQ(a.size(), QSize(400, 300));
  EXPECT_EQ(countColour(a, qRgb(255, 0, 0)), 2 * 12);  // two red markers
  EXPECT_EQ(countColour(a, qRgb(255, 255, 0)), 12);
  // The width limits the fit: the leftmost marker's centre is 5 pixels inside the surface, so
  // its left outline is column 3.
  int leftOutline = 0;
  for (int y = 0; y < a.height(); ++y) leftOutline += a.pixel(3, y) == qRgb(255, 0, 0);
  EXPECT_EQ(leftOutline, 4);

  ASSERT_EQ(runCli(dir, "render p.meri -o b.png --size 400x300 --layers alignment "
                        "--alignment t.TRS"),
            0);
  const QImage b(QString::fromStdString((dir / "b.png").string()));
  EXPECT_GT(countColour(b, qRgb(255, 0, 0)), 100) << "the axis";
  EXPECT_EQ(countColour(b, qRgb(255, 255, 0)), 0) << "no markers";

  ASSERT_EQ(runCli(dir, "render p.meri -o c.png --size 400x300 --layers none"), 0);
  const QImage c(QString::fromStdString((dir / "c.png").string()));
  EXPECT_EQ(countColour(c, qRgb(255, 255, 255)), 400 * 300);

  EXPECT_EQ(runCli(dir, "render p.meri -o a.png"), 3) << "exists without --force";
  EXPECT_EQ(runCli(dir, "render p.meri -o d.png --layers points,roads"), 2);
  EXPECT_EQ(runCli(dir, "render p.meri -o d.png --size 10x10"), 2);
  EXPECT_EQ(runCli(dir, "render p.meri -o d.png --window 1,2,3"), 2);
  EXPECT_EQ(runCli(dir, "render p.meri -o d.png --window 100,100,100.001,100.001"), 2);
  EXPECT_EQ(runCli(dir, "render missing.meri -o d.png"), 2);
  EXPECT_EQ(runCli(dir, "render p.meri"), 1);
}

}  // namespace
}  // namespace merilon
