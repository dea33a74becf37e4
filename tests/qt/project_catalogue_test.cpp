// Opens the real catalogue dialog, walks the tree with the arrow keys and reads the path shown.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>

#include "platform/cp1250.h"
#include "project_catalogue_view.h"
#include "qt_platform.h"
#include "shell/program.h"
#include "support/test_program.h"

namespace merilon::qt {
namespace {

void pressKey(QWidget* widget, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QApplication::sendEvent(widget, &release);
}

// A started program whose program folder holds the catalogue of the given lines.
struct QtProjectCatalogue : ::testing::Test {
  testing::TempFolder folder;
  QtPlatform platform;
  std::unique_ptr<Program> program;
  std::unique_ptr<ProjectCatalogueView> view;

  void start(const std::vector<std::string>& catalogue) {
    testing::writeBytes(folder / "projekty.prj", encodeCp1250(testing::crlf(catalogue)));
    ProgramOptions options;
    options.programFolder = folder.path();
    options.userSettingsFolder = folder.path() / "user";
    program = std::make_unique<Program>(platform, options);
    ASSERT_TRUE(program->start());
    program->main.dataFolder = "/dane/start";
    view = std::make_unique<ProjectCatalogueView>(*program, platform);
  }
};

TEST_F(QtProjectCatalogue, ArrowKeysSelectAProjectAndItsPathIsShown) {
  start({"OBW1,x,Obwodnica,/proj/OBW1", "????????,x,,", "Łąki,x,Osiedle Łąki,"});
  ProjectCatalogueView& view = *this->view;

  std::vector<std::pair<QString, QString>> shown;
  int items = -1;
  bool wasModal = false;
  QTimer::singleShot(0, &view, [&] {
    wasModal = view.isVisible() && view.isModal();
    items = view.tree()->topLevelItem(0) ? view.tree()->topLevelItem(0)->childCount() : -1;
    shown.emplace_back(view.descriptionText()->text(), view.pathText()->text());
    for (int k = 0; k < 3; ++k) {
      pressKey(view.tree(), Qt::Key_Down);
      shown.emplace_back(view.descriptionText()->text(), view.pathText()->text());
    }
    pressKey(view.tree(), Qt::Key_Up);
    shown.emplace_back(view.descriptionText()->text(), view.pathText()->text());
    view.okButton()->click();
  });
  runProjectCommand(program->main);

  EXPECT_TRUE(wasModal);
  EXPECT_EQ(items, 2);
  const QString own = QString::fromStdString((folder.path() / "Łąki" / "").string());
  ASSERT_EQ(shown.size(), 5u);
  EXPECT_EQ(shown[0].second, "/dane/start");
  EXPECT_EQ(shown[1].second, "/dane/start");  // the root is no project
  EXPECT_EQ(shown[2], std::make_pair(QString("Obwodnica"), QString("/proj/OBW1/")));
  EXPECT_EQ(shown[3], std::make_pair(QString("Osiedle Łąki"), own));
  EXPECT_EQ(shown[4].second, "/proj/OBW1/");
  EXPECT_FALSE(view.isVisible());
  EXPECT_EQ(program->main.dataFolder, "/proj/OBW1/");
  EXPECT_EQ(view.tree()->currentItem()->text(0), "OBW1");
}

// Keys the tree handles itself are not undone; Esc is "Rezygnuj"; a new showing starts without
// the description of the project chosen before.
TEST_F(QtProjectCatalogue, PageDownTypeAheadEscapeAndReopening) {
  start({"OBW1,x,Obwodnica,/proj/OBW1", "Łąki,x,Osiedle Łąki,/proj/laki",
         "Rynek,x,Rynek główny,/proj/rynek"});
  ProjectCatalogueView& view = *this->view;

  std::vector<std::pair<QString, QString>> shown;
  auto current = [&] {
    return view.tree()->currentItem() ? view.tree()->currentItem()->text(0) : "";
  };
  QStringList selected;
  QTimer::singleShot(0, &view, [&] {
    pressKey(view.tree(), Qt::Key_Down);
    pressKey(view.tree(), Qt::Key_PageDown);
    selected << current();
    shown.emplace_back(view.descriptionText()->text(), view.pathText()->text());
    QKeyEvent letter(QEvent::KeyPress, 0, Qt::NoModifier, "Ł");
    QApplication::sendEvent(view.tree(), &letter);
    selected << current();
    shown.emplace_back(view.descriptionText()->text(), view.pathText()->text());
    pressKey(view.tree(), Qt::Key_Escape);
  });
  runProjectCommand(program->main);
  EXPECT_EQ(selected, (QStringList{"Rynek", "Łąki"}));
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], std::make_pair(QString("Rynek główny"), QString("/proj/rynek/")));
  EXPECT_EQ(shown[1], std::make_pair(QString("Osiedle Łąki"), QString("/proj/laki/")));
  EXPECT_FALSE(view.isVisible());
  EXPECT_EQ(program->main.dataFolder, "/dane/start");

  QString again;
  QTimer::singleShot(0, &view, [&] {
    again = view.descriptionText()->text();
    view.okButton()->click();
  });
  runProjectCommand(program->main);
  EXPECT_EQ(again, "");
}

}  // namespace
}  // namespace merilon::qt
