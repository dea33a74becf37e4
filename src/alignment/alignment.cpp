#include "alignment/alignment.h"

#include <new>

#include "alignment/alignment_choice_dialog.h"
#include "alignment/landxml_alignment.h"
#include "platform/number_text.h"
#include "platform/text_file.h"
#include "points/no_value.h"
#include "points/numeric_helpers.h"
#include "points/record_parser.h"
#include "points/storage_growth.h"
#include "shell/program.h"

namespace merilon {
namespace {

// A header text without blanks around it and without double quotes of its own around it.
std::string headerField(std::string_view text) {
  text = trimBlanks(text);
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    text = text.substr(1, text.size() - 2);
  }
  return std::string(text);
}

}  // namespace

void Alignment::resizeAll(std::size_t n) {
  growTo(chainage, n);
  growTo(x, n);
  growTo(y, n);
  growTo(azimuth, n);
  growTo(radius, n);
  growTo(clothoidParameter, n);
}

bool Alignment::initialise(Platform& platform) {
  capacity_ = 0;
  count = 0;
  loaded = false;
  resetExtent();
  resetWalk();
  return growAlignmentStorage(platform);
}

bool Alignment::growAlignmentStorage(Platform& platform) {
  const int newCapacity = capacity_ + kGrowthStep;
  if (!growAllOrNothing(
          platform, [this](std::size_t n) { resizeAll(n); }, chainage.size(),
          static_cast<std::size_t>(newCapacity) + 1, newCapacity, capacityLimitForTesting,
          "Brak pamięci dla punktów trasy")) {
    return false;
  }
  capacity_ = newCapacity;
  return true;
}

void Alignment::resetExtent() {
  minX = 99999999;
  minY = 99999999;
  maxX = -99999999;
  maxY = -99999999;
}

void Alignment::resetWalk() {
  walk.element = first;
  walk.nextRecord = first + 1;
}

void Alignment::recordsChanged() {
  inOrder_ = true;
  for (int i = first; i < count; ++i) {
    if (!(chainage[static_cast<std::size_t>(i)] <= chainage[static_cast<std::size_t>(i) + 1])) {
      inOrder_ = false;
      break;
    }
  }
  elementsValid = false;
  resetWalk();
}

bool Alignment::setRecords(Platform& platform, const std::vector<AlignmentRecord>& records) {
  resetExtent();
  count = 0;
  int k = 0;
  for (const auto& r : records) {
    ++k;
    if (k >= capacity_ && !growAlignmentStorage(platform)) {
      recordsChanged();
      return false;
    }
    storeRecord(k, r);
  }
  first = 1;
  recordsChanged();
  return true;
}

void Alignment::storeRecord(int k, const AlignmentRecord& r) {
  const auto i = static_cast<std::size_t>(k);
  chainage[i] = r.chainage;
  x[i] = r.x;
  y[i] = r.y;
  azimuth[i] = r.azimuth;
  radius[i] = r.radius;
  clothoidParameter[i] = r.clothoidParameter;
  if (r.x < minX) minX = r.x;
  if (r.x > maxX) maxX = r.x;
  if (r.y < minY) minY = r.y;
  if (r.y > maxY) maxY = r.y;
  count = k;
}

AlignmentRecord Alignment::record(int i) const {
  const auto k = static_cast<std::size_t>(i);
  return {chainage[k], x[k], y[k], azimuth[k], radius[k], clothoidParameter[k]};
}

AlignmentReadStatus readAlignmentFile(const std::filesystem::path& path, RecordParser& parser,
                                      Alignment& alignment, Platform& platform,
                                      std::vector<std::string>& lines, std::string& error) {
  // A file that cannot be read leaves the alignment and the caller's lines as they were.
  std::vector<std::string> read;
  if (!readCp1250Lines(path, read, error)) return AlignmentReadStatus::CannotRead;
  lines.swap(read);
  alignment.resetExtent();

  parser.fieldSeparator = ",";
  std::string text1, text2;
  std::int32_t skip = NO_VALUE;
  std::int32_t records = NO_VALUE;
  if (lines.size() > 1) {
    parser.recordLine = lines[1];
    parser.splitRecord();
    text1 = headerField(parser.textField(1));
    text2 = headerField(parser.textField(2));
    skip = parser.intField(4);
    records = parser.intField(5);
  }
  alignment.headerText = text1 + "  \"" + text2 + "\"";
  alignment.fileName = path.string();
  alignment.first = 1;
  alignment.count = 0;

  for (std::int64_t k = 1; k <= records; ++k) {
    const std::int64_t lineIndex = static_cast<std::int64_t>(skip) + 1 + k;
    if (lineIndex < 0 || lineIndex >= static_cast<std::int64_t>(lines.size())) break;
    if (k >= alignment.capacity() && !alignment.growAlignmentStorage(platform)) {
      alignment.recordsChanged();
      alignment.loaded = false;
      return AlignmentReadStatus::OutOfMemory;
    }
    parser.recordLine = lines[static_cast<std::size_t>(lineIndex)];
    parser.splitRecord();
    alignment.storeRecord(static_cast<int>(k),
                          {parser.floatField(2), parser.floatField(3), parser.floatField(4),
                           parser.floatField(5), parser.floatField(6), parser.floatField(7)});
  }
  alignment.recordsChanged();
  alignment.loaded = true;
  return AlignmentReadStatus::Ok;
}

bool loadAlignment(Program& program, Alignment& alignment, AlignmentFields fields,
                   std::vector<std::string>& workText) {
  Platform& platform = program.platform;
  platform.setBusyCursor(true);
  std::filesystem::path chosen;
  for (;;) {
    FileDialogRequest request;
    request.title = "Wybierz trasę";
    request.filter = "Trasy, łącznice WĘZŁA|*.TRS;*.TRW;|Trasy LandXML|*.xml;*.XML;";
    request.initialFolder = program.main.dataFolder;
    auto name = platform.chooseOpenFile(request);
    if (!name) {
      platform.setBusyCursor(false);
      return false;
    }
    if (fileExists(*name)) {
      chosen = *name;
      break;
    }
    const auto answer =
        showMessage(platform, MessageIcon::Question, MessageButtons::YesNo, "Odczyt z pliku",
                    "Plik: " + name->string() + " nie istnieje. Czy chcesz jeszcze raz wybrać?");
    if (answer != DialogResult::Yes) {
      platform.setBusyCursor(false);
      return false;
    }
  }
  std::string error;
  AlignmentReadStatus status;
  if (readAsLandXml(chosen)) {
    LandXmlFile file;
    status = AlignmentReadStatus::CannotRead;
    if (file.load(chosen, error)) {
      int index = 0;
      if (file.alignments().size() > 1 && fields.alignmentChoice) {
        platform.setBusyCursor(false);
        index = fields.alignmentChoice->choose(file.alignments());
        if (index < 0) return false;
        platform.setBusyCursor(true);
      }
      status = storeLandXmlAlignment(file, static_cast<std::size_t>(index), chosen, alignment,
                                     platform, error);
      if (status == AlignmentReadStatus::Ok) workText = file.lines();
    }
  } else {
    status = readAlignmentFile(chosen, program.parser, alignment, platform, workText, error);
  }
  platform.setBusyCursor(false);
  if (status == AlignmentReadStatus::CannotRead) {
    program.main.reportFileError("Błąd odczytu pliku", chosen.string(), error);
    return false;
  }
  if (status == AlignmentReadStatus::OutOfMemory) return false;
  program.main.dataFolder = chosen.parent_path();
  fields.description.caption = alignment.headerText;
  fields.descriptionTitle.visible = true;
  if (alignment.count >= 1) {
    fields.startChainage.text = formatFixed(alignment.chainage[1], 2);
    fields.endChainage.text =
        formatFixed(alignment.chainage[static_cast<std::size_t>(alignment.count)], 2);
  }
  return true;
}

}  // namespace merilon
