// Clicks the real main window: open a text file, import it, and read the point-count label.
#include "main_window_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <map>

#include "qt_platform.h"
#include "shell/program.h"
#include "support/test_program.h"

namespace merilon::qt {
namespace {

struct QtMainWindow : ::testing::Test {
  testing::TempFolder folder;
  QtPlatform platform;
  std::vector<MessageRequest> messages;
  std::deque<DialogResult> answers;
  std::deque<std::filesystem::path> files;
  std::unique_ptr<Program> program;
  std::unique_ptr<MainWindowView> view;

  void SetUp() override {
    platform.messageHook = [this](const MessageRequest& r) {
      messages.push_back(r);
      if (r.buttons == MessageButtons::Ok || answers.empty()) return DialogResult::Ok;
      auto a = answers.front();
      answers.pop_front();
      return a;
    };
    platform.fileDialogHook = [this](const FileDialogRequest&,
                                     bool) -> std::optional<std::filesystem::path> {
      if (files.empty()) return std::nullopt;
      auto f = files.front();
      files.pop_front();
      return f;
    };
    ProgramOptions options;
    options.programFolder = folder.path();
    options.userSettingsFolder = folder.path() / "user";
    program = std::make_unique<Program>(platform, options);
    ASSERT_TRUE(program->start());
    view = std::make_unique<MainWindowView>(*program, platform);
    view->show();
  }
};

TEST_F(QtMainWindow, OpenImportAndCount) {
  testing::writeBytes(folder / "pomiar.txt", "1,2,3,A\n4,5,6,B\n7,8,9,C\n");
  QPushButton* open = view->button("Otwórz plik tekstowy");
  ASSERT_NE(open, nullptr);
  EXPECT_EQ(open->toolTip(), "Otwarcie pliku z danymi o punktach");
  files = {folder / "pomiar.txt"};
  open->click();
  EXPECT_EQ(view->previewPane()->toPlainText(), "1,2,3,A\n4,5,6,B\n7,8,9,C");
  EXPECT_TRUE(view->previewPane()->isReadOnly());
  EXPECT_EQ(view->pointCountLabel()->text(), "...");
  answers = {DialogResult::No};
  view->button("Wczytaj do Punktów")->click();
  EXPECT_EQ(view->pointCountLabel()->text(), "Liczba punktów w do analizy: 3");
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back().text, "Liczba dopisanych punktów: 3 Zapisać punkty?");
  EXPECT_TRUE(view->button("Wczytaj do Punktów")->isEnabled());
}

TEST_F(QtMainWindow, EditedPreviewIsWhatTheImportReads) {
  view->button("Edytuj tekst")->click();
  EXPECT_FALSE(view->previewPane()->isReadOnly());
  view->previewPane()->setPlainText("10,20,30\n11,21,31");
  answers = {DialogResult::No};
  view->button("Wczytaj do Punktów")->click();
  EXPECT_EQ(program->points.pointCount(), 2);
  EXPECT_EQ(program->points.pointX[2], 11);
}

TEST_F(QtMainWindow, PositionFieldsTakeOnlyDigits) {
  auto combos = view->findChildren<QComboBox*>();
  QComboBox* x = nullptr;
  for (QComboBox* c : combos) {
    if (c->currentText() == "1") x = c;
  }
  ASSERT_NE(x, nullptr);
  x->lineEdit()->selectAll();
  QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
  QApplication::sendEvent(x->lineEdit(), &letter);
  EXPECT_EQ(x->currentText(), "1");  // swallowed
  QKeyEvent digit(QEvent::KeyPress, Qt::Key_2, Qt::NoModifier, "2");
  QApplication::sendEvent(x->lineEdit(), &digit);
  EXPECT_EQ(x->currentText(), "2");
  EXPECT_EQ(program->main.PositionXCombo.text, "2");  // the edit reached the control at once
}

TEST_F(QtMainWindow, MenusHoldTheirItemsInOrder) {
  QStringList menus;
  std::map<QString, QStringList> items;
  for (QAction* top : view->menuBar()->actions()) {
    menus << top->text();
    if (top->menu()) {
      for (QAction* a : top->menu()->actions())
        items[top->text()] << (a->isSeparator() ? "-" : a->text());
    }
  }
  EXPECT_EQ(menus, (QStringList{"Plik", "Generowanie", "Rysunek", "Inne"}));
  EXPECT_EQ(items["Plik"],
            (QStringList{"Projekt", "Otwórz plik TXT", "Otwórz  plik DXF", "Wczytaj do Punktów",
                         "Otwórz Punkty", "Podczytaj dxf", "-", "Zapisz Punkty", "Zapisz dane TXT",
                         "-", "Odłącz DXF", "Zakończ", "-"}));
  EXPECT_EQ(items["Generowanie"], (QStringList{"Generuj DXF 3D", "Generuj poprzeczki"}));
  EXPECT_EQ(items["Inne"], (QStringList{"O programie", "Opis programu"}));
}

// A dialog opened by a command sees the main window as the command left it.
TEST_F(QtMainWindow, WindowsBehindAModalDialogShowTheCommandsState) {
  struct ProbeView : FormView {
    MainWindowView* main = nullptr;
    bool openEnabled = true;
    void syncFromModel() override {}
    void runModal() override { openEnabled = main->button("Otwórz plik tekstowy")->isEnabled(); }
    void showModeless() override {}
    void closeView() override {}
  } probe;
  probe.main = view.get();
  Form dialog;
  platform.registerView(dialog, probe);
  program->main.disableCommands();
  platform.showModal(dialog);
  program->main.enableCommands();
  platform.unregisterView(dialog);
  EXPECT_FALSE(probe.openEnabled);
}

}  // namespace
}  // namespace merilon::qt
