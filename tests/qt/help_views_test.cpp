// The description viewer and the about box on real widgets: the shipped description shown with
// its bold runs, a search through the find dialog selecting text, the about box's timer period
// and its closing on a key.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTimer>

#include "about_view.h"
#include "description_view.h"
#include "qt_platform.h"
#include "shell/program.h"
#include "support/test_program.h"

namespace merilon::qt {
namespace {

struct QtHelp : ::testing::Test {
  testing::TempFolder folder;
  QtPlatform platform;
  std::unique_ptr<Program> program;
  void SetUp() override {
    std::filesystem::copy_file(std::filesystem::path(MERILON_SOURCE_DIR) / "data" / "MERI_OPIS.rtf",
                               folder / "MERI_OPIS.rtf");
    ProgramOptions options;
    options.programFolder = folder.path();
    options.userSettingsFolder = folder.path() / "user";
    program = std::make_unique<Program>(platform, options);
    ASSERT_TRUE(program->start());
  }
};

TEST_F(QtHelp, DescriptionShowsTheTextAndTheFindDialogSelectsMatches) {
  DescriptionView view(*program, platform);
  showDescription(*program);
  ASSERT_TRUE(view.isVisible());
  QTextDocument* doc = view.textPane()->document();
  EXPECT_EQ(doc->firstBlock().text(), "MERILON - opis programu");
  EXPECT_EQ(doc->firstBlock().begin().fragment().charFormat().fontWeight(), QFont::Bold);
  EXPECT_TRUE(view.textPane()->isReadOnly());

  view.resize(300, 200);
  EXPECT_EQ(view.size(), QSize(640, 400));

  program->Formtrojpomoc.Button3Click();
  platform.syncAllViews();
  ASSERT_TRUE(view.findDialog()->isVisible());
  view.findEdit()->setText("PUNKTÓW");
  view.findNextButton()->click();
  const QTextCursor first = view.textPane()->textCursor();
  EXPECT_EQ(first.selectedText(), "punktów");
  view.findNextButton()->click();
  EXPECT_GT(view.textPane()->textCursor().selectionStart(), first.selectionStart());
  program->Formtrojpomoc.Button1Click();
  EXPECT_FALSE(view.isVisible());
  EXPECT_FALSE(view.findDialog()->isVisible());
}

// Wherever the find box stands, it does not hide the match it selects.
TEST_F(QtHelp, FindBoxMovesOffTheMatchItSelects) {
  DescriptionView view(*program, platform);
  showDescription(*program);
  program->Formtrojpomoc.Button3Click();
  platform.syncAllViews();
  QTextEdit* text = view.textPane();
  auto matchOnScreen = [text] {
    QTextCursor c = text->textCursor();
    QTextCursor start = c, end = c;
    start.setPosition(c.selectionStart());
    end.setPosition(c.selectionEnd());
    const QRect r = text->cursorRect(start).united(text->cursorRect(end));
    return QRect(text->viewport()->mapToGlobal(r.topLeft()), r.size());
  };
  view.findEdit()->setText("Przerwij");
  view.findNextButton()->click();
  ASSERT_TRUE(text->textCursor().hasSelection());
  const int found = text->textCursor().selectionStart();
  const QRect match = matchOnScreen();
  // The box stands over the match (as a window manager may put it); the search starts again.
  QDialog* box = view.findDialog();
  box->move(match.center() - QPoint(box->width() / 2, box->height() / 2));
  ASSERT_TRUE(box->frameGeometry().intersects(match));
  program->Formtrojpomoc.RichEdit1.selStart = 0;
  program->Formtrojpomoc.RichEdit1.selLength = 0;
  platform.syncAllViews();
  view.findNextButton()->click();
  EXPECT_EQ(text->textCursor().selectionStart(), found);
  EXPECT_FALSE(box->frameGeometry().intersects(matchOnScreen()));
}

TEST_F(QtHelp, AboutBoxFollowsItsTimerPeriodAndClosesOnAKey) {
  AboutView view(*program, platform);
  int interval = 0;
  bool shownText = false;
  QTimer::singleShot(0, &view, [&] {
    interval = view.timer().interval();
    shownText = view.informationText()->text().startsWith("MERILON");
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QApplication::sendEvent(&view, &key);
  });
  showAboutAtStartup(*program);
  platform.syncAllViews();  // as the main window does after each handler
  EXPECT_EQ(interval, 5000);
  EXPECT_TRUE(shownText);
  EXPECT_FALSE(view.isVisible());
  EXPECT_EQ(view.timer().interval(), 25000);
  EXPECT_TRUE(view.timer().isActive());
}

}  // namespace
}  // namespace merilon::qt
