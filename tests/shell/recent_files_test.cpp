// MERI_OST_PLIKI.bin and the ring of ten recent names: loading drops short lines, a new name
// drops the oldest once the ring is full, a known name (in any case) is not added again, names
// keep their own case, and the open and save commands add their files.
#include "shell/recent_files.h"

#include <gtest/gtest.h>

#include "support/test_program.h"

namespace merilon {
namespace {

using testing::crlf;
using testing::readBytes;
using testing::TempFolder;
using testing::TestProgram;
using testing::writeBytes;

std::vector<std::string> names(int from, int to) {
  std::vector<std::string> v;
  for (int k = from; k <= to; ++k) v.push_back("/dane/Plik" + std::to_string(k) + ".txt");
  return v;
}

TEST(RecentFiles, LoadingDropsShortLinesAndKeepsTenAtMost) {
  TempFolder folder;
  RecentFiles recent;
  auto lines = names(1, 3);
  lines.insert(lines.begin() + 1, "C:\\");
  lines.push_back("");
  writeBytes(folder / "MERI_OST_PLIKI.bin", crlf(lines));
  recent.loadRecentFiles(folder / "MERI_OST_PLIKI.bin");
  EXPECT_EQ(recent.newestFirst(), names(1, 3));
  EXPECT_EQ(recent.buildRecentMenu().front(), "0 /dane/Plik1.txt");

  // Beyond ten lines the last slot is overwritten by each further line.
  writeBytes(folder / "MERI_OST_PLIKI.bin", crlf(names(1, 12)));
  recent.loadRecentFiles(folder / "MERI_OST_PLIKI.bin");
  auto expected = names(1, 9);
  expected.push_back("/dane/Plik12.txt");
  EXPECT_EQ(recent.newestFirst(), expected);

  recent.loadRecentFiles(folder / "brak.bin");
  EXPECT_EQ(recent.recentCount(), 0);
}

TEST(RecentFiles, TheRingWrapsAndKnownNamesStayWhereTheyAre) {
  TempFolder folder;
  RecentFiles recent;
  std::string error;
  writeBytes(folder / "MERI_OST_PLIKI.bin", "stary\r\n");
  EXPECT_TRUE(recent.saveRecentFiles(folder / "MERI_OST_PLIKI.bin", error));
  EXPECT_EQ(readBytes(folder / "MERI_OST_PLIKI.bin"), "stary\r\n");  // an empty list writes nothing

  for (const auto& n : names(1, 10)) recent.addRecentFile(n);
  recent.addRecentFile("/DANE/PLIK4.TXT");
  EXPECT_EQ(recent.recentCount(), 10);
  EXPECT_EQ(recent.newestFirst().front(), "/dane/Plik10.txt");
  recent.addRecentFile("/dane/Łąka Północ.meri");
  recent.addRecentFile("/dane/Zażółć.DXF");
  const auto list = recent.newestFirst();
  ASSERT_EQ(list.size(), 10u);
  EXPECT_EQ(list[0], "/dane/Zażółć.DXF");
  EXPECT_EQ(list[9], "/dane/Plik3.txt");  // Plik1 and Plik2 dropped

  ASSERT_TRUE(recent.saveRecentFiles(folder / "MERI_OST_PLIKI.bin", error)) << error;
  testing::expectGolden(folder / "MERI_OST_PLIKI.bin", "MERI_OST_PLIKI.bin");
  RecentFiles again;
  again.loadRecentFiles(folder / "MERI_OST_PLIKI.bin");
  EXPECT_EQ(again.newestFirst(), list);
}

TEST(RecentFiles, OpenAndSaveCommandsAddTheirFilesAndTheListIsSavedOnClose) {
  TestProgram t;
  TFORM_Main& m = t.main();
  writeBytes(t.folder / "Pomiar.txt", "1,2,3\r\n");
  t.platform.openAnswers = {t.folder / "Pomiar.txt"};
  m.Button1Click();
  m.PreviewMemo.setLines({"1,2,3"});
  t.platform.answers = {DialogResult::No};
  m.Button2Click();
  t.platform.saveAnswers = {t.folder / "Wynik.dat"};
  m.Button5Click();
  t.platform.openAnswers = {t.folder / "Wynik.meri"};
  m.Button3Click();
  EXPECT_EQ(t.program->recent.newestFirst(),
            (std::vector<std::string>{(t.folder / "Wynik.meri").string(),
                                      (t.folder / "Pomiar.txt").string()}));
  m.requestClose();
  EXPECT_EQ(readBytes(t.folder / "MERI_OST_PLIKI.bin"),
            crlf({(t.folder / "Wynik.meri").string(), (t.folder / "Pomiar.txt").string()}));
}

}  // namespace
}  // namespace merilon
