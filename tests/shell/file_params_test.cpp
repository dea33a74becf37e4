// MERI_PARAM.knf through the flows that write and read it: the text import, opening text and
// point files, the point-file writer. Keys are matched in upper case; what a file restores
// depends on its extension.
#include "shell/file_params.h"

#include <gtest/gtest.h>

#include "platform/cp1250.h"
#include "support/test_program.h"

namespace merilon {
namespace {

using testing::crlf;
using testing::readBytes;
using testing::TestProgram;
using testing::writeBytes;

void setStructure(TFORM_Main& m, const char* separator, std::vector<const char*> positions) {
  m.SeparatorCombo.text = separator;
  m.PositionXCombo.text = positions[0];
  m.PositionYCombo.text = positions[1];
  m.PositionZCombo.text = positions[2];
  m.PositionSymbolCombo.text = positions[3];
  m.PositionTypeCombo.text = positions[4];
}

TEST(FileParams, ImportRemembersTheStructureAndOpeningInAnyCaseRestoresIt) {
  TestProgram t;
  TFORM_Main& m = t.main();
  const auto upper = (t.folder / "A.TXT").string();
  writeBytes(t.folder / "a.txt", "P1,10,20,30\r\n");
  // The import saves under the text file shown in the preview.
  m.currentTextFile = upper;
  m.PreviewMemo.setLines({"P1,10,20,30"});
  setStructure(m, ", (przecinek)", {"2", "3", "4", "1", "0"});
  m.Pavement1CodeEdit.text = "NĄ";
  t.platform.answers = {DialogResult::No};
  m.Button2Click();
  const std::string written = readBytes(t.folder / "MERI_PARAM.knf");
  EXPECT_EQ(
      written.rfind(
          upperCase(upper) + ",0,0,0,2,3,4,1,0,44,S,N\xA5,NB,HA,HB,0.50,0.30,0.50,0.30\r\n", 0),
      0u)
      << written;

  setStructure(m, "; (Średnik)", {"1", "1", "1", "1", "1"});
  m.Pavement1CodeEdit.text = "XX";
  t.platform.openAnswers = {t.folder / "a.txt"};
  m.Button1Click();
  EXPECT_EQ(m.SeparatorCombo.text, ",");
  EXPECT_EQ(m.PositionXCombo.text, "2");
  EXPECT_EQ(m.PositionSymbolCombo.text, "1");
  EXPECT_EQ(m.PositionTypeCombo.text, "0");
  EXPECT_EQ(m.Pavement1CodeEdit.text, "XX");  // a text file restores no codes
}

TEST(FileParams, TheExtensionDecidesWhatIsRestored) {
  TestProgram t;
  TFORM_Main& m = t.main();
  setStructure(m, "t (tabulator)", {"5", "6", "7", "8", "9"});
  m.AxisCodeEdit.text = "OŚ";
  m.Humus2ThicknessEdit.text = "0.15";
  for (const char* name : {"/dane/p.csv", "/dane/p.meri", "/dane/q.TXT"}) m.saveFileParams(name);
  setStructure(m, ", (przecinek)", {"1", "2", "3", "4", "0"});
  m.AxisCodeEdit.text = "S";
  m.Humus2ThicknessEdit.text = "0.30";

  m.loadFileParams("/DANE/P.CSV");
  EXPECT_EQ(m.currentFileParams().positionX, "1");
  EXPECT_EQ(m.AxisCodeEdit.text, "S");
  m.loadFileParams("/dane/P.MERI");
  EXPECT_EQ(m.AxisCodeEdit.text, "OŚ");
  EXPECT_EQ(m.Humus2ThicknessEdit.text, "0.15");
  EXPECT_EQ(m.PositionXCombo.text, "1");
  m.loadFileParams("/dane/q.txt");
  EXPECT_EQ(m.SeparatorCombo.text, "t");  // code 116
  EXPECT_EQ(m.PositionTypeCombo.text, "9");
  m.loadFileParams("/dane/nieznany.txt");
  EXPECT_EQ(m.PositionXCombo.text, "5");
}

TEST(FileParams, SavingPointsRemembersTheCodesAndOpeningThemRestoresThem) {
  TestProgram t;
  TFORM_Main& m = t.main();
  m.PreviewMemo.setLines({"1,2,3,P1"});
  t.platform.answers = {DialogResult::No};
  m.Button2Click();
  m.AxisCodeEdit.text = "OŚ";
  m.Humus1ThicknessEdit.text = "0.25";
  t.platform.saveAnswers = {t.folder / "droga.meri"};
  m.Button5Click();
  m.AxisCodeEdit.text = "S";
  m.Humus1ThicknessEdit.text = "0.50";
  m.PositionXCombo.text = "7";
  t.platform.openAnswers = {t.folder / "DROGA.MERI"};
  std::filesystem::rename(t.folder / "droga.meri", t.folder / "DROGA.MERI");
  m.Button3Click();
  EXPECT_EQ(t.points().pointCount(), 1);
  EXPECT_EQ(m.AxisCodeEdit.text, "OŚ");
  EXPECT_EQ(m.Humus1ThicknessEdit.text, "0.25");
  EXPECT_EQ(m.PositionXCombo.text, "7");  // a point file restores no record structure
}

TEST(FileParams, OneLinePerFileTheFirstMatchIsReplacedAndTheFileIsGolden) {
  TestProgram t;
  TFORM_Main& m = t.main();
  // A line written by hand in another case, and a later duplicate that must stay as it is.
  writeBytes(t.folder / "MERI_PARAM.knf",
             crlf({"C:\\DANE\\A.TXT,0,0,0,1,2,3,4,0,44,S,NA,NB,HA,HB,1,1,1,1",
                   "/DANE/POMIAR.MERI,0,0,0,1,2,3,4,0,44,S,NA,NB,HA,HB,0.5,0.3,0.5,0.3",
                   "c:\\dane\\a.txt,stara kopia"}));
  setStructure(m, "  (spacja)", {"2", "3", "4", "1", "0"});
  m.saveFileParams("c:\\dane\\a.txt");
  m.saveFileParams("C:\\Dane\\A.txt");
  m.AxisCodeEdit.text = "OŚ";
  m.saveFileParams("/dane/Pomiar.meri");
  m.saveFileParams("/dane/nowy.csv");
  testing::expectGolden(t.folder / "MERI_PARAM.knf", "MERI_PARAM.knf");
}

}  // namespace
}  // namespace merilon
