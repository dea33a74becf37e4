// The real cross-section viewer: opened by the drawing window's "Wyswietl profil lub poprzeczki
// terenu" on a .TER file when the road-design program is missing, stepped through with its
// buttons and drop-down; the points it paints must lie where the section's offsets and heights
// put them.
#include "section_viewer_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <algorithm>

#include "alignment/section_viewer.h"
#include "drawing_window_view.h"
#include "qt_platform.h"
#include "shell/program.h"
#include "support/test_program.h"

namespace merilon::qt {
namespace {

// The box of the pixels of one colour; empty (left > right) when there are none.
QRect colourBox(const QImage& image, QRgb colour) {
  int x0 = image.width(), y0 = image.height(), x1 = -1, y1 = -1;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != colour) continue;
      x0 = std::min(x0, x);
      x1 = std::max(x1, x);
      y0 = std::min(y0, y);
      y1 = std::max(y1, y);
    }
  }
  return QRect(QPoint(x0, y0), QPoint(x1, y1));
}

TEST(QtSectionViewer, ShowsEachSectionOfTheFileWhereItsOffsetsAndHeightsLie) {
  testing::TempFolder folder;
  ProgramOptions options;
  options.programFolder = folder.path();
  options.userSettingsFolder = folder.path() / "user";
  QtPlatform platform;
  Program program(platform, options);
  ASSERT_TRUE(program.start());
  platform.messageHook = [](const MessageRequest& r) -> DialogResult {
    ADD_FAILURE() << r.text;
    return DialogResult::Ok;
  };
  DrawingWindowView drawing(program, platform);
  SectionViewerView view(program, platform);
  const std::filesystem::path ter = folder / "teren.TER";
  testing::writeBytes(ter, testing::crlf({"\"&IBMVORDPOW\",\"\"",
                                          "Teren z Merilonu,0,10.00,30.00,2",
                                          "10.00,9",
                                          "-12.00",
                                          "101.00",
                                          "0.00",
                                          "\"\"",
                                          "0.00",
                                          "100.00",
                                          "-0.50",
                                          "\"\"",
                                          "8.00",
                                          "99.00",
                                          "-9999999.00",
                                          "\"\"",
                                          "20.00,6",
                                          "-4.00",
                                          "100.00",
                                          "0.30",
                                          "\"\"",
                                          "4.00",
                                          "100.40",
                                          "-9999999.00",
                                          "\"\"",
                                          "30.00,6",
                                          "2.00",
                                          "98.00",
                                          "0.00",
                                          "\"\"",
                                          "30.00",
                                          "99.00",
                                          "-9999999.00",
                                          "\"\""}));
  program.FormPoprzeczka.lastTerFileName = ter.string();
  drawing.toolButton(26)->click();
  ASSERT_TRUE(view.isVisible());
  EXPECT_EQ(view.windowTitle(), "Przekroje poprzeczne terenu");
  EXPECT_FALSE(view.previousButton()->isEnabled());
  EXPECT_EQ(view.chainages()->count(), 3);
  EXPECT_EQ(view.chainages()->currentText(), "10.00") << "the shown section's chainage";
  EXPECT_EQ(view.model().ComboBox1.text, "10.00");

  const struct {
    double o0, o1, zLow, zHigh;
  } expected[] = {{-12, 8, 99, 101}, {-4, 4, 100, 100.4}, {2, 30, 98, 99}};
  for (bool exaggerated : {false, true}) {
    if (exaggerated) {
      view.exaggeratedButton()->click();
      EXPECT_TRUE(view.factors()->isEnabled());
      view.factors()->setEditText("5");
    }
    for (int s = 0; s < 3; ++s) {
      if (s == 0) {
        // The drop-down chooses the first section again.
        view.chainages()->setCurrentIndex(0);
        emit view.chainages()->activated(0);
      } else {
        view.nextButton()->click();
      }
      QApplication::processEvents();
      ASSERT_EQ(view.model().current(), s);
      EXPECT_EQ(view.chainages()->currentText(), view.chainages()->itemText(s));
      const SectionPictureGeometry& g = view.model().lastGeometry();
      EXPECT_DOUBLE_EQ(g.pixelsPerMetreY, g.pixelsPerMetreX * (exaggerated ? 5 : 1));
      // The point markers' outlines (olive, 4 pixels from x-2 to x+1) bound the drawn section.
      const QImage image = view.surface()->canvas().image();
      const QRect box = colourBox(image, qRgb(128, 128, 0));
      const auto& e = expected[s];
      EXPECT_NEAR(box.left() + 2, g.x(e.o0), 0.5) << s;
      EXPECT_NEAR(box.right() - 1, g.x(e.o1), 0.5) << s;
      EXPECT_NEAR(box.top() + 2, g.y(e.zHigh), 0.5) << s;
      EXPECT_NEAR(box.bottom() - 1, g.y(e.zLow), 0.5) << s;
      EXPECT_NEAR((box.width() - 4) / g.pixelsPerMetreX, e.o1 - e.o0, 1 / g.pixelsPerMetreX);
      EXPECT_NEAR((box.height() - 4) / g.pixelsPerMetreY, e.zHigh - e.zLow, 1 / g.pixelsPerMetreY);
      EXPECT_GE(box.left(), g.plotLeft);
      EXPECT_LE(box.right(), g.plotRight);
    }
    EXPECT_FALSE(view.nextButton()->isEnabled()) << "the last section";
    EXPECT_TRUE(view.previousButton()->isEnabled());
  }
  // Tab goes through the controls in the order they stand in.
  std::vector<QWidget*> tabOrder;
  QWidget* w = view.surface();
  do {
    if (w->parentWidget() == &view && (w->focusPolicy() & Qt::TabFocus)) tabOrder.push_back(w);
    w = w->nextInFocusChain();
  } while (w != view.surface());
  EXPECT_EQ(tabOrder,
            (std::vector<QWidget*>{view.surface(), view.previousButton(), view.chainages(),
                                   view.nextButton(), view.equalButton(), view.exaggeratedButton(),
                                   view.factors(), view.printButton(), view.closeButton()}));
  // The surface follows the window's size.
  view.resize(1200, 700);
  QApplication::processEvents();
  EXPECT_EQ(view.surface()->canvas().width(), view.surface()->width());
  EXPECT_LE(view.model().lastGeometry().plotRight, view.surface()->width());
}

}  // namespace
}  // namespace merilon::qt
