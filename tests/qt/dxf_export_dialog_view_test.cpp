// The real DXF export dialog: shown by "Generuj DXF3D" without blocking, its boxes and fields
// mirrored both ways, "Dalej" closing it and writing the drawing, settings kept for next time.
#include "dxf_export_dialog_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

#include "dxf/dxf_export.h"
#include "qt_platform.h"
#include "shell/program.h"
#include "support/test_program.h"

namespace merilon::qt {
namespace {

TEST(QtDxfExport, DalejWritesTheDrawingAndTheDialogKeepsItsSettings) {
  testing::TempFolder folder;
  ProgramOptions options;
  options.programFolder = folder.path();
  options.userSettingsFolder = folder.path() / "user";
  QtPlatform platform;
  Program program(platform, options);
  ASSERT_TRUE(program.start());
  std::vector<std::string> messages;
  platform.messageHook = [&](const MessageRequest& r) {
    messages.push_back(r.title + ": " + r.text);
    return DialogResult::Ok;
  };
  platform.fileDialogHook = [&](const FileDialogRequest&, bool) {
    return std::optional<std::filesystem::path>(folder / "rys.txt");
  };
  DxfExportDialogView view(program, platform);

  program.main.Button7Click();
  EXPECT_EQ(messages,
            std::vector<std::string>{"Generowanie rysunku DXF: Nie wczytano punktów !!!"});
  EXPECT_FALSE(view.isVisible());
  ASSERT_TRUE(program.points.reservePoint());
  program.points.setPoint(1, 10, 20, 30, PointName::fromText("Ćma"), 0);

  program.main.Button7Click();
  ASSERT_TRUE(view.isVisible());  // not modal: the call returned with the dialog open
  EXPECT_EQ(view.windowTitle(), "Dane rysunku DXF 3D");
  EXPECT_EQ(view.pointsBox()->text(), "Punkty");
  EXPECT_EQ(view.heightsBox()->text(), "Rzędne");
  EXPECT_EQ(view.labelHeightEdit()->text(), "0.50");
  EXPECT_EQ(view.chainageLabelHeightEdit()->text(), "1.00");
  view.symbolsBox()->setChecked(true);
  // The number filter swallows letters.
  view.labelHeightEdit()->clear();
  for (QChar ch : QString("1x.5")) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(view.labelHeightEdit(), &press);
  }
  EXPECT_EQ(program.FormDXF.Edit1.text, "1.5");
  EXPECT_TRUE(program.FormDXF.CheckBox3.checked);
  view.nextButton()->click();
  EXPECT_FALSE(view.isVisible());
  const std::string bytes = testing::readBytes(folder / "rys.dxf");
  EXPECT_NE(
      bytes.find("SYMBOLE\r\n 6\r\nCONTINUOUS\r\n  62\r\n6\r\n 10\r\n10.00\r\n 20\r\n21.58\r\n"
                 " 30\r\n30.300\r\n 40\r\n1.500\r\n 1\r\n\xc6ma\r\n"),
      std::string::npos);
  // Shown again, it still holds what the user chose.
  program.main.Button7Click();
  EXPECT_TRUE(view.symbolsBox()->isChecked());
  EXPECT_EQ(view.labelHeightEdit()->text(), "1.5");
  view.cancelButton()->click();
  EXPECT_FALSE(view.isVisible());
}

}  // namespace
}  // namespace merilon::qt
