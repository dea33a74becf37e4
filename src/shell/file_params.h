// MERI_PARAM.knf: the record structure, layer codes and thicknesses last used with each data
// file, one line of 19 fields per file, keyed by the file's full name in upper case.
#pragma once

#include <filesystem>
#include <string>

namespace merilon {

class RecordParser;

// The texts of the main window's record-structure group, as typed.
struct FileParams {
  std::string positionX, positionY, positionZ, positionSymbol, positionType;
  std::string separator;
  std::string axisCode, pavement1Code, pavement2Code, humus1Code, humus2Code;
  std::string pavement1Thickness, pavement2Thickness, humus1Thickness, humus2Thickness;
};

// Which part of the parameters a file name restores, by its extension.
enum class RestoredParams { None, RecordStructure, CodesAndThicknesses };
RestoredParams restoredParamsFor(const std::string& fileName);

// Replaces the first line for the file (or appends one) and rewrites the whole file. False, with
// the system's reason, when it could not be written.
bool saveFileParams(RecordParser& parser, const std::filesystem::path& readFile,
                    const std::filesystem::path& writeFile, const std::string& fileName,
                    const FileParams& params, std::string& error);

// Restores into `params` what the file's extension selects; false when nothing was found.
bool loadFileParams(RecordParser& parser, const std::filesystem::path& file,
                    const std::string& fileName, FileParams& params);

}  // namespace merilon
