// The real cross-section dialog: both forms, typing into the fields (with the number key
// filter), the code option, and "Generuj" writing the .TER file through the save dialog.
#include "cross_section_dialog_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <fstream>

#include "alignment/cross_section_dialog.h"
#include "qt_platform.h"
#include "shell/program.h"
#include "support/test_program.h"

namespace merilon::qt {
namespace {

void typeText(QWidget* widget, const QString& text) {
  for (const QChar ch : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(widget, &press);
  }
}

// A key as the window system delivers it, with the control character it types.
void pressKey(QWidget* widget, int key, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &press);
}

// The visible captions, fields and buttons of `dialog` that overlap one another or are cut short
// of the height their text needs (a wrapped label, its height for its width).
std::vector<std::string> crowdedControls(const QWidget& dialog) {
  std::vector<QWidget*> controls;
  for (QWidget* w : dialog.findChildren<QWidget*>()) {
    if (w->isVisible() && (qobject_cast<QLabel*>(w) || qobject_cast<QLineEdit*>(w) ||
                           qobject_cast<QAbstractButton*>(w))) {
      controls.push_back(w);
    }
  }
  std::vector<std::string> crowded;
  for (std::size_t a = 0; a < controls.size(); ++a) {
    const QWidget* w = controls[a];
    const int needed = w->hasHeightForWidth() ? w->heightForWidth(w->width())
                                              : w->minimumSizeHint().height();
    if (w->height() < needed) crowded.push_back("cut: " + w->property("text").toString().toStdString());
    for (std::size_t b = a + 1; b < controls.size(); ++b) {
      if (w->geometry().intersects(controls[b]->geometry())) {
        crowded.push_back(w->property("text").toString().toStdString() + " over " +
                          controls[b]->property("text").toString().toStdString());
      }
    }
  }
  return crowded;
}

struct QtCrossSections : ::testing::Test {
  void SetUp() override {
    options.programFolder = folder.path();
    options.userSettingsFolder = folder.path() / "user";
    program = std::make_unique<Program>(platform, options);
    ASSERT_TRUE(program->start());
    platform.messageHook = [this](const MessageRequest& r) {
      messages.push_back(r.text);
      return r.buttons == MessageButtons::Ok ? DialogResult::Ok : DialogResult::Yes;
    };
    platform.fileDialogHook = [this](const FileDialogRequest&,
                                     bool save) -> std::optional<std::filesystem::path> {
      if (save) return folder / "wynik.txt";
      return std::filesystem::path(MERILON_TEST_DATA) / "alignment" / "prosta_luk.TRS";
    };
    for (int k = 0; k < 4; ++k) {
      ASSERT_TRUE(program->points.reservePoint());
      program->points.setPoint(k + 1, k - 1.5, 10 + 10 * k, 100 + k, PointName::fromText("P"), 0);
    }
    view = std::make_unique<CrossSectionDialogView>(*program, platform);
  }
  testing::TempFolder folder;
  ProgramOptions options;
  QtPlatform platform;
  std::unique_ptr<Program> program;
  std::unique_ptr<CrossSectionDialogView> view;
  std::vector<std::string> messages;
};

TEST_F(QtCrossSections, GenerateWritesTheFileChosenWithTheExtensionForced) {
  bool shown = false;
  QString title;
  QTimer::singleShot(0, view.get(), [&] {
    shown = view->isVisible();
    title = view->windowTitle();
    EXPECT_TRUE(view->allPointsCodesButton()->isChecked());
    view->chooseAlignmentButton()->click();
    EXPECT_EQ(view->startChainageEdit()->text(), "0.00");
    EXPECT_EQ(view->endChainageEdit()->text(), "357.08");
    EXPECT_EQ(view->headerText()->text(), "Test  \"Prosta i luk\"");
    view->rangeEdit()->clear();
    typeText(view->rangeEdit(), "2x.5");  // the letter is swallowed
    view->boundaryCodesButton()->click();
    view->generateButton()->click();
  });
  runCrossSectionCommand(*program, program->FormPoprzeczka, false);
  EXPECT_TRUE(shown);
  EXPECT_EQ(title, "Generowanie przekrojów poprzecznych");
  EXPECT_EQ(program->FormPoprzeczka.stored.sectionRange, 2.5);
  EXPECT_TRUE(program->FormPoprzeczka.stored.boundaryCodesOnly);
  EXPECT_TRUE(std::filesystem::exists(folder / "wynik.TER"));
  EXPECT_FALSE(view->isVisible());
  EXPECT_TRUE(messages.empty());
}

TEST_F(QtCrossSections, ALongDescriptionOnTwoLinesLeavesEveryCaptionReadable) {
  // The example road's description, as long as a real one: it wraps in the dialog's width.
  const std::filesystem::path trs = folder / "dluga.TRS";
  std::ifstream in(std::filesystem::path(MERILON_TEST_DATA) / "alignment" / "prosta_luk.TRS");
  std::ofstream out(trs, std::ios::binary);
  std::string line;
  for (int k = 0; std::getline(in, line); ++k) {
    out << (k == 1 ? "\"DROGA\",\"Obwodnica - przyklad z lukami w obie strony\",x,0,4\r" : line)
        << "\n";
  }
  out.close();
  platform.fileDialogHook = [&](const FileDialogRequest&, bool) { return std::optional(trs); };
  std::vector<std::string> before, after;
  int lines = 0;
  QTimer::singleShot(0, view.get(), [&] {
    before = crowdedControls(*view);
    view->chooseAlignmentButton()->click();
    QApplication::processEvents();
    const QLabel* header = view->headerText();
    lines = header->height() / header->fontMetrics().lineSpacing();
    after = crowdedControls(*view);
    view->closeButton()->click();
  });
  runCrossSectionCommand(*program, program->FormPoprzeczka, false);
  EXPECT_EQ(lines, 2) << "the description wraps";
  EXPECT_EQ(before, std::vector<std::string>{});
  EXPECT_EQ(after, std::vector<std::string>{});
}

TEST_F(QtCrossSections, TheDataOnlyFormHidesGenerateAndKeepsTheWidths) {
  QTimer::singleShot(0, view.get(), [&] {
    EXPECT_EQ(view->windowTitle(), "Dane trasy i przekrojów");
    EXPECT_FALSE(view->generateButton()->isVisible());
    EXPECT_EQ(view->closeButton()->text(), "Zamknij");
    view->chooseAlignmentButton()->click();
    view->leftWidthEdit()->clear();
    typeText(view->leftWidthEdit(), "30");
    view->closeButton()->click();
  });
  runCrossSectionCommand(*program, program->FormPoprzeczka, true);
  EXPECT_EQ(program->FormPoprzeczka.stored.leftLimit, -30);
  EXPECT_TRUE(program->FormPoprzeczka.Button1.enabled);
  EXPECT_FALSE(view->isVisible());
}

// The number filter judges typed characters only: moving and deleting keys edit the field, Enter
// presses "Generuj", Esc is the close button.
TEST_F(QtCrossSections, KeysThatTypeNoCharacterWorkInNumberFields) {
  QString edited;
  bool closedByKey = false;
  QTimer::singleShot(0, view.get(), [&] {
    view->chooseAlignmentButton()->click();
    QLineEdit* range = view->rangeEdit();
    range->setFocus();
    range->setText("12.5");
    pressKey(range, Qt::Key_Home);
    pressKey(range, Qt::Key_Delete, QString(QChar(0x7f)));
    pressKey(range, Qt::Key_End);
    pressKey(range, Qt::Key_Backspace, "\b");
    pressKey(range, Qt::Key_Left);
    typeText(range, "x7");  // the letter is swallowed
    edited = range->text();
    pressKey(range, Qt::Key_Return, "\r");
    closedByKey = !view->isVisible();
    if (!closedByKey) view->closeButton()->click();
  });
  runCrossSectionCommand(*program, program->FormPoprzeczka, false);
  EXPECT_TRUE(closedByKey);
  EXPECT_EQ(edited, "27.");
  EXPECT_EQ(program->FormPoprzeczka.stored.sectionRange, 27);
  EXPECT_TRUE(std::filesystem::exists(folder / "wynik.TER"));
  EXPECT_FALSE(view->isVisible());
}

TEST_F(QtCrossSections, EscapeInANumberFieldIsRezygnuj) {
  bool closedByKey = false;
  QTimer::singleShot(0, view.get(), [&] {
    view->chooseAlignmentButton()->click();
    view->leftWidthEdit()->clear();
    typeText(view->leftWidthEdit(), "30");
    pressKey(view->leftWidthEdit(), Qt::Key_Escape, QString(QChar(0x1b)));
    closedByKey = !view->isVisible();
    if (!closedByKey) view->generateButton()->click();
  });
  runCrossSectionCommand(*program, program->FormPoprzeczka, false);
  EXPECT_TRUE(closedByKey);
  EXPECT_EQ(program->FormPoprzeczka.stored.leftLimit, -30);  // kept as "Rezygnuj" keeps it
  EXPECT_FALSE(std::filesystem::exists(folder / "wynik.TER"));
}

// The first showing is centred on the main window (within the frame, known only once shown),
// with the dialog's own size.
TEST_F(QtCrossSections, OpensCentredOnItsOwnerTheFirstTime) {
  QWidget owner;
  owner.setGeometry(40, 30, 700, 600);
  owner.show();
  CrossSectionDialogView dialog(*program, platform, &owner);
  QRect shown;
  QSize size;
  QTimer::singleShot(0, &dialog, [&] {
    shown = dialog.frameGeometry();
    size = dialog.size();
    dialog.closeButton()->click();
  });
  runCrossSectionCommand(*program, program->FormPoprzeczka, false);
  const QPoint offset = shown.center() - owner.frameGeometry().center();
  EXPECT_LE(offset.manhattanLength(), 4) << offset.x() << "," << offset.y();
  EXPECT_EQ(size, dialog.sizeHint());
}

TEST_F(QtCrossSections, ALandXmlFileWithTwoAlignmentsAsksWhichOneInItsOwnWindow) {
  platform.fileDialogHook = [](const FileDialogRequest&,
                               bool) -> std::optional<std::filesystem::path> {
    return std::filesystem::path(MERILON_TEST_DATA) / "alignment" / "prosta_luk.xml";
  };
  QStringList rows;
  QString choiceTitle;
  QTimer::singleShot(0, view.get(), [&] {
    QTimer::singleShot(0, view->alignmentChoice(), [&] {
      AlignmentChoiceView* choice = view->alignmentChoice();
      choiceTitle = choice->windowTitle();
      for (int i = 0; i < choice->list()->count(); ++i) rows << choice->list()->item(i)->text();
      choice->list()->setCurrentRow(1);
      choice->okButton()->click();
    });
    view->chooseAlignmentButton()->click();
    EXPECT_EQ(view->endChainageEdit()->text(), "357.08");
    EXPECT_EQ(view->headerText()->text(), "Prosta i łuk  \"Test\"");
    view->closeButton()->click();
  });
  runCrossSectionCommand(*program, program->FormPoprzeczka, true);
  EXPECT_EQ(choiceTitle, "Wybór trasy");
  EXPECT_EQ(rows, (QStringList{"Łącznica  (długość 50.00)", "Prosta i łuk  (długość 357.08)"}));
  EXPECT_EQ(program->alignment.count, 4);
  EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace merilon::qt
