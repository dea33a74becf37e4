// The two support texts that complete the export's file around the writer's blocks:
// "NMT_d1.bin" goes on with the HEADER after $LIMMAX (code page, end of the section, the TABLES
// section up to the LAYER table) and "NMT_d2.bin" closes the LAYER table and the TABLES section.
// They are plain DXF lines in the program folder, so a CAD office can adapt them; the same texts
// are built in and used when a file is missing or unreadable.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace merilon {

const std::vector<std::string>& builtInSupportText(const std::string& name);

// The lines (code page 1250 bytes) of the support text `name` from the program folder, or the
// built-in text.
std::vector<std::string> loadSupportText(const std::filesystem::path& programFolder,
                                         const std::string& name);

}  // namespace merilon
