#include "shell/project_catalogue.h"

#include "platform/cp1250.h"
#include "platform/number_text.h"
#include "platform/text_file.h"
#include "points/numeric_helpers.h"
#include "points/record_parser.h"
#include "shell/main_window.h"
#include "shell/program.h"

namespace merilon {

TFormProjekty::TFormProjekty(Program& program) : program_(program) {
  Caption = "Projekty";
  Label1.caption = "Opis wybranego projektu";
  Label3.caption = "Ścieżka dostępu";
  Button1.caption = "OK";
  Button2.caption = "Rezygnuj";
}

void TFormProjekty::FormActivate() {
  // "Rezygnuj" goes back to the folder of this showing, even when there is no catalogue.
  savedDataFolder = program_.main.dataFolder;
  Label4.caption = program_.main.dataFolder.string();
  const auto file = program_.folders.forReading(kCatalogueFile);
  std::vector<std::string> lines;
  std::string error;
  // Without a readable catalogue the dialog shows what it showed before.
  if (!fileExists(file) || !readCp1250Lines(file, lines, error)) return;
  catalogueLines = std::move(lines);
  // The reloaded tree has no selection, so no project's description is shown.
  Label2.caption.clear();
  RecordParser& parser = program_.parser;
  parser.fieldSeparator = ",";
  TreeView1.clear();
  TreeView1.Items.push_back("Dostępne projekty");
  for (const auto& line : catalogueLines) {
    parser.recordLine = line;
    // A blank line names no project.
    if (!parser.splitRecord() || trimBlanks(line).empty()) continue;
    const std::string name(parser.textField(1));
    if (name != kPlaceholderProject) TreeView1.Items.push_back(name);
  }
  TreeView1.expanded = true;
}

void TFormProjekty::TreeView1Click() {
  if (TreeView1.selected < 0 || TreeView1.selected >= static_cast<int>(TreeView1.Items.size())) {
    return;
  }
  const std::string name(trimBlanks(TreeView1.Items[static_cast<std::size_t>(TreeView1.selected)]));
  RecordParser& parser = program_.parser;
  parser.fieldSeparator = ",";
  for (const auto& line : catalogueLines) {
    parser.recordLine = line;
    parser.splitRecord();
    if (trimBlanks(parser.textField(1)) != name) continue;
    Label2.caption = std::string(parser.textField(3));
    const std::string folder(parser.textField(4));
    TFORM_Main& main = program_.main;
    // The trailing separator of the platform marks a folder.
    if (utf8Length(folder) > 1) {
      main.dataFolder = std::filesystem::path(std::string(trimBlanks(folder))) / "";
    } else {
      main.dataFolder = main.programFolder / name / "";
    }
    Label4.caption = main.dataFolder.string();
    return;
  }
}

void TFormProjekty::TreeView1KeyDown(TreeKey key) {
  const int last = static_cast<int>(TreeView1.Items.size()) - 1;
  if (last < 0) return;
  int& s = TreeView1.selected;
  switch (key) {
    case TreeKey::Up:
      s = s < 0 ? 0 : std::max(0, s - 1);
      break;
    case TreeKey::Down:
      s = s < 0 ? 0 : std::min(last, s + 1);
      break;
    case TreeKey::Home:
      s = 0;
      break;
    case TreeKey::End:
      s = last;
      break;
    case TreeKey::Other:
      break;
  }
  TreeView1Click();
}

void TFormProjekty::TreeView1DblClick() { Button1Click(); }

void TFormProjekty::Button1Click() { program_.platform.closeForm(*this); }

void TFormProjekty::Button2Click() {
  program_.main.dataFolder = savedDataFolder;
  program_.platform.closeForm(*this);
}

void runProjectCommand(TFORM_Main& main) {
  CommandGuard guard(main);
  Program& program = main.program();
  program.FormProjekty.FormActivate();
  program.platform.showModal(program.FormProjekty);
}

}  // namespace merilon
