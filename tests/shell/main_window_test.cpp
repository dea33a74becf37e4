// The main window's own flows: progress and title, closing, recent files, dropped files, menu
// items during a long command, keys.
#include "shell/main_window.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/test_program.h"

namespace merilon {
namespace {

using testing::crlf;
using testing::TestProgram;
using testing::writeBytes;

TEST(MainWindow, StartsWithItsDocumentedState) {
  TestProgram t;
  TFORM_Main& m = t.main();
  EXPECT_EQ(m.baseTitle, "Merilon-[ ]");
  EXPECT_EQ(m.Caption, "Merilon-[ ]");
  EXPECT_EQ(m.pointFileName, "NOWEPUNKTY.MERI");
  EXPECT_TRUE(m.pointsSaved);
  EXPECT_EQ(t.points().pointCapacity(), 6000);
  EXPECT_EQ(m.dataFolder, t.folder.path());
  EXPECT_EQ(m.SeparatorCombo.text, ", (przecinek)");
  EXPECT_EQ(m.PositionXCombo.items.size(), 20u);
  EXPECT_EQ(m.PositionSymbolCombo.items.front(), "0");
  EXPECT_EQ(m.PositionXCombo.keyFilter, KeyFilter::Integer);
  EXPECT_EQ(m.Pavement1ThicknessEdit.keyFilter, KeyFilter::Decimal);
  EXPECT_EQ(m.PointCountLabel.caption, "...");
  EXPECT_EQ(m.Button2.hint, "Dopisanie danych z okienka tekstowegodo Merilonu");
}

TEST(MainWindow, DocumentTitleIsTheFileNameWithoutFolderAndExtension) {
  TestProgram t;
  t.main().setDocumentTitle("/dane.v2/Pomiar.ul.meri");
  EXPECT_EQ(t.main().baseTitle, "Merilon-[Pomiar.ul]");
  EXPECT_EQ(t.main().Caption, "Merilon-[Pomiar.ul]");
  EXPECT_EQ(t.platform.titles.back(), "Merilon-[Pomiar.ul]");
}

TEST(MainWindow, ProgressBarRulesAndMinimizedTitle) {
  TestProgram t;
  TFORM_Main& m = t.main();
  m.progressStart(0);
  EXPECT_EQ(m.ProgressBar1.maximum, 1);
  EXPECT_EQ(m.ProgressBar1.step, 1);
  m.progressStart(10);
  EXPECT_EQ(m.ProgressBar1.step, 10);
  m.progressStart(250);
  EXPECT_EQ(m.ProgressBar1.step, 2);
  m.PROGMINI();
  t.platform.titles.clear();
  m.progressPosition(93);  // not a multiple of the step
  EXPECT_TRUE(t.platform.titles.empty());
  m.progressPosition(92);
  EXPECT_EQ(t.platform.titles.back(), "Merilon-[36%]");
  m.progressPosition(251);  // beyond the maximum: ignored
  EXPECT_EQ(m.ProgressBar1.position, 92);
  m.progressPosition(0);
  EXPECT_EQ(t.platform.titles.back(), "Merilon-[ ]");
  m.PROGMAXI();
  t.platform.titles.clear();
  m.progressPosition(92);
  EXPECT_TRUE(t.platform.titles.empty());
}

TEST(MainWindow, ClosingAsksAboutUnsavedPointsAndRefusesDuringACommand) {
  TestProgram t;
  TFORM_Main& m = t.main();
  m.pointsSaved = false;
  t.platform.answers = {DialogResult::No};
  EXPECT_FALSE(m.FormCloseQuery());
  EXPECT_EQ(t.platform.messages[0].title, "Zamknięcie programu");
  EXPECT_EQ(t.platform.messages[0].text,
            "Nie zapisano następujących danych: PUNKTY . Utracisz dane, czy mimo to zamknąć "
            "program?");
  EXPECT_EQ(t.platform.messages[0].defaultButton, DialogResult::No);
  m.disableCommands();
  EXPECT_FALSE(m.FormCloseQuery());
  EXPECT_EQ(t.platform.messages.size(), 1u);  // nothing shown while a command runs
  m.enableCommands();
  m.addRecentFile("/dane/Pomiar.txt");
  t.platform.answers = {DialogResult::Yes};
  m.requestClose();
  EXPECT_TRUE(m.closed);
  EXPECT_EQ(testing::readBytes(t.folder / "MERI_OST_PLIKI.bin"), crlf({"/dane/Pomiar.txt"}));
}

TEST(MainWindow, ZamknijProgramRemembersTheCodesUnderThePointFile) {
  TestProgram t;
  t.main().AxisCodeEdit.text = "OŚ";
  t.main().Button13Click();
  EXPECT_TRUE(t.main().closed);
  EXPECT_EQ(testing::readBytes(t.folder / "MERI_PARAM.knf"),
            "NOWEPUNKTY.MERI,0,0,0,1,2,3,4,0,44,O\x8C,NA,NB,HA,HB,0.50,0.30,0.50,0.30\r\n");
}

TEST(MainWindow, RecentFileItemsOpenByExtension) {
  TestProgram t(false);
  writeBytes(t.folder / "MERI_OST_PLIKI.bin",
             crlf({"C:\\DANE\\POMIAR.MERI", "C:\\", "/dane/a.txt", "/dane/b.dxf"}));
  t.start();
  TFORM_Main& m = t.main();
  ASSERT_EQ(m.recentMenuCaptions, (std::vector<std::string>{"0 C:\\DANE\\POMIAR.MERI",
                                                            "1 /dane/a.txt", "2 /dane/b.dxf"}));
  m.MyMenuHandler(m.recentMenuCaptions[0]);
  ASSERT_EQ(t.platform.openRequests.size(), 1u);
  EXPECT_EQ(t.platform.openRequests[0].title, "Otwórz plik punktów Merilonu");
  EXPECT_EQ(t.platform.openRequests[0].proposedName, "C:\\DANE\\POMIAR.MERI");
  EXPECT_TRUE(m.pendingFile.empty());
  m.MyMenuHandler("&1 /dane/a.txt");
  ASSERT_EQ(t.platform.openRequests.size(), 2u);
  EXPECT_EQ(t.platform.openRequests[1].title, "Otwórz plik tekstowy");
  EXPECT_EQ(t.platform.openRequests[1].proposedName, "/dane/a.txt");
  EXPECT_EQ(t.platform.openRequests[1].initialFolder, "/dane");
  EXPECT_EQ(m.dataFolder, "/dane");
  // An "&" of the file name is part of the name.
  m.MyMenuHandler("2 /dane/A&B.meri");
  ASSERT_EQ(t.platform.openRequests.size(), 3u);
  EXPECT_EQ(t.platform.openRequests[2].proposedName, "/dane/A&B.meri");
  m.MyMenuHandler("&3 /dane/&c.txt");
  EXPECT_EQ(t.platform.openRequests[3].proposedName, "/dane/&c.txt");
}

// Every use of the settings files takes the hidden buffer, which then no longer holds the
// cross-section text.
TEST(MainWindow, SettingsFilesClearTheSectionTextFlag) {
  TestProgram t;
  TFORM_Main& m = t.main();
  bool& flag = t.program->FormPoprzeczka.sectionTextLoaded;
  const std::vector<std::function<void()>> uses = {
      [&] { readSettings(*t.program); }, [&] { m.saveFileParams("/dane/a.txt"); },
      [&] { m.loadFileParams("/dane/a.txt"); }, [&] { m.loadFileParams("/dane/none.txt"); }};
  for (std::size_t k = 0; k < uses.size(); ++k) {
    flag = true;
    uses[k]();
    EXPECT_FALSE(flag) << k;
  }
}

TEST(MainWindow, DroppedFilesOpenTheFirstByItsExtension) {
  TestProgram t;
  TFORM_Main& m = t.main();
  m.FilesDropped({"/dane/POMIAR.CSV", "/dane/b.meri"});
  ASSERT_EQ(t.platform.openRequests.size(), 1u);
  EXPECT_EQ(t.platform.openRequests[0].title, "Otwórz plik tekstowy");
  EXPECT_EQ(t.platform.openRequests[0].proposedName, "/dane/POMIAR.CSV");
  m.FilesDropped({"/dane/x.Meri"});
  EXPECT_EQ(t.platform.openRequests.back().title, "Otwórz plik punktów Merilonu");
  m.FilesDropped({"/dane/opis.pdf"});
  EXPECT_EQ(t.platform.openRequests.size(), 2u);
  EXPECT_EQ(m.pendingFile, "/dane/opis.pdf");  // kept for the next open dialog
  m.MenuClick(MenuCommand::OpenText);
  EXPECT_EQ(t.platform.openRequests.back().proposedName, "/dane/opis.pdf");
}

TEST(MainWindow, NothingOfTheDisabledSetStartsDuringALongCommand) {
  TestProgram t;
  TFORM_Main& m = t.main();
  m.PreviewMemo.setLines({"1,1,1", "2,2,2", "3,3,3"});
  std::vector<std::size_t> dialogsSeen;
  t.platform.onPendingEvents = [&](int step) {
    if (step != 2) return;
    // While the import runs: menu items, recent files and dropped files do nothing.
    m.MenuClick(MenuCommand::OpenPoints);
    m.MenuClick(MenuCommand::SavePoints);
    m.MenuClick(MenuCommand::ImportPoints);
    m.MyMenuHandler("0 /dane/a.meri");
    m.FilesDropped({"/dane/a.txt"});
    dialogsSeen = {t.platform.openRequests.size(), t.platform.saveRequests.size()};
    EXPECT_FALSE(m.FormCloseQuery());
    EXPECT_FALSE(m.Button1.enabled);
    EXPECT_TRUE(m.Button18.enabled);
    EXPECT_TRUE(m.Button20.enabled);
  };
  t.platform.answers = {DialogResult::No};
  m.Button2Click();
  EXPECT_EQ(dialogsSeen, (std::vector<std::size_t>{0, 0}));
  EXPECT_EQ(t.points().pointCount(), 3);
  EXPECT_TRUE(m.Button1.enabled);
}

TEST(MainWindow, OpeningATextFileFillsThePreviewAndRestoresItsStructure) {
  TestProgram t;
  TFORM_Main& m = t.main();
  writeBytes(t.folder / "a.txt", "Nr;X;Y;Z\r\n1;10;20;30\r\n");
  m.PositionXCombo.text = "2";
  m.PositionYCombo.text = "3";
  m.PositionZCombo.text = "4";
  m.PositionSymbolCombo.text = "1";
  m.SeparatorCombo.text = "; (Średnik)";
  m.saveFileParams((t.folder / "A.TXT").string());
  m.PositionXCombo.text = "1";
  m.SeparatorCombo.text = ",";
  m.Button17Click();
  EXPECT_FALSE(m.PreviewMemo.readOnly);
  t.platform.openAnswers = {t.folder / "a.txt"};
  m.Button1Click();
  EXPECT_TRUE(m.PreviewMemo.readOnly);
  EXPECT_EQ(m.PreviewMemo.lines(), (std::vector<std::string>{"Nr;X;Y;Z", "1;10;20;30"}));
  EXPECT_EQ(m.currentTextFile, (t.folder / "a.txt").string());
  EXPECT_EQ(m.PositionXCombo.text, "2");
  EXPECT_EQ(m.SeparatorCombo.text, ";");
  EXPECT_EQ(t.platform.openRequests[0].filter, "Pliki tekstowe|*.txt|Wszystkie pliki|*.*");
  EXPECT_EQ(t.platform.openRequests[0].initialFolder, t.folder.path());
  t.platform.answers = {DialogResult::No};
  m.Button2Click();
  EXPECT_EQ(t.points().pointCount(), 1);
  EXPECT_EQ(t.points().pointName[1].text(), "1");
}

TEST(MainWindow, KeysAndClipboard) {
  TestProgram t;
  TFORM_Main& m = t.main();
  m.FormKeyDown(WindowKey::Escape, false, false);
  EXPECT_TRUE(m.abortRequested);
  m.disableCommands();
  EXPECT_FALSE(m.abortRequested);
  m.enableCommands();
  m.FormKeyDown(WindowKey::F1, true, true);
  EXPECT_TRUE(t.platform.minimized);
  m.Button20Click();
  ASSERT_EQ(t.platform.messages.size(), 1u);
  EXPECT_EQ(t.platform.messages[0].title, "Pobranie ze schowka");
  EXPECT_EQ(t.platform.messages[0].text, "Brak danych tekstowych");
  t.platform.clipboard = "1,2,3\r\n4,5,6";
  m.Button20Click();
  EXPECT_EQ(m.PreviewMemo.lines(), (std::vector<std::string>{"1,2,3", "4,5,6"}));
}

}  // namespace
}  // namespace merilon

namespace merilon {
namespace {

// The window's own texts, each exactly as the users know them.
TEST(MainWindow, ButtonCaptionsHintsAndTheCommandSet) {
  testing::TestProgram t;
  TFORM_Main& m = t.main();
  struct Expected {
    Button* button;
    const char* caption;
    const char* hint;
    bool inCommandSet;
  };
  const Expected expected[] = {
      {&m.Button8, "Projekt",
       "Otwarcie projektu systemu VORDA (szybki dostęp do katalogu z danymi)", true},
      {&m.Button1, "Otwórz plik tekstowy", "Otwarcie pliku z danymi o punktach", true},
      {&m.Button14, "Wczytaj dane z DXF",
       "Wybranie z pliku DXF danych tekstowych o współrzędnych punktów", true},
      {&m.Button2, "Wczytaj do Punktów", "Dopisanie danych z okienka tekstowegodo Merilonu", true},
      {&m.Button3, "Otwórz Punkty", "Wczytanie Punkty (dane Merilonu)", true},
      {&m.Button5, "Zapisz Punkty", "Zapisanie Punktów programu Merilon", true},
      {&m.Button15, "Zapisz dane txt", "Zapis danych tekstowych (np. pobranych z pliku DXF)", true},
      {&m.Button23, "Zapisz Punkty do txt", "Zapis punktów do pliku tekstowego", false},
      {&m.Button7, "Generuj DXF3D", "Generowanie rysunku DXF z punktami i opisami", true},
      {&m.Button10, "Generuj poprzeczki",
       "Generowanie przekrojów poprzecznych terenu dla systemu VORDA", true},
      {&m.Button19, "Rysuj", "Rysowanie na ekranie", true},
      {&m.Button9, "Opis programu", "Opis programu, pomoc", false},
      {&m.Button16, "O programie", "Informacja o programie", false},
      {&m.Button13, "Zamknij program", "Zamknij program", true},
      {&m.Button17, "Edytuj tekst",
       "Uaktywnienie możliwości edycji danych w okienku \"Podgląd otworzonego pliku tekstowego\"",
       true},
      {&m.Button18, "Przerwij", "Przerwanie długotrwałego procesu", false},
      {&m.Button20, "Ze schowka", "Dopisanie współrzędnych ze schowka", false},
  };
  m.disableCommands();
  for (const auto& e : expected) {
    EXPECT_EQ(e.button->caption, e.caption);
    EXPECT_EQ(e.button->hint, e.hint) << e.caption;
    EXPECT_EQ(e.button->enabled, !e.inCommandSet) << e.caption;
  }
  m.enableCommands();
  for (const auto& e : expected) EXPECT_TRUE(e.button->enabled) << e.caption;
}

}  // namespace
}  // namespace merilon
