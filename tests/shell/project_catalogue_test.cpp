// The project catalogue: which lines become tree items, the folder a selection sets, the arrow
// keys, "OK" and "Rezygnuj", and the command that shows the dialog.
#include "shell/project_catalogue.h"

#include <gtest/gtest.h>

#include "platform/cp1250.h"
#include "support/test_program.h"

namespace merilon {
namespace {

using testing::crlf;
using testing::TestProgram;
using testing::writeBytes;

struct Catalogue : TestProgram {
  TFormProjekty& form() { return program->FormProjekty; }
  void write(const std::vector<std::string>& lines) {
    writeBytes(folder / "projekty.prj", encodeCp1250(crlf(lines)));
  }
  // Shows the dialog and lets the test act in it.
  void show(const std::function<void(TFormProjekty&)>& act) {
    platform.onModal = [&](Form&) { act(form()); };
    runProjectCommand(main());
  }
};

TEST(ProjectCatalogue, PlaceholdersAreHiddenAndSelectionSetsTheDataFolder) {
  Catalogue c;
  c.write({"OBW1,x,Obwodnica,/proj/OBW1", "????????,x,,", " Łąki ,x,Osiedle Łąki,", "", "????????",
           "W2,x,Wiadukt,-", "DK7,x,Droga krajowa, /proj/dk7/ "});
  c.show([&](TFormProjekty& f) {
    EXPECT_FALSE(c.main().Button1.enabled);  // the commands are disabled meanwhile
    EXPECT_EQ(f.TreeView1.Items,
              (std::vector<std::string>{"Dostępne projekty", "OBW1", " Łąki ", "W2", "DK7"}));
    EXPECT_TRUE(f.TreeView1.expanded);
    f.TreeView1.selected = 1;
    f.TreeView1Click();
    EXPECT_EQ(f.Label2.caption, "Obwodnica");
    EXPECT_EQ(c.main().dataFolder, "/proj/OBW1/");
    EXPECT_EQ(f.Label4.caption, "/proj/OBW1/");
    // No folder, or one character: the program folder + the name (blanks trimmed).
    f.TreeView1.selected = 2;
    f.TreeView1Click();
    EXPECT_EQ(f.Label2.caption, "Osiedle Łąki");
    EXPECT_EQ(c.main().dataFolder, c.folder.path() / "Łąki" / "");
    f.TreeView1.selected = 3;
    f.TreeView1Click();
    EXPECT_EQ(c.main().dataFolder, c.folder.path() / "W2" / "");
    f.TreeView1.selected = 4;
    f.TreeView1Click();
    EXPECT_EQ(c.main().dataFolder, "/proj/dk7/");
    // The root is no project: nothing changes.
    f.TreeView1.selected = 0;
    f.TreeView1Click();
    EXPECT_EQ(f.Label2.caption, "Droga krajowa");
    f.Button1Click();
  });
  EXPECT_EQ(c.main().dataFolder, "/proj/dk7/");
  EXPECT_TRUE(c.main().Button1.enabled);
}

TEST(ProjectCatalogue, ArrowKeysWalkTheTreeAndRezygnujRestoresTheFolder) {
  Catalogue c;
  c.write({"A,x,Pierwszy,/p/a", "B,x,Drugi,/p/b"});
  const auto before = c.main().dataFolder;
  std::vector<std::string> paths;
  c.show([&](TFormProjekty& f) {
    EXPECT_EQ(f.Label4.caption, before.string());
    for (TreeKey k :
         {TreeKey::Down, TreeKey::Down, TreeKey::Down, TreeKey::Down, TreeKey::Up, TreeKey::Home}) {
      f.TreeView1KeyDown(k);
      paths.push_back(f.Label2.caption + " " + f.Label4.caption);
    }
    f.Button2Click();
  });
  // Root first (nothing shown yet), then A, B, B at the end, A again; Home goes to the root.
  EXPECT_EQ(paths, (std::vector<std::string>{" " + before.string(), "Pierwszy /p/a/", "Drugi /p/b/",
                                             "Drugi /p/b/", "Pierwszy /p/a/", "Pierwszy /p/a/"}));
  EXPECT_EQ(c.main().dataFolder, before);

  // Each showing reads the catalogue again; a double click acts as "OK".
  c.write({"C,x,Trzeci,/p/c"});
  c.show([&](TFormProjekty& f) {
    EXPECT_EQ(f.TreeView1.Items.size(), 2u);
    f.TreeView1KeyDown(TreeKey::End);
    f.TreeView1DblClick();
    EXPECT_FALSE(f.visible);
  });
  EXPECT_EQ(c.main().dataFolder, "/p/c/");
}

TEST(ProjectCatalogue, WithoutACatalogueRezygnujKeepsTheFolderOfTheShowing) {
  Catalogue c;
  c.main().dataFolder = "/dane/pomiary";
  c.show([&](TFormProjekty& f) {
    EXPECT_TRUE(f.TreeView1.Items.empty());
    f.TreeView1KeyDown(TreeKey::Down);
    f.Button2Click();
  });
  EXPECT_EQ(c.main().dataFolder, "/dane/pomiary");
}

TEST(ProjectCatalogue, TheShippedExampleLoads) {
  Catalogue c;
  std::filesystem::copy_file(std::filesystem::path(MERILON_SOURCE_DIR) / "data" / "projekty.prj",
                             c.folder / "projekty.prj");
  c.show([&](TFormProjekty& f) {
    ASSERT_EQ(f.TreeView1.Items.size(), 5u);
    EXPECT_EQ(f.TreeView1.Items[3], "ŁĄCZNIK");
    f.TreeView1.selected = 3;
    f.TreeView1Click();
    EXPECT_EQ(f.Label2.caption, "Łącznik z węzłem Północ");
  });
}

}  // namespace
}  // namespace merilon
