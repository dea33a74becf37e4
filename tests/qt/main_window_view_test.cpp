// Clicks the real main window: open a text file, import it, and read the point-count label.
#include "main_window_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>
#include <map>

#include "application_setup.h"
#include "platform/cp1250.h"
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
  view->previewPane()->view()->selectAll();
  EXPECT_EQ(view->previewPane()->view()->selectedText(), "1,2,3,A\n4,5,6,B\n7,8,9,C");
  EXPECT_FALSE(view->previewPane()->isEditing());
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
  ASSERT_TRUE(view->previewPane()->isEditing());
  EXPECT_FALSE(view->previewPane()->editor()->isReadOnly());
  view->previewPane()->editor()->setPlainText("10,20,30\n11,21,31");
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

void sendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::KeyboardModifiers modifiers = {}) {
  QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton,
                type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, modifiers);
  QApplication::sendEvent(w, &e);
}

// The read-only preview draws the lines straight from the text it holds: scrolling, selecting
// with the mouse (across lines, extended with Shift), copying, the Polish context menu, and the
// switch to an editor and back.
TEST_F(QtMainWindow, PreviewDrawsTheLinesAndSelectsAndCopiesThem) {
  std::string text;
  for (int k = 1; k <= 5000; ++k)
    text += std::to_string(k) + ",7450000.12,5600000.34,101.5,PKT\r\n";
  text +=
      "Łąka\tżółw,1,punkt z opisem dłuższym niż szerokość okienka podglądu pliku tekstowego\r\n";
  testing::writeBytes(folder / "duzy.txt", encodeCp1250(text));
  files = {folder / "duzy.txt"};
  view->button("Otwórz plik tekstowy")->click();
  PreviewPane* pane = view->previewPane();
  MemoView* lines = pane->view();
  ASSERT_FALSE(pane->isEditing());
  EXPECT_EQ(lines->font().family(), "Arial");
  EXPECT_EQ(lines->font().pixelSize(), 12);
  EXPECT_EQ(lines->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(lines->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  const auto visible = static_cast<int>(lines->visibleLineCount());
  EXPECT_EQ(lines->verticalScrollBar()->maximum(), 5001 - visible);
  EXPECT_GT(lines->horizontalScrollBar()->maximum(), 0);  // the lines are wider than the pane

  // A drag from the start of line 2 to the middle of line 3, then Shift+click on line 4.
  QWidget* surface = lines->viewport();
  sendMouse(surface, QEvent::MouseButtonPress, lines->pointOf({1, 0}) + QPoint(1, 2));
  sendMouse(surface, QEvent::MouseMove, lines->pointOf({2, 3}) + QPoint(1, 2));
  sendMouse(surface, QEvent::MouseButtonRelease, lines->pointOf({2, 3}) + QPoint(1, 2));
  EXPECT_EQ(lines->selectedText(), "2,7450000.12,5600000.34,101.5,PKT\n3,7");
  sendMouse(surface, QEvent::MouseButtonPress, lines->pointOf({3, 1}) + QPoint(1, 2),
            Qt::ShiftModifier);
  sendMouse(surface, QEvent::MouseButtonRelease, lines->pointOf({3, 1}) + QPoint(1, 2));
  QKeyEvent copy(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier, "c");
  QApplication::sendEvent(lines, &copy);
  EXPECT_EQ(QApplication::clipboard()->text(),
            "2,7450000.12,5600000.34,101.5,PKT\n3,7450000.12,5600000.34,101.5,PKT\n4");

  QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
  QApplication::sendEvent(lines, &end);
  EXPECT_EQ(lines->firstVisibleLine(), static_cast<std::size_t>(5001 - visible));
  const QPoint last = lines->pointOf({5000, 0}) + QPoint(1, 2);
  QMouseEvent twice(QEvent::MouseButtonDblClick, last, surface->mapToGlobal(last), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(surface, &twice);
  EXPECT_EQ(lines->selectedText(), "Łąka");

  setUpApplication(*static_cast<QApplication*>(QApplication::instance()));
  const auto menu = lines->createContextMenu();
  QStringList items;
  for (QAction* a : menu->actions()) {
    if (!a->isSeparator()) items << a->text().section('\t', 0, 0);
  }
  EXPECT_EQ(items, (QStringList{"S&kopiuj", "Zaznacz wszystko"}));

  view->button("Edytuj tekst")->click();
  ASSERT_TRUE(pane->isEditing());
  EXPECT_EQ(pane->editor()->document()->blockCount(), 5001);
  EXPECT_TRUE(pane->editor()->document()->lastBlock().text().startsWith("Łąka\tżółw,1,"));
  files = {folder / "duzy.txt"};
  view->button("Otwórz plik tekstowy")->click();
  EXPECT_FALSE(pane->isEditing());
  EXPECT_TRUE(pane->editor()->document()->isEmpty());  // its copy of the text is gone
}

// A file without line breaks: the view draws only the start of its one line, a copy takes it all.
TEST_F(QtMainWindow, ALineOfMegabytesIsShownAndCopiedWhole) {
  std::string line;
  for (int k = 0; k < 200000; ++k) line += "7450000.12,";
  testing::writeBytes(folder / "bez_podzialu.txt", line);
  files = {folder / "bez_podzialu.txt"};
  view->button("Otwórz plik tekstowy")->click();
  MemoView* lines = view->previewPane()->view();
  lines->viewport()->repaint();
  EXPECT_GT(lines->horizontalScrollBar()->maximum(), 0);
  lines->selectAll();
  EXPECT_EQ(lines->selectedText().size(), static_cast<qsizetype>(line.size()));
}

// "Ze schowka" appends to the read-only preview; the view shows the end, where the lines went.
TEST_F(QtMainWindow, LinesFromTheClipboardAreShownAtTheEnd) {
  std::string text;
  for (int k = 1; k <= 300; ++k) text += std::to_string(k) + ",1,2\n";
  testing::writeBytes(folder / "p.txt", text);
  files = {folder / "p.txt"};
  view->button("Otwórz plik tekstowy")->click();
  MemoView* lines = view->previewPane()->view();
  EXPECT_EQ(lines->firstVisibleLine(), 0u);
  QApplication::clipboard()->setText("7450000.00,5600000.00,100.00 wyjątkowo długi opis punktu\n");
  view->button("Ze schowka")->click();
  EXPECT_EQ(lines->verticalScrollBar()->maximum(),
            static_cast<int>(301 - lines->visibleLineCount()));
  EXPECT_EQ(lines->firstVisibleLine(), 301 - lines->visibleLineCount());
}

// The log pane follows the lines a command appends, showing the newest, and its text can be
// selected and copied; a cleared log starts again at the top.
TEST_F(QtMainWindow, LogPaneShowsTheNewestLinesAndCopiesThem) {
  MemoView* log = view->logPane();
  ASSERT_NE(log, nullptr);
  program->main.LogMemo.clear();
  for (int k = 1; k <= 500; ++k) {
    program->main.logMessage("Przekrój nr " + std::to_string(k));
    view->syncFromModel();
  }
  ASSERT_GT(log->visibleLineCount(), 0u);
  EXPECT_LT(log->visibleLineCount(), 500u);
  EXPECT_EQ(log->firstVisibleLine(), 500 - log->visibleLineCount());
  log->select({499, 0}, {499, 20});
  log->copy();
  EXPECT_EQ(QApplication::clipboard()->text(), "Przekrój nr 500");
  program->main.LogMemo.setLines({"Wczytywanie danych Merilonu"});
  view->syncFromModel();
  EXPECT_EQ(log->firstVisibleLine(), 0u);
  EXPECT_FALSE(log->hasSelection());
}

// An import stopped with "Przerwij" leaves the progress bar at 0, as a finished one does.
TEST_F(QtMainWindow, AbortedImportSetsTheProgressBarBackToZero) {
  std::string text;
  for (int k = 0; k < 400000; ++k) text += std::to_string(k) + ",1,2\n";
  testing::writeBytes(folder / "dlugi.txt", text);
  files = {folder / "dlugi.txt"};
  view->button("Otwórz plik tekstowy")->click();
  // "Przerwij" is pressed once the bar has moved; the question is answered Yes.
  std::function<void()> pressWhenMoving = [&] {
    if (program->main.ProgressBar1.position > 0) {
      view->button("Przerwij")->click();
    } else {
      QTimer::singleShot(0, view.get(), pressWhenMoving);
    }
  };
  QTimer::singleShot(0, view.get(), pressWhenMoving);
  answers = {DialogResult::Yes};
  view->button("Wczytaj do Punktów")->click();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back().text, "Przerwać wczytywanie?");
  EXPECT_GT(program->points.pointCount(), 0);
  EXPECT_LT(program->points.pointCount(), 400000);
  EXPECT_EQ(program->main.ProgressBar1.position, 0);
  EXPECT_EQ(view->progressBar()->value(), 0);
  EXPECT_TRUE(view->button("Wczytaj do Punktów")->isEnabled());
}

}  // namespace
}  // namespace merilon::qt
