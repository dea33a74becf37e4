// The cross-section command driven as a user would: "Generuj poprzeczki", "Wybierz trasę", the
// fields, "Generuj", the save dialog; and the .TER files it writes, byte for byte.
#include "alignment/cross_section_dialog.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/cp1250.h"
#include "points/no_value.h"
#include "support/test_program.h"

namespace merilon {
namespace {

using testing::readBytes;

const std::filesystem::path kAlignmentFile =
    std::filesystem::path(MERILON_TEST_DATA) / "alignment" / "prosta_luk.TRS";

class CrossSectionFlow : public ::testing::Test {
 protected:
  TFormPoprzeczka& dialog() { return t.program->FormPoprzeczka; }
  void add(double x, double y, double z, const std::string& name, int type = 0) {
    ASSERT_TRUE(t.points().reservePoint());
    const int i = t.points().pointCount();
    t.points().setPoint(i, std::round(x * 100) / 100, std::round(y * 100) / 100, z,
                        PointName::fromText(name), type);
  }
  // A small survey along the alignment of prosta_luk.TRS: a straight north from (0, 0) to
  // chainage 100, a right quarter circle of radius 100 about (100, 100), a straight east.
  void survey() {
    // Chainage 20: an axis point, coded pavement and humus points, plain terrain.
    add(0, 20.004, 100.123, "S");
    add(-3, 20.3, 100.05, "NA");
    add(-8, 20.1, 99.8, "T1");
    add(5, 19.8, 99.5, "HB");
    add(9, 20.6, 99.7, "T2");
    add(12, 20.5, 99.6, "T3");
    // Chainage 50: no axis point, so the point nearest the axis gives the chainage.
    add(1.2, 50.2, 101, "P");
    add(-2.5, 50.5, 101.2, "P");
    add(4, 49.9, 100.8, "NBx");
    add(-1, 51, 100.9, "P", 2);  // a typed point takes no part
    add(3, 70, 102, "P");        // alone and 3 from the axis: dropped
    add(-1, 80, 102.5, "P");     // alone and 1 from the axis: kept
    // On the arc at 45 degrees (chainage 178.54): the axis and 2 to each side.
    const double phi = M_PI / 4;
    for (double o : {-2.0, 0.0, 2.0}) {
      add(100 - (100 - o) * std::cos(phi), 100 + (100 - o) * std::sin(phi), 103 + o / 10,
          o == 0 ? "S" : (o < 0 ? "HA" : "P"));
    }
    // 121 points in one window on the last straight: the last one makes a section of its own.
    for (int k = 0; k <= 120; ++k) {
      const double c = 300 + k * 0.01;
      const double o = (k - 100) * 0.05;
      add(100 + (c - 257.0796327), 200 - o, 104 + k / 100.0, k % 10 == 0 ? "NA" : "P");
    }
  }
  // Presses "Generuj poprzeczki" and, in the dialog, chooses the alignment and presses "Generuj".
  void generate(bool boundaryCodesOnly, const std::filesystem::path& saveAs) {
    t.platform.openAnswers = {kAlignmentFile};
    t.platform.saveAnswers = {saveAs};
    t.platform.onModal = [&](Form& form) {
      auto& d = dynamic_cast<TFormPoprzeczka&>(form);
      d.Button5Click();
      d.RadioButton1.checked = !boundaryCodesOnly;
      d.RadioButton2.checked = boundaryCodesOnly;
      d.Button1Click();
    };
    runCrossSectionCommand(*t.program, dialog(), false);
  }
  testing::TestProgram t;
};

TEST_F(CrossSectionFlow, RefusesAnEmptyPointStore) {
  runCrossSectionCommand(*t.program, dialog(), false);
  ASSERT_EQ(t.platform.messages.size(), 1u);
  EXPECT_EQ(t.platform.messages[0].title, "Generowanie przekrojów poprzecznych");
  EXPECT_EQ(t.platform.messages[0].text,
            "Ani nie wczytano ani nie wygenerowano punktów programu Merilon !!!");
  EXPECT_EQ(t.platform.messages[0].icon, MessageIcon::Warning);
  EXPECT_TRUE(t.platform.modalForms.empty());
  EXPECT_TRUE(t.main().Button10.enabled);
}

TEST_F(CrossSectionFlow, OnlyTheWidthFieldsAreLimitedToSixCharacters) {
  TFormPoprzeczka& d = dialog();
  EXPECT_EQ(d.Edit1.maxLength, 6);
  EXPECT_EQ(d.Edit2.maxLength, 6);
  for (const Edit* e : {&d.Edit3, &d.Edit4, &d.Edit5, &d.Edit6, &d.Edit7}) {
    EXPECT_EQ(e->maxLength, 0);  // a chainage such as "12345.67" must fit
  }
  for (const Edit* e : {&d.Edit1, &d.Edit2, &d.Edit3, &d.Edit4, &d.Edit5, &d.Edit6, &d.Edit7}) {
    EXPECT_EQ(e->keyFilter, KeyFilter::Decimal);
  }
}

TEST_F(CrossSectionFlow, WritesTheGoldenTerFilesWithAndWithoutBoundaryCodes) {
  survey();
  generate(false, t.folder / "teren.txt");
  ASSERT_TRUE(std::filesystem::exists(t.folder / "teren.TER"));
  testing::expectGolden(t.folder / "teren.TER", "../alignment/teren.TER");
  EXPECT_EQ(t.platform.saveRequests.at(0).filter, "Przekroje poprzeczne terenu|*.TER");
  EXPECT_EQ(dialog().lastTerFileName, (t.folder / "teren.TER").string());
  EXPECT_EQ(dialog().Edit3.text, "0.00");
  EXPECT_EQ(dialog().Edit4.text, "357.08");
  const auto& log = t.main().LogMemo.lines();
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(log[log.size() - 4],
            "W pikietażu 301.20 przekroczono zakres punktów dla jednej "
            "poprzeczki 120");
  EXPECT_EQ(log[log.size() - 3], "Wygenerowano teren");
  EXPECT_EQ(log.back(), "Liczba poprzeczek: 6");
  EXPECT_FALSE(dialog().visible);
  EXPECT_EQ(t.main().ProgressBar1.position, 0);
  EXPECT_EQ(t.main().StatusBar1.text, "");
  EXPECT_TRUE(t.main().Button10.enabled);
  EXPECT_FALSE(t.platform.busy);

  // The second save proposes the first name; the existing file is replaced only on Yes.
  t.platform.answers = {DialogResult::Yes};
  generate(true, t.folder / "teren.TER");
  EXPECT_EQ(t.platform.saveRequests.at(1).proposedName, (t.folder / "teren.TER").string());
  EXPECT_EQ(t.platform.messages.back().text,
            "Plik: " + (t.folder / "teren.TER").string() + " istnieje. Czy mimo to zapisywać?");
  testing::expectGolden(t.folder / "teren.TER", "../alignment/teren_granice.TER");
}

// The progress bar lets the user act while the .TER file is written: a new alignment chosen
// meanwhile replaces the work text, but the file holds the sections that were generated.
TEST_F(CrossSectionFlow, WorkTextReplacedDuringTheSaveLeavesTheFileWhole) {
  survey();
  t.platform.onPendingEvents = [&](int) {
    if (t.main().StatusBar1.text == "Zapis Przekrojów poprzecznych") {
      dialog().workText.assign(1, "inna trasa");
      dialog().workText.shrink_to_fit();
    }
  };
  generate(false, t.folder / "teren.TER");
  testing::expectGolden(t.folder / "teren.TER", "../alignment/teren.TER");
}

// The run processes pending events, so the dialog's buttons can be pressed while it goes on (a
// double click on "Generuj" does it). They are greyed and wait for it: the file is the one run's,
// and the dialog stays open until that run closes it.
TEST_F(CrossSectionFlow, ButtonsPressedDuringTheRunWaitForIt) {
  struct Case {
    const char* button;
    void (TFormPoprzeczka::*press)();
  };
  survey();
  for (const Case& c : {Case{"Generuj", &TFormPoprzeczka::Button1Click},
                        Case{"Rezygnuj", &TFormPoprzeczka::Button2Click},
                        Case{"Wybierz trasę", &TFormPoprzeczka::Button5Click}}) {
    SCOPED_TRACE(c.button);
    const std::size_t opens = t.platform.openRequests.size();
    const std::size_t saves = t.platform.saveRequests.size();
    int pressed = 0;
    t.platform.onPendingEvents = [&](int) {
      const bool running = dialog().visible && t.main().ProgressBar1.position > 0;
      if (!running || pressed++ > 0) return;
      EXPECT_FALSE(dialog().Button1.enabled || dialog().Button2.enabled ||
                   dialog().Button5.enabled);
      (dialog().*c.press)();
      EXPECT_TRUE(dialog().visible);
      EXPECT_TRUE(dialog().generating());
    };
    const auto file = t.folder / (std::string("teren_") + std::to_string(opens) + ".TER");
    generate(false, file);
    EXPECT_GT(pressed, 0) << "the run processed no events";
    testing::expectGolden(file, "../alignment/teren.TER");
    EXPECT_EQ(t.platform.openRequests.size(), opens + 1);
    EXPECT_EQ(t.platform.saveRequests.size(), saves + 1);
    EXPECT_FALSE(dialog().visible);
    EXPECT_TRUE(dialog().Button1.enabled && dialog().Button2.enabled && dialog().Button5.enabled);
  }
}

TEST_F(CrossSectionFlow, AnswerNoKeepsTheOldFileAndAFailedWriteIsReported) {
  survey();
  testing::writeBytes(t.folder / "stary.TER", "stary\r\n");
  t.platform.answers = {DialogResult::No};
  generate(false, t.folder / "stary.TER");
  EXPECT_EQ(readBytes(t.folder / "stary.TER"), "stary\r\n");

  const auto missingFolder = t.folder / "brak" / "teren.TER";
  generate(false, missingFolder);
  EXPECT_FALSE(std::filesystem::exists(missingFolder));
  EXPECT_EQ(t.platform.messages.back().title, "Błąd zapisu pliku");
  EXPECT_NE(t.platform.messages.back().text.find(missingFolder.string()), std::string::npos);
}

TEST_F(CrossSectionFlow, NonIncreasingChainageStaysInTheDialog) {
  survey();
  t.platform.openAnswers = {kAlignmentFile};
  t.platform.onModal = [&](Form&) {
    dialog().Button5Click();
    dialog().Edit4.text = "0";
    dialog().Button1Click();
    EXPECT_EQ(t.platform.messages.back().text, "Nierosnący pikietaż trasy");
    EXPECT_EQ(t.platform.messages.back().title, "Błędne dane");
    EXPECT_TRUE(t.platform.saveRequests.empty());
    EXPECT_TRUE(dialog().visible);
    dialog().Button2Click();
  };
  runCrossSectionCommand(*t.program, dialog(), false);
  EXPECT_FALSE(dialog().visible);
}

TEST_F(CrossSectionFlow, DataOnlyFormKeepsTheValuesForTheDrawingWindow) {
  survey();
  t.platform.openAnswers = {kAlignmentFile};
  t.platform.onModal = [&](Form&) {
    EXPECT_EQ(dialog().Caption, "Dane trasy i przekrojów");
    EXPECT_FALSE(dialog().Button1.visible);
    EXPECT_EQ(dialog().Button2.caption, "Zamknij");
    dialog().Button1Click();  // does nothing without an alignment
    EXPECT_TRUE(t.platform.saveRequests.empty());
    dialog().Button5Click();
    EXPECT_TRUE(dialog().Label5.visible);
    EXPECT_EQ(dialog().Label6.caption, "Test  \"Prosta i luk\"");
    dialog().Edit1.text = "20";
    dialog().Edit2.text = "";
    dialog().Edit5.text = "-2.5";
    dialog().Button2Click();
  };
  runCrossSectionCommand(*t.program, dialog(), true);
  EXPECT_TRUE(dialog().Button1.enabled);
  EXPECT_EQ(dialog().stored.leftLimit, -20);
  EXPECT_EQ(dialog().stored.rightLimit, 99999999);
  EXPECT_EQ(dialog().stored.sectionRange, 2.5);
  EXPECT_EQ(dialog().stored.startChainage, 0);
  EXPECT_NEAR(dialog().stored.endChainage, 357.08, 1e-9);
  EXPECT_TRUE(t.platform.messages.empty());

  // Opening a point file discards the alignment; the dialog then shows no alignment data.
  t.program->discardAlignment();
  EXPECT_EQ(t.program->alignment.count, 0);
  EXPECT_FALSE(dialog().alignmentLoaded);
  dialog().FormActivate();
  EXPECT_EQ(dialog().Edit3.text, "");
  EXPECT_EQ(dialog().Label6.caption, "");
}

}  // namespace
}  // namespace merilon
