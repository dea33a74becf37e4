// Road axes from LandXML files written by other design systems: the list of <Alignment>s a file
// holds, and one alignment's <CoordGeom> (lines, arcs and clothoids) turned into the main-point
// records an alignment file gives. Coordinates are read northing first, as LandXML writes them.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "alignment/alignment.h"

namespace merilon {

// True when the text is an XML document whose root element is LandXML (with or without a
// namespace prefix), whatever the file is called.
bool looksLikeLandXml(std::string_view text);
bool looksLikeLandXmlFile(const std::filesystem::path& path);
// Whether "Wybierz trasę" reads the file as LandXML: by its content, and any file named *.xml
// (which then, if it is something else, is refused as not LandXML rather than read as columns).
bool readAsLandXml(const std::filesystem::path& path);

struct LandXmlAlignmentEntry {
  std::string name;
  std::string description;
  double length = 0;  // the file's own length, else the sum of its elements
  int line = 0;       // of the <Alignment> element
};

class LandXmlFile {
 public:
  LandXmlFile();
  ~LandXmlFile();
  LandXmlFile(const LandXmlFile&) = delete;
  LandXmlFile& operator=(const LandXmlFile&) = delete;

  // Parses the whole file and lists its alignments. False with a message when the file cannot
  // be read, is not well-formed XML or holds no alignment.
  bool load(const std::filesystem::path& path, std::string& error);
  bool loadText(std::string text, std::string& error);

  const std::vector<LandXmlAlignmentEntry>& alignments() const { return entries_; }
  // The text lines of the file (for the work text).
  std::vector<std::string> lines() const;

  // The main points of alignment `index`: one record per element and one at the end. The first
  // chainage is the alignment's staStart; station equations change nothing. False with a message
  // naming the line of the element at fault when an element is not a line, an arc or a clothoid
  // the model can carry, lacks what it needs, or does not meet its neighbour within 1 mm and
  // 0.001 rad.
  bool records(std::size_t index, std::vector<AlignmentRecord>& out, std::string& error) const;

  // The parsed document with the file's text (for the line numbers of its elements).
  struct Document;

 private:
  std::unique_ptr<Document> doc_;
  std::vector<LandXmlAlignmentEntry> entries_;
};

// Stores alignment `index` of `file` (read from `path`) in `alignment`: records, extent, header
// text (name and description) and file name. The alignment stays as it was when the geometry is
// refused (Ok is not returned then; `error` says why).
AlignmentReadStatus storeLandXmlAlignment(const LandXmlFile& file, std::size_t index,
                                          const std::filesystem::path& path, Alignment& alignment,
                                          Platform& platform, std::string& error);

// Index of the alignment named `name` (compared exactly); -1 when there is none.
int findLandXmlAlignment(const LandXmlFile& file, std::string_view name);

// Largest gap (metres) and kink (radians) allowed between neighbouring elements.
inline constexpr double kLandXmlGapLimit = 0.001;
inline constexpr double kLandXmlKinkLimit = 0.001;

}  // namespace merilon
