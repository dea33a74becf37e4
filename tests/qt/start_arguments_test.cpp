// `merilon FILE`: the command line's file is opened as a drop on the main window opens it, once
// the first activation is over; options (the program's and Qt's) are no file names.
#include "start_arguments.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>

#include "main_window_view.h"
#include "qt_platform.h"
#include "shell/program.h"
#include "support/test_program.h"

namespace merilon::qt {
namespace {

TEST(QtStartArguments, FilesOptionsAndQtsOwnOptions) {
  using Files = std::vector<std::string>;
  struct Case {
    std::vector<std::string> words;
    Files files;
    std::string dataFolder;
  };
  const Case cases[] = {
      {{}, {}, ""},
      {{"/d/pomiar.meri"}, {"/d/pomiar.meri"}, ""},
      {{"--data-folder", "/d", "a.txt", "b.dxf"}, {"a.txt", "b.dxf"}, "/d"},
      {{"-platform", "offscreen", "a.csv"}, {"a.csv"}, ""},
      {{"--style", "Fusion", "-reverse", "a.csv"}, {"a.csv"}, ""},
      {{"--", "-dziwna nazwa.txt"}, {"-dziwna nazwa.txt"}, ""},
      {{"--data-folder"}, {}, ""},  // an option without its value names nothing
      {{"--program-folder", "/p", ""}, {}, ""},
  };
  for (const auto& c : cases) {
    const StartArguments a = parseStartArguments(c.words);
    EXPECT_EQ(a.files, c.files) << ::testing::PrintToString(c.words);
    EXPECT_EQ(a.dataFolder.value_or(""), c.dataFolder) << ::testing::PrintToString(c.words);
  }
  EXPECT_EQ(parseStartArguments({"--program-folder", "/p"}).programFolder.value_or(""), "/p");
}

TEST(QtStartArguments, TheFileOpensAsADropOnceTheWindowIsUp) {
  struct Case {
    std::string file;
    std::string dialogTitle;  // empty: no dialog at all
  };
  const Case cases[] = {
      {"pomiar.meri", "Otwórz plik punktów Merilonu"},
      {"mapa.DXF", "Otwórz plik DXF"},
      {"pomiar.txt", "Otwórz plik tekstowy"},
      {"opis.pdf", ""},
  };
  for (const auto& c : cases) {
    testing::TempFolder folder;
    QtPlatform platform;
    std::vector<FileDialogRequest> asked;
    platform.messageHook = [](const MessageRequest&) { return DialogResult::Ok; };
    platform.fileDialogHook = [&](const FileDialogRequest& r,
                                  bool) -> std::optional<std::filesystem::path> {
      asked.push_back(r);
      return std::nullopt;
    };
    ProgramOptions options;
    options.programFolder = folder.path();
    options.userSettingsFolder = folder.path() / "user";
    Program program(platform, options);
    ASSERT_TRUE(program.start());
    MainWindowView view(program, platform);
    const std::string file = (folder / c.file).string();
    view.openAfterStart({file, (folder / "drugi.meri").string()});
    view.show();
    QElapsedTimer waited;
    waited.start();
    while (asked.empty() && waited.elapsed() < 500) QApplication::processEvents();
    if (c.dialogTitle.empty()) {
      EXPECT_TRUE(asked.empty()) << c.file;
      EXPECT_EQ(program.main.pendingFile, file) << "kept for the next open dialog";
      continue;
    }
    ASSERT_EQ(asked.size(), 1u) << c.file << ": only the first file, once";
    EXPECT_EQ(asked[0].title, c.dialogTitle);
    EXPECT_EQ(asked[0].proposedName, file);
    EXPECT_EQ(asked[0].initialFolder, folder.path());
  }
}

}  // namespace
}  // namespace merilon::qt
