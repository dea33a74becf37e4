// "Generuj DXF3D" driven as a user would: the dialog's boxes and fields, the questions, the save
// dialog; the files it writes compared byte for byte, and read back by two independent readers.
#include "dxf/dxf_export.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "dxf/dxf_support_texts.h"
#include "platform/cp1250.h"
#include "platform/number_text.h"
#include "platform/text_file.h"
#include "support/test_program.h"

namespace merilon {
namespace {

using testing::readBytes;
using testing::writeBytes;

const std::filesystem::path kData(MERILON_TEST_DATA);

struct Boxes {
  bool points = false, symbols = false, heights = false, numbers = false, sections = false;
};

class DxfExport : public ::testing::Test {
 protected:
  void add(double x, double y, double z, const std::string& name) {
    ASSERT_TRUE(t.points().reservePoint());
    t.points().setPoint(t.points().pointCount(), x, y, z, PointName::fromText(name), 0);
  }
  // Three points, one with Polish letters in its name.
  void survey() {
    add(100, 200, 5.5, "P1");
    add(-12.345, 7.005, -0.125, "Słup-ąęż");
    add(5601234.56, 7452345.67, 123.456, "NA12");
  }
  void knf(const std::string& text) { writeBytes(t.folder / "merilon.knf", text); }
  TFormDXF& dialog() { return t.program->FormDXF; }
  // "Generuj DXF3D", the boxes, "Dalej", the save dialog answered with `file`.
  void exportWith(const Boxes& b, const std::filesystem::path& file) {
    t.main().Button7Click();
    dialog().CheckBox1.checked = b.points;
    dialog().CheckBox3.checked = b.symbols;
    dialog().CheckBox5.checked = b.heights;
    dialog().CheckBox6.checked = b.numbers;
    dialog().CheckBox2.checked = b.sections;
    t.platform.saveAnswers = {file};
    dialog().Button1Click();
  }
  // The alignment of the cross-section tests and its .TER file as the current sections.
  void sections() {
    t.platform.openAnswers = {kData / "alignment" / "prosta_luk.TRS"};
    TFormPoprzeczka& d = t.program->FormPoprzeczka;
    d.Button5Click();
    ASSERT_TRUE(d.alignmentLoaded);
    d.lastTerFileName = (kData / "alignment" / "teren.TER").string();
  }
  testing::TestProgram t;
};

TEST_F(DxfExport, GoldenFiles) {
  struct Case {
    const char* golden;
    Boxes boxes;
    const char* knf;
  };
  const Case cases[] = {
      {"dxf_none.dxf", {}, ""},
      {"dxf_all.dxf", {true, true, true, true, false}, ""},
      {"dxf_points.dxf", {true, false, false, false, false}, ""},
      {"dxf_symbols.dxf", {false, true, false, false, false}, ""},
      {"dxf_heights.dxf", {false, false, true, false, false}, ""},
      {"dxf_numbers.dxf", {false, false, false, true, false}, ""},
      {"dxf_sections.dxf", {true, false, false, false, true}, ""},
      {"dxf_forxy3.dxf", {true, false, true, false, false}, "FORXY,3\r\nFORMZ,1\r\n"},
      {"dxf_kolor.dxf",
       {true, true, true, true, true},
       "KOLOR,7,250\r\nkolor , 5 , 12\r\nKOLOR,1,0\r\nKOLOR,2,40\r\nKOLOR,3,41\r\nKOLOR,6,"
       "42\r\n"},
  };
  survey();
  sections();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.golden);
    knf(c.knf);
    const auto out = t.folder / c.golden;
    exportWith(c.boxes, out);
    testing::expectGolden(out, c.golden);
  }
  EXPECT_TRUE(t.platform.messages.empty()) << t.platform.shownTexts().front();
}

TEST_F(DxfExport, EntityLinesOfTheSpecifiedCases) {
  add(100, 200, 5.5, "P");
  const auto out = t.folder / "one.dxf";
  exportWith({true, false, true, false, false}, out);
  std::vector<std::string> lines;
  std::string error;
  ASSERT_TRUE(readCp1250Lines(out, lines, error));
  const auto entities = std::find(lines.begin(), lines.end(), "ENTITIES") - lines.begin();
  auto after = [&](const std::string& first, std::size_t count, std::size_t from = 0) {
    for (std::size_t k = from; k + count < lines.size(); ++k) {
      if (lines[k] == first)
        return std::vector<std::string>(lines.begin() + k, lines.begin() + k + count);
    }
    return std::vector<std::string>();
  };
  EXPECT_EQ(after("$EXTMIN", 8), (std::vector<std::string>{"$EXTMIN", " 10", "100.00", " 20",
                                                           "200.00", " 30", "5.500", "  9"}));
  EXPECT_EQ(
      after("POINT", 15, entities),
      (std::vector<std::string>{"POINT", "  8", "PUNKTY", " 6", "CONTINUOUS", "  62", "8", " 10",
                                "100.00", " 20", "200.00", " 30", "5.500", " 0", "TEXT"}));
  EXPECT_EQ(after("RZEDNE", 17, entities),
            (std::vector<std::string>{"RZEDNE", " 6", "CONTINUOUS", "  62", "2", " 10", "100.00",
                                      " 20", "200.00", " 30", "5.800", " 40", "0.500", " 1", "5.50",
                                      " 50", "0.000"}));
  EXPECT_EQ(after("NR_PKTOW", 10),
            (std::vector<std::string>{"NR_PKTOW", "  70", "    64", " 62", "     8", "  6",
                                      "CONTINUOUS", "0", "LAYER", "  2"}));
  EXPECT_EQ(std::vector<std::string>(lines.end() - 4, lines.end()),
            (std::vector<std::string>{" 0", "ENDSEC", " 0", "EOF"}));
}

TEST_F(DxfExport, QuestionsNamesAndFields) {
  // No points: the message and nothing else.
  t.main().Button7Click();
  ASSERT_EQ(t.platform.shownTexts(),
            std::vector<std::string>{"Generowanie rysunku DXF: Nie wczytano punktów !!!"});
  EXPECT_FALSE(dialog().visible);
  t.platform.messages.clear();
  add(1, 2, 3, "A");

  // The point file's name proposed first; a .txt name is written as .dxf and proposed next time.
  t.main().pointFileName = (t.folder / "POMIAR.MERI").string();
  exportWith({true}, t.folder / "wynik.txt");
  EXPECT_EQ(t.platform.saveRequests.back().proposedName, (t.folder / "POMIAR.dxf").string());
  EXPECT_TRUE(std::filesystem::exists(t.folder / "wynik.dxf"));
  EXPECT_FALSE(std::filesystem::exists(t.folder / "wynik.txt"));
  exportWith({true}, std::filesystem::path());
  EXPECT_EQ(t.platform.saveRequests.back().proposedName, (t.folder / "wynik.dxf").string());

  // Overwrite answered No keeps the old file; the dialog keeps its settings.
  writeBytes(t.folder / "wynik.dxf", "old");
  t.platform.answers = {DialogResult::No};
  exportWith({true, true}, t.folder / "wynik.dxf");
  EXPECT_EQ(t.platform.shownTexts().back(),
            "Zapis do pliku: Plik: " + (t.folder / "wynik.dxf").string() +
                " istnieje. Czy mimo to zapisywać?");
  EXPECT_EQ(t.platform.messages.back().icon, MessageIcon::Warning);
  EXPECT_EQ(readBytes(t.folder / "wynik.dxf"), "old");
  EXPECT_TRUE(dialog().CheckBox3.checked);

  // A DXFWY transformation asks first; No writes nothing.
  knf("DXFWY,2,0,0,1000,2000,1\r\n");
  t.platform.answers = {DialogResult::No};
  exportWith({true}, t.folder / "t.dxf");
  EXPECT_EQ(t.platform.shownTexts().back(),
            "Transformacja wsólrzędnych: Wspólrzędne punktów poddane zostaną transformacji "
            "zgodnie z zapisem w pliku \"merilon.knf\". Czy mimo to zapisywac?");
  EXPECT_FALSE(std::filesystem::exists(t.folder / "t.dxf"));
  // Yes maps survey (1, 2, 3) back to the drawing: ((1 − 1000) / 2 + 0, (2 − 2000) / 2 + 0, 3).
  t.platform.answers = {DialogResult::Yes};
  dialog().Edit1.text = "";  // an empty label height counts as 1.0
  exportWith({true, true}, t.folder / "t.dxf");
  const std::string bytes = readBytes(t.folder / "t.dxf");
  EXPECT_NE(bytes.find(" 10\r\n-499.50\r\n 20\r\n-999.00\r\n 30\r\n3.000\r\n"), std::string::npos);
  EXPECT_NE(bytes.find(" 20\r\n-998.48\r\n 30\r\n3.300\r\n 40\r\n1.000\r\n"), std::string::npos);
  EXPECT_EQ(t.platform.busy, false);
  EXPECT_EQ(t.main().ProgressBar1.position, 0);
}

TEST_F(DxfExport, ProgressCountsPointEntities) {
  for (int k = 0; k < 30; ++k) add(k, k, k, "P");
  std::vector<int> positions;
  bool commandsDisabled = true;
  t.platform.onPendingEvents = [&](int) {
    positions.push_back(t.main().ProgressBar1.position);
    if (positions.size() < 90) commandsDisabled = commandsDisabled && !t.main().Button3.enabled;
  };
  exportWith({true, false, true, true, true}, t.folder / "p.dxf");
  EXPECT_TRUE(commandsDisabled);
  EXPECT_TRUE(t.main().Button3.enabled);
  EXPECT_EQ(t.main().ProgressBar1.maximum, 90);
  ASSERT_GE(positions.size(), 92u);
  EXPECT_EQ(positions[positions.size() - 2], 90);
  EXPECT_EQ(positions.back(), 0);

  // "Dalej" while a long command runs in the main window waits with a beep.
  t.main().Button7Click();
  t.main().disableCommands();
  dialog().Button1Click();
  EXPECT_EQ(t.platform.beeps, 1);
  EXPECT_TRUE(dialog().visible);
}

TEST(DxfSupportTexts, FilesOfTheProgramFolderAreTheBuiltInTexts) {
  for (const char* name : {"NMT_d1.bin", "NMT_d2.bin"}) {
    std::vector<std::string> lines;
    std::string error;
    ASSERT_TRUE(
        readCp1250Lines(std::filesystem::path(MERILON_SOURCE_DIR) / "data" / name, lines, error));
    EXPECT_EQ(lines, builtInSupportText(name)) << name;
    EXPECT_EQ(loadSupportText("/nonexistent", name), builtInSupportText(name));
  }
}

TEST(DxfNumbers, AppendFixedWritesWhatFormatFixedWrites) {
  std::mt19937_64 random(42);
  std::uniform_real_distribution<double> wide(-1e7, 1e7);
  std::vector<double> values = {0,      -0.0,    0.005,   -0.005,    0.0049999, 9.995,
                                99.995, -99.995, 112.345, 1e15,      1e-9,      999999.9999,
                                0.5,    1.5,     2.5,     123.456789};
  for (int k = 0; k < 20000; ++k) values.push_back(wide(random) / (k % 7 == 0 ? 1e6 : 1));
  // Near the ties of every number of decimals, where the two roundings can part.
  for (int k = 0; k < 20000; ++k) {
    const double tie = std::floor(wide(random)) + 0.5 / std::pow(10, k % 4);
    values.push_back(tie + (k % 3 - 1) * 1e-9);
    values.push_back(std::nextafter(tie, k % 2 ? 1e300 : -1e300));
  }
  for (double big : {9.9999999e9, 1e10 - 0.005, 123456789.0005, 99999999.9995, 1e11 + 0.5}) {
    values.push_back(big);
  }
  for (double v : values) {
    for (int d : {0, 1, 2, 3, 6}) {
      std::string s;
      appendFixed(s, v, d);
      ASSERT_EQ(s, formatFixed(v, d)) << v << " " << d;
    }
  }
}

// --- Independent readers ------------------------------------------------------------------------

std::string run(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buf[4096];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
    if (pclose(p) != 0) out += "\nEXIT FAILED";
  }
  return out;
}

bool haveTool(const std::string& probe) {
  return std::system((probe + " >/dev/null 2>&1").c_str()) == 0;
}

TEST_F(DxfExport, IndependentReadersReadWhatWeWrote) {
  const bool haveGdal = haveTool("ogrinfo --version");
  const bool haveEzdxf = haveTool("/usr/bin/python3 -c 'import ezdxf'");
  if (!haveGdal && !haveEzdxf) GTEST_SKIP() << "neither ogrinfo (gdal-bin) nor python3-ezdxf";
  survey();
  sections();
  knf("FORXY,3\r\n");
  const auto out = t.folder / "all.dxf";
  exportWith({true, true, true, true, true}, out);
  // Every entity as "TYPE x y z|text", coordinates rounded to the file's three decimals.
  const std::string script = R"PY(
import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
audit = doc.audit()
print("audit", len(audit.errors), len(audit.fixes))
for e in doc.modelspace():
    p = e.dxf.start if e.dxftype() == "LINE" else e.dxf.insert if e.dxftype() == "TEXT" else e.dxf.location
    t = e.dxf.text if e.dxftype() == "TEXT" else ""
    print("%s %.3f %.3f %.3f|%s|%s" % (e.dxftype(), p.x, p.y, p.z, t, e.dxf.layer))
)PY";
  writeBytes(t.folder / "read.py", script);
  // Our own view of the file.
  std::vector<std::string> ours;
  {
    std::vector<std::string> lines;
    std::string error;
    ASSERT_TRUE(readCp1250Lines(out, lines, error));
    std::size_t k = 0;
    while (lines[k] != "ENTITIES") ++k;
    std::string type, x, y, z, text, layer;
    for (++k; k + 1 < lines.size(); k += 2) {
      const std::string code(trimBlanks(lines[k]));
      if (code == "0") {
        if (!type.empty())
          ours.push_back(type + " " + x + " " + y + " " + z + "|" + text + "|" + layer);
        if (lines[k + 1] == "ENDSEC") break;
        type = lines[k + 1];
        text.clear();
      }
      if (code == "8") layer = lines[k + 1];
      if (code == "10") x = lines[k + 1];
      if (code == "20") y = lines[k + 1];
      if (code == "30") z = lines[k + 1];
      if (code == "1") text = lines[k + 1];
    }
  }
  ASSERT_GT(ours.size(), 12u);
  // Every golden drawing opens and passes the audit as well.
  std::string goldens;
  for (const auto& e : std::filesystem::directory_iterator(kData / "golden")) {
    if (e.path().extension() == ".dxf") goldens += " '" + e.path().string() + "'";
  }
  if (haveEzdxf) {
    const std::string got =
        run("/usr/bin/python3 -c 'import sys, ezdxf\nfor f in sys.argv[1:]:\n "
            "a = ezdxf.readfile(f).audit(); print(len(a.errors) + len(a.fixes))'" +
            goldens);
    EXPECT_EQ(got, "0\n0\n0\n0\n0\n0\n0\n0\n0\n");
  }
  if (haveGdal) {
    const std::string got =
        run("for f in" + goldens +
            "; do ogrinfo -ro -q -al \"$f\" >/dev/null || echo \"$f\"; done 2>&1");
    EXPECT_EQ(got, "");
  }
  if (haveEzdxf) {
    const std::string got =
        run("/usr/bin/python3 " + (t.folder / "read.py").string() + " " + out.string());
    const auto lines = splitLines(got);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "audit 0 0");
    // z values of our file have three decimals (FORMZ default), so the comparison is exact.
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end()), ours);
  }
  if (haveGdal) {
    const std::string got = run("ogrinfo -ro -al -q " + out.string() + " 2>&1");
    EXPECT_EQ(got.find("ERROR"), std::string::npos) << got;
    EXPECT_EQ(got.find("EXIT FAILED"), std::string::npos) << got;
    // GDAL decodes the texts by $DWGCODEPAGE: the Polish name comes back as UTF-8.
    EXPECT_NE(got.find("Text (String) = Słup-ąęż"), std::string::npos) << got;
    EXPECT_NE(got.find("POINT Z (5601234.56 7452345.67 123.456)"), std::string::npos) << got;
    EXPECT_NE(got.find("POINT Z (-12.345 7.005 -0.125)"), std::string::npos) << got;
    std::size_t features = 0;
    for (std::size_t p = got.find("OGRFeature("); p != std::string::npos;
         p = got.find("OGRFeature(", p + 1)) {
      ++features;
    }
    EXPECT_EQ(features, ours.size());
  }
}

}  // namespace
}  // namespace merilon
