// The project catalogue (TFormProjekty, "Projekt"): the projects of the road-design system VORDA
// listed in projekty.prj, shown as a tree. Picking one only sets the folder where the file
// dialogs start (`dataFolder` of the main window); nothing is opened.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/platform.h"

namespace merilon {

class Program;
class TFORM_Main;

inline constexpr const char* kCatalogueFile = "projekty.prj";
inline constexpr const char* kPlaceholderProject = "????????";

// A read-only tree of one root with its children. `Items[0]` is the root, `Items[k]` (k ≥ 1) its
// k-th child; `selected` is an index into `Items`, -1 when nothing is selected.
struct TreeView : Control {
  std::vector<std::string> Items;
  int selected = -1;
  bool expanded = false;
  std::uint64_t revision = 0;  // bumped when the items change

  void clear() {
    Items.clear();
    selected = -1;
    expanded = false;
    ++revision;
  }
};

// Keys the tree moves its selection with.
enum class TreeKey { Up, Down, Home, End, Other };

class TFormProjekty : public Form {
 public:
  explicit TFormProjekty(Program& program);

  TreeView TreeView1;
  Label Label1;    // "Opis wybranego projektu"
  Label Label2;    // the description of the selected project (bold)
  Label Label3;    // "Ścieżka dostępu"
  Label Label4;    // the path (bold, right-aligned, wrapping)
  Button Button1;  // "OK"
  Button Button2;  // "Rezygnuj"
  // The catalogue file's lines (a hidden list).
  std::vector<std::string> catalogueLines;
  // `dataFolder` when the catalogue was last loaded; "Rezygnuj" restores it.
  std::filesystem::path savedDataFolder;

  // (Re)loads the catalogue; run each time the dialog is shown.
  void FormActivate();
  // Shows the selected project and makes its folder the data folder.
  void TreeView1Click();
  // Moves the selection by the key and shows the project; also run when the key is released.
  void TreeView1KeyDown(TreeKey key);
  void TreeView1DblClick();
  void Button1Click();  // "OK"
  void Button2Click();  // "Rezygnuj"

 private:
  Program& program_;
};

// "Projekt": the catalogue shown modally while the commands are disabled.
void runProjectCommand(TFORM_Main& main);

}  // namespace merilon
