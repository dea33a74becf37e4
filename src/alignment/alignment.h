// The road axis ("trasa") or junction ramp ("łącznica") read from an alignment file (.TRS, .TRW):
// its main points as parallel arrays indexed 1..count, their extent, and the walk cache that the
// geometry in alignment_geometry.h keeps between calls.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/platform.h"

namespace merilon {

class Program;
class RecordParser;
class TFormWyborTrasy;

// One main point: it opens the geometric element that runs to the next record.
struct AlignmentRecord {
  double chainage = 0;  // along the axis
  double x = 0;         // X(E): grows with the sine of the azimuth
  double y = 0;         // Y(N): grows with the cosine of the azimuth
  double azimuth = 0;   // radians from +Y towards +X
  double radius = 0;    // signed: positive when the azimuth grows with chainage; 0 straight
  double clothoidParameter = 0;  // A of a clothoid starting here; 0 for none
};

enum class ElementKind { Straight, Arc, Clothoid };

// The element kind decided from the record that opens it.
inline ElementKind elementKind(double radius, double clothoidParameter) {
  if (clothoidParameter != 0) return ElementKind::Clothoid;
  if (radius > 0.0002 || radius < -0.0002) return ElementKind::Arc;
  return ElementKind::Straight;
}

// What every call inside one element shares, computed once per element when the alignment is
// first used after a change: the sine and cosine of the element's azimuth, and for a clothoid the
// origin of its spiral (the point of zero curvature) with its azimuth.
struct ElementGeometry {
  ElementKind kind = ElementKind::Straight;
  double startSin = 0, startCos = 1;
  double originX = 0, originY = 0, originChainage = 0, originAzimuth = 0;
  double originSin = 0, originCos = 1;
  double lengthSign = 1;   // sign of A
  double angleFactor = 0;  // ±1 / 2A², signed as the record's radius
};

// Where the last point-at-chainage call ended, so that calls with slowly changing chainage need
// no search.
struct AlignmentWalk {
  int element = 1;     // current element i: it runs from record i to record i + 1
  int nextRecord = 2;  // i + 1
};

class Alignment {
 public:
  static constexpr int kGrowthStep = 5000;

  // Records 1..count; index 0 holds nothing.
  std::vector<double> chainage, x, y, azimuth, radius, clothoidParameter;
  int first = 1;
  int count = 0;

  // Extent of the main points.
  double minX = 99999999, minY = 99999999, maxX = -99999999, maxY = -99999999;

  bool loaded = false;
  std::string headerText;  // as shown in the dialog
  std::string fileName;

  AlignmentWalk walk;
  // Element data for elements 1..count-1; rebuilt when `elementsValid` is false.
  std::vector<ElementGeometry> elements;
  bool elementsValid = false;

  // Room for records 1..capacity().
  int capacity() const { return capacity_; }

  // Start-up: room for 5000 records.
  bool initialise(Platform& platform);
  // Adds 5000 records of room to every array, all or none; on failure shows
  // "Brak pamięci dla punktów trasy" with the capacity asked for.
  bool growAlignmentStorage(Platform& platform);

  void resetExtent();
  // Puts the walk back at the first element.
  void resetWalk();

  // Replaces the records (growing as needed) and updates the extent; for programs that build an
  // alignment rather than read it. False when the storage could not grow.
  bool setRecords(Platform& platform, const std::vector<AlignmentRecord>& records);
  AlignmentRecord record(int i) const;
  // Stores record k (within the capacity), widens the extent by it and makes it the last.
  void storeRecord(int k, const AlignmentRecord& r);

  // To be called after the record arrays were changed directly: resets the walk and notes
  // whether the chainages run in order (the walk may start from its cached element only then).
  void recordsChanged();
  bool chainagesInOrder() const { return inOrder_; }

  // Testing seam: growth beyond this capacity fails as if memory ran out (0: no limit).
  int capacityLimitForTesting = 0;

 private:
  void resizeAll(std::size_t n);
  int capacity_ = 0;
  bool inOrder_ = true;
};

enum class AlignmentReadStatus { Ok, CannotRead, OutOfMemory };

// Reads an alignment file: its lines go to `lines`, the records, extent and header text to
// `alignment`. The parser's separator becomes "," and stays so. Records that the file announces
// but does not hold are not made up: the count stops at the last line present.
AlignmentReadStatus readAlignmentFile(const std::filesystem::path& path, RecordParser& parser,
                                      Alignment& alignment, Platform& platform,
                                      std::vector<std::string>& lines, std::string& error);

// The dialog fields that loading an alignment fills.
struct AlignmentFields {
  Edit& startChainage;
  Edit& endChainage;
  Label& description;
  Label& descriptionTitle;
  // Asks which alignment to take from a LandXML file that holds several; none: the first.
  TFormWyborTrasy* alignmentChoice = nullptr;
};

// "Wybierz trasę": asks for the file (an alignment file or LandXML, told apart by content), reads
// it into `alignment` (its lines into `workText`) and fills the fields. False when the user
// cancelled or the file could not be read.
bool loadAlignment(Program& program, Alignment& alignment, AlignmentFields fields,
                   std::vector<std::string>& workText);

}  // namespace merilon
