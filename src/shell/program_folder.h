// Where the program's own files (merilon.knf, the DXF support texts, the description, the
// project catalogue) are found, given the folder of the running executable.
#pragma once

#include <filesystem>

namespace merilon {

// The executable's folder when the program files sit beside it (a build tree, a copied folder);
// otherwise, for a program installed as <prefix>/bin/merilon, <prefix>/share/merilon when that
// folder exists; otherwise the executable's folder.
std::filesystem::path findProgramFolder(const std::filesystem::path& executableFolder);

// A folder <prefix>/share/merilon beside <prefix>/bin is an installed package's: the program
// reads its files but writes its settings into the user's folder, even where it could write
// there (as root), so that removing the package leaves nothing behind.
bool isInstalledProgramFolder(const std::filesystem::path& folder);

}  // namespace merilon
