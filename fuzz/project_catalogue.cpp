// projekty.prj: the "Projekt" dialog loads any catalogue, and clicking and moving through every
// item picks a folder without leaving the tree.
#include "shell/project_catalogue.h"

#include "fuzz_program.h"

using namespace merilon;
using namespace merilon::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzProgram& p = sharedProgram();
  TFormProjekty& form = p.program->FormProjekty;
  p.folder.put(kCatalogueFile, asText(data, size));
  form.FormActivate();
  const int items = static_cast<int>(form.TreeView1.Items.size());
  for (int k = 0; k < items && k < 64; ++k) {
    form.TreeView1.selected = k;
    form.TreeView1Click();
  }
  for (TreeKey key : {TreeKey::End, TreeKey::Down, TreeKey::Up, TreeKey::Home, TreeKey::Other}) {
    form.TreeView1KeyDown(key);
    if (form.TreeView1.selected >= items) propertyFailed("selection beyond the tree");
  }
  form.TreeView1DblClick();
  form.Button2Click();
  return 0;
}
