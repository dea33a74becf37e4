// merilon-cli sections-pdf, run as a separate process; the pages are counted with pdfinfo, one
// is rendered with pdftoppm and read back with pdfimages and pdftotext (poppler-utils).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>
#include <algorithm>
#include <cstdio>
#include <string>

#include "support/test_program.h"

namespace merilon {
namespace {

using testing::TempFolder;

int run(const std::string& cmd, std::string* out = nullptr) {
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return -1;
  char buf[512];
  std::string text;
  while (std::fgets(buf, sizeof buf, p)) text += buf;
  const int raw = pclose(p);
  if (out) *out = text;
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

std::string cli(const TempFolder& dir, const std::string& args) {
  return std::string("cd '") + dir.path().string() + "' && '" + MERILON_CLI + "' " + args + " 2>&1";
}

int pdfPages(const TempFolder& dir, const std::string& pdf) {
  std::string info;
  if (run("pdfinfo '" + (dir / pdf).string() + "'", &info) != 0) return -1;
  const auto at = info.find("Pages:");
  return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

// A .TER text of n sections of three points each.
std::string sections(int n) {
  std::vector<std::string> l = {
      "\"&IBMVORDPOW\",\"\"",
      n >= 3 ? "Teren z Merilonu,0,0.00,0.00," + std::to_string(n - 1) : "PUSTA DO WPISANIA"};
  for (int k = 0; k < n; ++k) {
    l.push_back(std::to_string(10 * k) + ".00,9");
    for (const char* v : {"-10.00", "100.00", "0.00", "\"\"", "0.00", "100.50", "-0.50", "\"\"",
                          "12.00", "99.20", "-9999999.00", "\"\""}) {
      l.push_back(v);
    }
  }
  return testing::crlf(l);
}

TEST(CliSectionsPdf, PrintsEverySectionFourToAnA4Page) {
  if (run("for t in pdfinfo pdftoppm pdftotext pdfimages; do command -v $t || exit 1; done") !=
      0) {
    GTEST_SKIP() << "poppler-utils are not installed";
  }
  TempFolder dir;
  const struct { int sections, pages; } cases[] = {{1, 1}, {2, 1}, {4, 1}, {5, 2}, {9, 3}};
  for (const auto& c : cases) {
    const std::string ter = "t" + std::to_string(c.sections) + ".TER";
    const std::string pdf = "t" + std::to_string(c.sections) + ".pdf";
    testing::writeBytes(dir / ter, sections(c.sections));
    std::string out;
    ASSERT_EQ(
        run(cli(dir, "sections-pdf " + ter + " -o " + pdf + " --vertical-exaggeration 10"), &out),
        0)
        << out;
    EXPECT_EQ(pdfPages(dir, pdf), c.pages) << c.sections;
  }
  // A page is an A4 sheet with the drawing on it: at 20 dpi 166 x 234 pixels, not blank.
  ASSERT_EQ(run("pdftoppm -r 20 -png -f 1 -l 1 '" + (dir / "t9.pdf").string() + "' '" +
                (dir / "page").string() + "'"),
            0);
  const QImage page(QString::fromStdString((dir / "page-1.png").string()));
  ASSERT_FALSE(page.isNull());
  EXPECT_EQ(page.size(), QSize(166, 234));
  int dark = 0;
  for (int y = 0; y < page.height(); ++y) {
    for (int x = 0; x < page.width(); ++x) dark += qGray(page.pixel(x, y)) < 160;
  }
  EXPECT_GT(dark, 100);
  // The pages are drawings, not pictures: no image in the file, and the texts are text.
  std::string images;
  ASSERT_EQ(run("pdfimages -list '" + (dir / "t9.pdf").string() + "'", &images), 0);
  EXPECT_EQ(std::count(images.begin(), images.end(), '\n'), 2) << images;  // the header only
  for (const auto& [pageNumber, chainage] : {std::pair{1, "Pikietaż 30.00"}, {2, "Pikietaż 40.00"}}) {
    std::string text;
    ASSERT_EQ(run("pdftotext -f " + std::to_string(pageNumber) + " -l " +
                      std::to_string(pageNumber) + " '" + (dir / "t9.pdf").string() + "' -",
                  &text),
              0);
    EXPECT_NE(text.find(chainage), std::string::npos) << pageNumber << ": " << text;
    EXPECT_NE(text.find("Strona " + std::to_string(pageNumber) + " z 3"), std::string::npos);
  }

  std::string out;
  EXPECT_EQ(run(cli(dir, "sections-pdf t1.TER -o t1.pdf"), &out), 3) << "exists without --force";
  EXPECT_EQ(run(cli(dir, "sections-pdf t1.TER -o t1.pdf --force"), &out), 0) << out;
  EXPECT_EQ(run(cli(dir, "sections-pdf t1.TER -o x.pdf --vertical-exaggeration 0.5"), &out), 2);
  EXPECT_EQ(run(cli(dir, "sections-pdf t1.TER -o x.pdf --vertical-exaggeration abc"), &out), 2);
  testing::writeBytes(dir / "zly.TER", "TRASA\r\n1,2\r\n5,abc\r\n");
  EXPECT_EQ(run(cli(dir, "sections-pdf zly.TER -o x.pdf"), &out), 2);
  EXPECT_NE(out.find("zly.TER nie zawiera przekrojów poprzecznych terenu (zly.TER, wiersz 3"),
            std::string::npos)
      << out;
  EXPECT_EQ(run(cli(dir, "sections-pdf brak.TER -o x.pdf"), &out), 2);
  EXPECT_EQ(run(cli(dir, "sections-pdf t1.TER"), &out), 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "x.pdf"));
}

}  // namespace
}  // namespace merilon
