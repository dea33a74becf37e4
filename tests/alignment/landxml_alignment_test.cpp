// LandXML alignments: the corpus files of other design systems against their own stated points,
// chainages and directions; a generated alignment written both as .TRS and as LandXML; refusals
// with the line of the element at fault; the choice among several alignments.
#include "alignment/landxml_alignment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <numbers>
#include <pugixml.hpp>

#include "alignment/alignment_geometry.h"
#include "alignment/cross_section_dialog.h"
#include "platform/number_text.h"
#include "points/record_parser.h"
#include "support/test_program.h"

namespace merilon {
namespace {

using testing::TempFolder;

const std::filesystem::path kCorpus =
    std::filesystem::path(MERILON_SOURCE_DIR) / "../shared/corpus/alignments/landxml";

double angleGap(double a, double b) {
  const double d = std::remainder(a - b, 2 * std::numbers::pi);
  return std::fabs(d);
}

// Radians per unit of the file's directionUnit (north azimuths, clockwise).
double directionFactor(const pugi::xml_node& root) {
  const auto units = root.select_node(".//*[local-name()='Units']/*").node();
  const std::string unit = units.attribute("directionUnit").value();
  if (unit == "grads") return std::numbers::pi / 200;
  if (unit == "decimal degrees") return std::numbers::pi / 180;
  return 1;
}

void readNorthEast(const pugi::xml_node& n, double& x, double& y) {
  const auto parts = std::string(n.child_value());
  const auto gap = parts.find_first_of(" \t", parts.find_first_not_of(" \t\r\n"));
  y = *parseDouble(parts.substr(0, gap));
  const auto rest = parts.substr(gap);
  const auto start = rest.find_first_not_of(" \t");
  x = *parseDouble(rest.substr(start, rest.find_first_of(" \t\r\n", start) - start));
}

struct Worst {
  double point = 0, chainage = 0, direction = 0;
};

// Every element's start and end point, its stated chainage and its stated directions (dir,
// dirStart, dirEnd, the tangents to the PI of a spiral) through pointAtChainage.
Worst checkAgainstFile(Alignment& alignment, const pugi::xml_node& node, double factor) {
  Worst w;
  double c = node.attribute("staStart").as_double();
  const auto geometry = node.select_node("*[local-name()='CoordGeom']").node();
  for (auto e : geometry.children()) {
    if (!e.attribute("length")) continue;
    const double length = e.attribute("length").as_double();
    if (auto sta = e.attribute("staStart")) {
      w.chainage = std::max(w.chainage, std::fabs(sta.as_double() - c));
    }
    double x, y, fx, fy;
    auto at = [&](const char* tag, double chainage, double& azimuth) {
      pointAtChainage(alignment, chainage, x, y, azimuth);
      readNorthEast(e.select_node(("*[local-name()='" + std::string(tag) + "']").c_str()).node(),
                    fx, fy);
      w.point = std::max(w.point, std::hypot(x - fx, y - fy));
    };
    double a0, a1;
    at("Start", c, a0);
    at("End", c + length, a1);
    auto stated = [&](const char* attr, double azimuth) {
      if (auto d = e.attribute(attr)) {
        w.direction = std::max(w.direction, angleGap(d.as_double() * factor, azimuth));
      }
    };
    stated("dir", a0);
    stated("dir", a1);
    stated("dirStart", a0);
    stated("dirEnd", a1);
    if (auto pi = e.select_node("*[local-name()='PI']").node()) {
      double px, py, sx, sy, ex, ey;
      readNorthEast(pi, px, py);
      readNorthEast(e.select_node("*[local-name()='Start']").node(), sx, sy);
      readNorthEast(e.select_node("*[local-name()='End']").node(), ex, ey);
      w.direction = std::max(w.direction, angleGap(std::atan2(px - sx, py - sy), a0));
      w.direction = std::max(w.direction, angleGap(std::atan2(ex - px, ey - py), a1));
    }
    c += length;
  }
  return w;
}

TEST(LandXmlCorpus, EveryFileIsReadOrRefusedAndReadOnesMatchTheirOwnFigures) {
  if (!std::filesystem::exists(kCorpus)) GTEST_SKIP() << "no corpus";
  testing::ScriptedPlatform platform;
  for (const auto& entry : std::filesystem::directory_iterator(kCorpus)) {
    SCOPED_TRACE(entry.path().filename().string());
    EXPECT_TRUE(looksLikeLandXmlFile(entry.path()));
    LandXmlFile file;
    std::string error;
    if (!file.load(entry.path(), error)) {
      EXPECT_NE(error.find("w wierszu"), std::string::npos) << error;
      continue;
    }
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(entry.path().c_str()));
    const double factor = directionFactor(doc.document_element());
    const auto nodes = doc.select_nodes("//*[local-name()='Alignment']");
    ASSERT_EQ(nodes.size(), file.alignments().size());
    for (std::size_t i = 0; i < file.alignments().size(); ++i) {
      Alignment alignment;
      ASSERT_TRUE(alignment.initialise(platform));
      if (storeLandXmlAlignment(file, i, entry.path(), alignment, platform, error) !=
          AlignmentReadStatus::Ok) {
        EXPECT_NE(error.find("w wierszu"), std::string::npos) << error;
        std::cout << entry.path().filename().string() << ": " << error << "\n";
        continue;
      }
      const Worst w = checkAgainstFile(alignment, nodes[i].node(), factor);
      std::cout << entry.path().filename().string() << " [" << file.alignments()[i].name
                << "] worst point " << formatGeneral(w.point) << " m, chainage "
                << formatGeneral(w.chainage) << ", direction " << formatGeneral(w.direction)
                << " rad\n";
      EXPECT_LE(w.point, 0.001);
      EXPECT_LE(w.chainage, 0.001);
      EXPECT_LE(w.direction, 0.0001);
    }
  }
}

// A small generator: an alignment given as elements (length, start and end curvature, + to the
// right), its main points worked out by the geometry, written as .TRS and as LandXML.
struct GeneratedElement {
  double length, k1, k2;
};

std::vector<AlignmentRecord> generate(const std::vector<GeneratedElement>& elements,
                                      double staStart, Platform& platform) {
  std::vector<AlignmentRecord> records{{staStart, 5602000, 7452000, 0.7, 0, 0}};
  for (const auto& e : elements) {
    AlignmentRecord& r = records.back();
    if (e.k1 == e.k2) {
      r.radius = e.k1 == 0 ? 0 : 1 / e.k1;
    } else {
      const double A = std::sqrt(e.length / std::fabs(e.k2 - e.k1));
      r.clothoidParameter = std::fabs(e.k2) > std::fabs(e.k1) ? A : -A;
      const double turn = (e.k1 + e.k2) > 0 ? 1 : -1;
      r.radius = e.k1 != 0 ? 1 / e.k1 : turn * 0.0001;
    }
    Alignment partial;
    records.push_back({r.chainage + e.length, 0, 0, 0, 0, 0});
    EXPECT_TRUE(partial.initialise(platform) && partial.setRecords(platform, records));
    AlignmentRecord& next = records.back();
    pointAtChainage(partial, next.chainage, next.x, next.y, next.azimuth);
  }
  return records;
}

std::string number(double v) { return formatFixed(v, 9); }

std::string trsText(const std::vector<AlignmentRecord>& records) {
  std::vector<std::string> lines{"TRASA", "\"Gen\",\"Test\",x,0," + formatInt(std::ssize(records))};
  int k = 0;
  for (const auto& r : records) {
    lines.push_back(formatInt(++k) + "," + number(r.chainage) + "," + number(r.x) + "," +
                    number(r.y) + "," + formatGeneral(r.azimuth) + "," + formatGeneral(r.radius) +
                    "," + formatGeneral(r.clothoidParameter));
  }
  return testing::crlf(lines);
}

std::string radiusText(double k) { return k == 0 ? "INF" : formatGeneral(std::fabs(1 / k)); }

std::string landXmlText(const std::vector<AlignmentRecord>& records,
                        const std::vector<GeneratedElement>& elements) {
  std::string geometry;
  for (std::size_t i = 0; i < elements.size(); ++i) {
    const auto& e = elements[i];
    const auto& a = records[i];
    const auto& b = records[i + 1];
    const std::string rot = (e.k1 + e.k2) > 0 ? "cw" : "ccw";
    const std::string ends = "<Start>" + number(a.y) + " " + number(a.x) + "</Start><End>" +
                             number(b.y) + " " + number(b.x) + "</End>";
    const std::string length = "length=\"" + formatGeneral(e.length) + "\"";
    if (e.k1 == e.k2 && e.k1 == 0) {
      geometry += "<Line " + length + ">" + ends + "</Line>\n";
    } else if (e.k1 == e.k2) {
      geometry += "<Curve rot=\"" + rot + "\" radius=\"" + radiusText(e.k1) + "\" " + length + ">" +
                  ends + "</Curve>\n";
    } else {
      geometry += "<Spiral spiType=\"clothoid\" rot=\"" + rot + "\" radiusStart=\"" +
                  radiusText(e.k1) + "\" radiusEnd=\"" + radiusText(e.k2) + "\" " + length + ">" +
                  ends + "</Spiral>\n";
    }
  }
  return "<?xml version=\"1.0\"?>\n<LandXML><Alignments><Alignment name=\"Gen\" staStart=\"" +
         formatGeneral(records[0].chainage) + "\"><CoordGeom>\n" + geometry +
         "</CoordGeom></Alignment></Alignments></LandXML>\n";
}

TEST(LandXmlGenerated, TrsAndLandXmlOfOneAlignmentGiveTheSamePoints) {
  const std::vector<std::vector<GeneratedElement>> cases{
      {{120, 0, 0}, {60, 0, 1 / 250.0}, {80, 1 / 250.0, 1 / 250.0}, {60, 1 / 250.0, 0}, {50, 0, 0}},
      {{40, 0, 0},
       {35, 0, -1 / 90.0},
       {30, -1 / 90.0, -1 / 90.0},
       {25, -1 / 90.0, -1 / 300.0},
       {70, -1 / 300.0, -1 / 300.0},
       {45, -1 / 300.0, 0},
       {30, 0, 1 / 150.0},
       {20, 1 / 150.0, 0}},
      {{200, 1 / 500.0, 1 / 500.0}, {50, 1 / 500.0, 1 / 200.0}, {10, 1 / 200.0, 1 / 200.0}},
  };
  testing::ScriptedPlatform platform;
  TempFolder folder;
  for (const auto& elements : cases) {
    const auto records = generate(elements, 1234.5, platform);
    testing::writeBytes(folder / "G.TRS", trsText(records));
    testing::writeBytes(folder / "G.xml", landXmlText(records, elements));
    Alignment trs, xml;
    ASSERT_TRUE(trs.initialise(platform) && xml.initialise(platform));
    RecordParser parser;
    std::vector<std::string> lines;
    std::string error;
    ASSERT_EQ(readAlignmentFile(folder / "G.TRS", parser, trs, platform, lines, error),
              AlignmentReadStatus::Ok);
    LandXmlFile file;
    ASSERT_TRUE(file.load(folder / "G.xml", error)) << error;
    ASSERT_EQ(storeLandXmlAlignment(file, 0, folder / "G.xml", xml, platform, error),
              AlignmentReadStatus::Ok)
        << error;
    ASSERT_EQ(xml.count, trs.count);
    double worst = 0;
    for (double c = trs.chainage[1] - 5; c <= trs.chainage[trs.count] + 5; c += 0.25) {
      double x1, y1, a1, x2, y2, a2;
      pointAtChainage(trs, c, x1, y1, a1);
      pointAtChainage(xml, c, x2, y2, a2);
      worst = std::max(worst, std::hypot(x1 - x2, y1 - y2));
    }
    EXPECT_LE(worst, 1e-6);
  }
}

// One <Alignment> whose <CoordGeom> holds `geometry`, starting on line 4.
std::string wrap(const std::string& geometry) {
  return "<?xml version=\"1.0\"?>\n<LandXML>\n<Alignments><Alignment name=\"A\">\n<CoordGeom>\n" +
         geometry + "</CoordGeom></Alignment></Alignments></LandXML>\n";
}

TEST(LandXmlRefusals, ElementsAtFaultAreNamedWithTheirLine) {
  const std::string line1 = "<Line><Start>0 0</Start><End>100 0</End></Line>\n";
  const struct {
    std::string geometry, error;  // empty error: read
  } cases[] = {
      {line1 + "<Line><Start>100.001 0</Start><End>200 0</End></Line>\n", ""},
      {line1 + "<Line><Start>100.0011 0</Start><End>200 0</End></Line>\n",
       "Element <Line> w wierszu 6: przerwa 0.0011 m względem końca poprzedniego elementu"},
      {line1 + "<Line><Start>100 0</Start><End>200 0.15</End></Line>\n",
       "Element <Line> w wierszu 6: załamanie kierunku 0.00150 rad względem poprzedniego elementu"},
      {line1 + "<Line><Start>100 0</Start><End>200 0.1</End></Line>\n", ""},
      {line1 + "<Line><Start>100 0</Start><End>200 0.1006</End></Line>\n",
       "Element <Line> w wierszu 6: załamanie kierunku 0.00101 rad względem poprzedniego elementu"},
      {line1 + "<Spiral spiType=\"cubic\" rot=\"cw\" length=\"10\" radiusStart=\"INF\" "
               "radiusEnd=\"100\"><Start>100 0</Start><End>110 0.2</End></Spiral>\n",
       "Element <Spiral> w wierszu 6: krzywa przejściowa typu \"cubic\"; wczytywane są tylko "
       "klotoidy (spiType=\"clothoid\")"},
      {"<Curve radius=\"100\" length=\"10\"><Start>0 0</Start><End>10 0</End></Curve>\n",
       "Element <Curve> w wierszu 5: brak kierunku skrętu (rot=\"cw\" lub \"ccw\")"},
      {"<Curve rot=\"cw\" radius=\"100\" length=\"12\"><Start>0 0</Start><End>10 0</End></Curve>\n",
       "Element <Curve> w wierszu 5: długość i promienie niezgodne z punktami początku i końca "
       "(różnica 1.9928 m)"},
      {"<Spiral rot=\"cw\" length=\"10\" radiusStart=\"100\" radiusEnd=\"100\"><Start>0 0</Start>"
       "<End>10 0</End></Spiral>\n",
       "Element <Spiral> w wierszu 5: klotoida bez zmiany krzywizny"},
      {"<Line length=\"-5\"><Start>0 0</Start><End>1 0</End></Line>\n",
       "Element <Line> w wierszu 5: błędna długość (length)"},
      {"<Chain>1 2</Chain>\n", "Element <Chain> w wierszu 5: nieobsługiwany rodzaj elementu trasy"},
      {"<Line><Start>0 x</Start><End>1 0</End></Line>\n",
       "Element <Line> w wierszu 5: brak lub błędne współrzędne początku (<Start>) albo końca "
       "(<End>)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.geometry);
    LandXmlFile file;
    std::string error;
    ASSERT_TRUE(file.loadText(wrap(c.geometry), error)) << error;
    std::vector<AlignmentRecord> records;
    EXPECT_EQ(file.records(0, records, error), c.error.empty());
    if (!c.error.empty()) {
      EXPECT_EQ(error, c.error);
    }
  }
  const struct {
    std::string text, error;
  } files[] = {
      {"<LandXML><Alignments>\n<Alignment></Alignments></LandXML>",
       "Błąd składni XML w wierszu 2 (Start-end tags mismatch)"},
      {"<LandXML/>", "Plik LandXML nie zawiera żadnej trasy (<Alignment>)"},
      {"<Other/>", "Plik nie jest plikiem LandXML"},
  };
  for (const auto& f : files) {
    LandXmlFile file;
    std::string error;
    EXPECT_FALSE(file.loadText(f.text, error));
    EXPECT_EQ(error, f.error);
  }
  EXPECT_TRUE(looksLikeLandXml("\xEF\xBB\xBF<?xml version=\"1.0\"?><!-- x --><lx:LandXML>"));
  EXPECT_FALSE(looksLikeLandXml("TRASA\r\n<LandXML>"));
}

TEST(LandXmlChoice, SeveralAlignmentsAskWhichOneAndCancellingKeepsTheLoadedOne) {
  testing::TestProgram t;
  auto& dialog = t.program->FormPoprzeczka;
  const std::string two =
      "<LandXML><Alignments>"
      "<Alignment name=\"Oś\" desc=\"Obwodnica\" length=\"100\"><CoordGeom>"
      "<Line><Start>0 0</Start><End>100 0</End></Line></CoordGeom></Alignment>"
      "<Alignment name=\"Łącznica\" length=\"50\"><CoordGeom>"
      "<Line staStart=\"10\"><Start>0 0</Start><End>0 50</End></Line></CoordGeom></Alignment>"
      "</Alignments></LandXML>";
  testing::writeBytes(t.folder / "OSIE.DAT", two);  // told by its content
  std::vector<std::string> shown;
  t.platform.onModal = [&](Form& form) {
    ASSERT_EQ(&form, &dialog.FormWyborTrasy);
    shown = dialog.FormWyborTrasy.ListBox1.items;
    dialog.FormWyborTrasy.ListBox1.itemIndex = 1;
    dialog.FormWyborTrasy.Button1Click();
  };
  t.platform.openAnswers = {t.folder / "OSIE.DAT"};
  dialog.Button5Click();
  ASSERT_TRUE(dialog.alignmentLoaded);
  EXPECT_EQ(shown, (std::vector<std::string>{"Oś  (długość 100.00)", "Łącznica  (długość 50.00)"}));
  EXPECT_EQ(dialog.Label6.caption, "Łącznica  \"\"");
  EXPECT_EQ(dialog.Edit4.text, "50.00");
  t.platform.onModal = [&](Form&) { dialog.FormWyborTrasy.Button2Click(); };
  t.platform.openAnswers = {t.folder / "OSIE.DAT"};
  dialog.Button5Click();
  EXPECT_FALSE(dialog.alignmentLoaded);
  // A refused file says why and where, and the loaded alignment stays.
  testing::writeBytes(
      t.folder / "ZLA.xml",
      wrap("<Spiral spiType=\"bloss\"><Start>0 0</Start><End>1 0</End></Spiral>\n"));
  t.platform.openAnswers = {t.folder / "ZLA.xml"};
  dialog.Button5Click();
  EXPECT_FALSE(dialog.alignmentLoaded);
  ASSERT_EQ(t.platform.messages.size(), 1u);
  EXPECT_EQ(t.platform.messages[0].title, "Błąd odczytu pliku");
  EXPECT_EQ(t.platform.messages[0].text,
            (t.folder / "ZLA.xml").string() +
                "\nElement <Spiral> w wierszu 5: krzywa przejściowa typu "
                "\"bloss\"; wczytywane są tylko klotoidy "
                "(spiType=\"clothoid\")");
  testing::writeBytes(t.folder / "INNY.XML", "<?xml version=\"1.0\"?>\n<Drawing/>\n");
  t.platform.openAnswers = {t.folder / "INNY.XML"};
  dialog.Button5Click();
  EXPECT_FALSE(dialog.alignmentLoaded);
  ASSERT_EQ(t.platform.messages.size(), 2u);
  EXPECT_EQ(t.platform.messages[1].text,
            (t.folder / "INNY.XML").string() + "\nPlik nie jest plikiem LandXML");
  EXPECT_EQ(t.program->alignment.count, 2);
  EXPECT_DOUBLE_EQ(t.program->alignment.x[2], 50);
  EXPECT_FALSE(t.platform.busy);
}

}  // namespace
}  // namespace merilon
