// Where the program's own files (merilon.knf, the DXF support texts, the description, the
// project catalogue) are found, given the folder of the running executable.
#pragma once

#include <filesystem>

namespace merilon {

struct ProgramFolder {
  std::filesystem::path path;
  // The folder belongs to an installed package (<prefix>/share/merilon): the program reads its
  // files but writes its settings into the user's folder, even where it could write there (as
  // root), so that removing the package leaves nothing behind.
  bool installed = false;
};

// The executable's folder when the program files sit beside it (a build tree, a copied folder);
// otherwise, for a program installed as <prefix>/bin/merilon, <prefix>/share/merilon when that
// folder exists; otherwise the executable's folder.
ProgramFolder findProgramFolder(const std::filesystem::path& executableFolder);

}  // namespace merilon
