// merilon.knf: key matching, the range rules, the keys that are reset at every reading and those
// that are not, and the file that ships with the program.
#include "shell/settings.h"

#include <gtest/gtest.h>

#include "points/no_value.h"
#include "points/record_parser.h"
#include "shell/program.h"
#include "support/test_program.h"

namespace merilon {
namespace {

using testing::crlf;
using testing::TempFolder;
using testing::writeBytes;

struct SettingsFile {
  TempFolder folder;
  RecordParser parser;
  Settings settings;
  void read(const std::vector<std::string>& lines) {
    writeBytes(folder / "merilon.knf", crlf(lines));
    readSettings(settings, parser, folder / "merilon.knf");
  }
};

TEST(Settings, KeysAreTrimmedAndUpperCasedAndLaterLinesWin) {
  SettingsFile f;
  f.read({"; KOLOR,indeks,kolor", "kolor ,  7 , 250", "FORXY,3", "DXFWE,2,100,200,5100,6200,1",
          "DXFWY,1,0,0,0,0,1", "DXFWY,0.5,10,20,30,50,2", "POPPAR,0.3", "RYSIAT,100", "RYSIAT,50",
          "NIEZNANY,1,2"});
  EXPECT_EQ(f.settings.colours[7], 250);
  EXPECT_EQ(f.settings.colours[6], 7);  // untouched entries keep k + 1
  EXPECT_EQ(f.settings.xyDecimals, 3);
  EXPECT_EQ(f.settings.zDecimals, 3);
  const CoordinateMapping& in = f.settings.dxfIn;
  EXPECT_EQ(in.scale, 2);
  EXPECT_EQ(in.shiftX, 5000);
  EXPECT_EQ(in.shiftY, 6000);
  EXPECT_EQ(in.surveyOriginX, 5100);
  EXPECT_EQ(in.heightFactor, 1);
  EXPECT_FALSE(in.isIdentity());
  EXPECT_EQ(f.settings.dxfOut.scale, 0.5);
  EXPECT_EQ(f.settings.dxfOut.shiftY, 30);
  EXPECT_EQ(f.settings.sectionTextSize, 0.3);
  EXPECT_EQ(f.settings.gridSpacing, 50);
}

TEST(Settings, ValuesOutOfRangeAreIgnored) {
  SettingsFile f;
  f.read({"KOLOR,21,5", "KOLOR,-1,5", "KOLOR,3,65536", "KOLOR,4,x", "KOLOR,0,65535", "DRUKAR,65536",
          "FORXY,16", "FORXY,2.5", "FORXY,%s%s", "FORMZ,-1", "FORMZ,0", "DXFWE,2,100,200",
          "DXFWY,0,0,0,0,0,1", "DXFWY,1,0,0,0,0,0"});
  EXPECT_EQ(f.settings.colours, [] {
    auto c = Settings::defaultColours();
    c[0] = 65535;
    return c;
  }());
  EXPECT_EQ(f.settings.printMode, 0);
  EXPECT_EQ(f.settings.xyDecimals, 2);
  EXPECT_EQ(f.settings.zDecimals, 0);
  EXPECT_TRUE(f.settings.dxfIn.isIdentity());
  EXPECT_TRUE(f.settings.dxfOut.isIdentity());
}

TEST(Settings, OnlyColoursMappingsAndFormatsAreResetOnEveryReading) {
  SettingsFile f;
  f.read({"KOLOR,1,99", "FORMZ,1", "DXFWE,2,0,0,0,0,1", "DRUKAR,1", "TRAPAR,1,0.5,3,x",
          "POPPAR,0.4", "RYSIAT,25"});
  EXPECT_EQ(f.settings.alignmentSizes[3], NO_VALUE_F);  // an unreadable number
  f.read({"; pusty"});
  EXPECT_EQ(f.settings.colours, Settings::defaultColours());
  EXPECT_EQ(f.settings.zDecimals, 3);
  EXPECT_TRUE(f.settings.dxfIn.isIdentity());
  EXPECT_EQ(f.settings.printMode, 1);
  EXPECT_EQ(f.settings.alignmentSizes[1], 0.5);
  EXPECT_EQ(f.settings.sectionTextSize, 0.4);
  EXPECT_EQ(f.settings.gridSpacing, 25);
  f.settings.xyDecimals = 7;
  std::filesystem::remove(f.folder / "merilon.knf");
  readSettings(f.settings, f.parser, f.folder / "merilon.knf");
  EXPECT_EQ(f.settings.xyDecimals, 2);
  EXPECT_EQ(f.settings.gridSpacing, 25);
}

TEST(Settings, TheShippedFileHoldsEveryKeyWithItsDefault) {
  const auto shipped = std::filesystem::path(MERILON_SOURCE_DIR) / "data" / "merilon.knf";
  const std::string bytes = testing::readBytes(shipped);
  for (const char* key : {"\r\nKOLOR,", "\r\nDXFWE,", "\r\nDXFWY,", "\r\nFORXY,", "\r\nFORMZ,",
                          "\r\nDRUKAR,", "\r\nTRAPAR,", "\r\nPOPPAR,", "\r\nRYSIAT,"}) {
    EXPECT_NE(bytes.find(key), std::string::npos) << key;
  }
  // Comments, line ends, code page: no bare LF, Polish letters as single bytes.
  auto count = [&](const std::string& what) {
    std::size_t n = 0;
    for (auto at = bytes.find(what); at != std::string::npos; at = bytes.find(what, at + 1)) ++n;
    return n;
  };
  EXPECT_EQ(count("\n"), count("\r\n"));
  EXPECT_EQ(bytes.find("\xC4"), std::string::npos);
  EXPECT_NE(bytes.find("wi\xEA"
                       "c zmiana"),
            std::string::npos);
  RecordParser parser;
  Settings read;
  read.printMode = 5;
  read.gridSpacing = 9;
  readSettings(read, parser, shipped);
  const Settings defaults;
  EXPECT_EQ(read.colours, defaults.colours);
  EXPECT_TRUE(read.dxfIn.isIdentity());
  EXPECT_TRUE(read.dxfOut.isIdentity());
  EXPECT_EQ(read.xyDecimals, defaults.xyDecimals);
  EXPECT_EQ(read.zDecimals, defaults.zDecimals);
  EXPECT_EQ(read.printMode, 0);
  EXPECT_EQ(read.alignmentSizes, defaults.alignmentSizes);
  EXPECT_EQ(read.gridSpacing, 0);
}

// An installed program: its folder cannot be written (here it does not even exist), so the
// user's configuration folder holds the settings files and is read first.
TEST(Settings, AnUnwritableProgramFolderSendsTheSettingsToTheUserFolder) {
  TempFolder folder;
  std::filesystem::create_directories(folder / "user");
  writeBytes(folder / "user" / "merilon.knf", "FORMZ,5\r\n");
  writeBytes(folder / "user" / "projekty.prj", "A,x,Opis,/p/a\r\n");
  testing::ScriptedPlatform platform;
  ProgramOptions options;
  options.programFolder = folder / "brak";
  options.userSettingsFolder = folder / "user";
  Program program(platform, options);
  ASSERT_TRUE(program.start());
  readSettings(program);
  EXPECT_EQ(program.settings.zDecimals, 5);
  program.FormProjekty.FormActivate();
  EXPECT_EQ(program.FormProjekty.TreeView1.Items.size(), 2u);
  program.main.Button13Click();
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_TRUE(std::filesystem::exists(folder / "user" / "MERI_PARAM.knf"));

  // When even the user's folder cannot be made, the failed save is reported.
  writeBytes(folder / "plik", "");
  options.userSettingsFolder = folder / "plik" / "merilon";
  Program blocked(platform, options);
  ASSERT_TRUE(blocked.start());
  blocked.main.saveFileParams("/dane/a.txt");
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].title, "Błąd zapisu pliku");
}

}  // namespace
}  // namespace merilon
