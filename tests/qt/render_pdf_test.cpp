// merilon-cli render to a PDF file, measured on the page that pdftoppm renders from it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <string>

#include "pdf_page.h"
#include "support/test_program.h"

namespace merilon {
namespace {

using testing::millimetres;
using testing::TempFolder;

int runCli(const TempFolder& dir, const std::string& args) {
  const std::string cmd = std::string("cd '") + dir.path().string() + "' && '" + MERILON_CLI +
                          "' " + args + " >/dev/null 2>&1";
  const int raw = std::system(cmd.c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

struct RenderPdf : ::testing::Test {
  TempFolder dir;
  void SetUp() override {
    if (!testing::havePdftoppm()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    // A, 50 m east of it B, 30 m north of it C; markers of type 1 are red.
    testing::writeBytes(dir / "p.txt", "1000,1000,1,A,1\n1050,1000,2,B,1\n1000,1030,3,C,1\n");
    ASSERT_EQ(runCli(dir, "import p.txt -o p.meri --type 1"), 0);
  }
};

TEST_F(RenderPdf, AtScaleTwoPointsFiftyMetresApartAreTenCentimetresApartAtOneToFiveHundred) {
  constexpr int kDpi = 300;
  ASSERT_EQ(runCli(dir, "render p.meri -o s.pdf --scale 500 --corner 990,990"), 0);
  const QImage page = testing::pdfPage(dir / "s.pdf", kDpi);
  ASSERT_FALSE(page.isNull());
  // The default surface, 1600 x 1000, is wider than high: A4 landscape.
  EXPECT_EQ(millimetres(page.width(), kDpi), 297);
  EXPECT_EQ(millimetres(page.height(), kDpi), 210);
  const auto m = testing::redMarkers(page);
  ASSERT_EQ(m.size(), 3u);
  // Reading order: C (highest), then A and B on one row.
  const QPointF c = m[0], a = m[1], b = m[2];
  EXPECT_EQ(millimetres(b.x() - a.x(), kDpi), 100);
  EXPECT_EQ(millimetres(a.y() - b.y(), kDpi), 0);
  EXPECT_EQ(millimetres(a.y() - c.y(), kDpi), 60);
  // The page's lower-left corner is world (990, 990): A lies 2 cm right of it and 2 cm up.
  EXPECT_EQ(millimetres(a.x(), kDpi), 20);
  EXPECT_EQ(millimetres(page.height() - a.y(), kDpi), 20);
}

TEST_F(RenderPdf, WholeViewFillsThePageWidthInTheOrientationOfTheSurface) {
  constexpr int kDpi = 300;
  const struct {
    const char* size;
    bool landscape;
  } cases[] = {{"600x400", true}, {"400x600", false}, {"500x500", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    const std::string name = std::string("w") + c.size + ".pdf";
    ASSERT_EQ(runCli(dir, "render p.meri -o " + name + " --size " + c.size), 0);
    const QImage page = testing::pdfPage(dir / name, kDpi);
    ASSERT_FALSE(page.isNull());
    EXPECT_EQ(page.width() > page.height(), c.landscape);
    EXPECT_EQ(testing::redMarkers(page).size(), 3u);
  }
  // On 600 x 400 surface pixels the width limits the fit (11.8 pixels per metre): A sits 5
  // pixels from the left edge and 23 above the bottom, B 590 to the right of A, C 354 above
  // them. The surface's bottom-left corner is the page's and its width the page's width.
  const QImage page = testing::pdfPage(dir / "w600x400.pdf", kDpi);
  const auto m = testing::redMarkers(page);
  ASSERT_EQ(m.size(), 3u);
  const QPointF c = m[0], a = m[1], b = m[2];
  const double perSurfacePixel = page.width() / 600.0;
  EXPECT_EQ(std::lround(a.x() / perSurfacePixel), 5);
  EXPECT_EQ(std::lround((page.height() - a.y()) / perSurfacePixel), 23);
  EXPECT_EQ(std::lround((b.x() - a.x()) / perSurfacePixel), 590);
  EXPECT_EQ(std::lround((a.y() - c.y()) / perSurfacePixel), 354);
}

TEST_F(RenderPdf, PrintOptionsAreCheckedAndAFailedPrintLeavesNoFile) {
  const struct {
    const char* args;
    int status;
  } cases[] = {
      {"render p.meri -o x.pdf --scale 500", 1},
      {"render p.meri -o x.pdf --corner 1,2", 1},
      {"render p.meri -o x.png --scale 500 --corner 1,2", 1},
      {"render p.meri -o x.pdf --scale 49 --corner 1,2", 2},
      {"render p.meri -o x.pdf --scale abc --corner 1,2", 2},
      {"render p.meri -o x.pdf --scale 500 --corner 1", 2},
      {"render p.meri -o x.pdf --scale 500 --corner 1,y", 2},
      {"render p.meri -o missing/x.pdf", 2},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(runCli(dir, c.args), c.status) << c.args;
    EXPECT_FALSE(std::filesystem::exists(dir / "x.pdf")) << c.args;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
  // Upper-case extension and the lower bound of the scale; an existing file needs --force.
  ASSERT_EQ(runCli(dir, "render p.meri -o X.PDF --scale 50 --corner 1000,1000"), 0);
  EXPECT_EQ(runCli(dir, "render p.meri -o X.PDF"), 3);
  EXPECT_EQ(runCli(dir, "render p.meri -o X.PDF --force"), 0);
  EXPECT_EQ(testing::readBytes(dir / "X.PDF").substr(0, 5), "%PDF-");
}

}  // namespace
}  // namespace merilon
