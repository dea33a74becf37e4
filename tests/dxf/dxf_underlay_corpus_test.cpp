// Every drawing of the corpus as an underlay: it loads, and where a reader that compares raw
// lines (entity names and group codes recognised wherever a line reads like one) happens to
// pair every code with its value, both give the same elements.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>

#include "dxf/dxf_underlay.h"
#include "dxf/dxf_underlay_reader.h"
#include "platform/number_text.h"

namespace merilon {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

// The line reader: each line trimmed; `role` tells for every line what it really is (-1 a
// group code, otherwise the code whose value it is), so that the reader can tell when it took a
// line for what it is not.
class LineReader {
 public:
  LineReader(const std::string& bytes, DxfUnderlay& underlay) : u_(underlay) {
    std::size_t start = 0;
    while (start < bytes.size()) {
      std::size_t end = bytes.find_first_of("\r\n", start);
      if (end == std::string::npos) end = bytes.size();
      lines_.emplace_back(trimDxf(std::string_view(bytes).substr(start, end - start)));
      if (end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() &&
          bytes[end + 1] == '\n') {
        ++end;
      }
      start = end + 1;
    }
    role_.assign(lines_.size(), -2);
    for (std::size_t k = 0; k < lines_.size();) {
      if (lines_[k].empty()) {
        ++k;
        continue;
      }
      const auto code = parseInt32(lines_[k]);
      if (!code) break;
      role_[k] = -1;
      if (k + 1 < lines_.size()) role_[k + 1] = *code;
      k += 2;
    }
    for (std::size_t k = 0; k + 3 < lines_.size(); ++k) {
      if (lines_[k] == "$ACADVER" && lines_[k + 2] >= "AC1021") utf8_ = true;
    }
  }

  // False when the reader took a value for a code or an entity name, or a value for another
  // code's, or met a number it could not read.
  bool run() {
    while (!misread_) {
      if (!readLine()) break;
      if (end()) break;
      if (!inEntities_) {
        if (line() == "ENTITIES") inEntities_ = inSection_ = check(role() == 2);
        continue;
      }
      const std::string& name = line();
      // No section end stops the scan; an entity it meets outside ENTITIES is a misreading.
      if (name == "SECTION" && role() == 0) {
        inSection_ = pos_ + 1 < lines_.size() && lines_[pos_ + 1] == "ENTITIES";
        continue;
      }
      const bool entity = name == "LINE" || name == "3DLINE" || name == "POINT" || name == "TEXT" ||
                          name == "ARC" || name == "CIRCLE" || name == "POLYLINE";
      if (entity) check(inSection_);
      if (name == "LINE" || name == "3DLINE") {
        if (nameOk()) lineHandler();
      } else if (name == "POINT") {
        if (nameOk()) pointHandler();
      } else if (name == "TEXT") {
        if (nameOk()) textHandler();
      } else if (name == "ARC" || name == "CIRCLE") {
        if (nameOk()) arcHandler();
      } else if (name == "POLYLINE") {
        if (nameOk()) polylineHandler();
      }
    }
    return !misread_;
  }

 private:
  const std::string& line() const { return lines_[pos_ - 1]; }
  int role() const { return pos_ >= 1 && pos_ - 1 < role_.size() ? role_[pos_ - 1] : -2; }
  bool end() const { return pos_ >= lines_.size(); }
  bool readLine() {
    if (pos_ >= lines_.size()) return false;
    ++pos_;
    return true;
  }
  void skipLines(int n) {
    for (int k = 0; k < n; ++k) readLine();
  }
  bool nameOk() { return check(role() == 0); }
  bool check(bool ok) {
    if (!ok) misread_ = true;
    return ok;
  }
  // The current line as the value of `code`.
  double value(int code) {
    check(role() == code);
    const auto v = parseDouble(line());
    check(v.has_value());
    return v.value_or(0);
  }
  // findCode(wanted, "EOF"): any line is compared; the line after the match is read.
  // Codes the handler reads that a search passed over lose their values: not compared.
  void findCode(const std::string& wanted, std::initializer_list<int> used = {}) {
    while (readLine()) {
      if (role() == -1) {
        for (int c : used) {
          if (parseInt32(line()) == c) misread_ = true;
        }
      }
      if (line() == wanted || line() == "EOF") {
        check(role() == -1 && line() == wanted);
        readLine();
        return;
      }
    }
    misread_ = true;
  }
  // findX: code and value two lines at a time until a code reads "10", then its value.
  void findX() {
    while (readLine()) {
      if (line().empty()) continue;
      const bool ten = line() == "10";
      check(role() == -1);
      readLine();
      if (ten) return;
    }
    misread_ = true;
  }
  // A group code read as an integer; nothing at the end of the file.
  std::optional<int> readCode() {
    if (!readLine()) return std::nullopt;
    check(role() == -1);
    const auto c = parseInt32(line());
    check(c.has_value());
    return c;
  }

  // An extrusion other than +Z: our reader turns the entity into the plan; not compared.
  void planeOfItsOwn(int c) {
    if ((c == 210 || c == 220) && value(c) != 0) misread_ = true;
    if (c == 230 && value(c) != 1) misread_ = true;
  }

  void lineHandler() {
    findX();
    const double x1 = value(10);
    skipLines(2);
    const double y1 = value(20);
    readLine();
    if (line() == "30") {
      check(role() == -1);
      readLine();
    } else {
      --pos_;  // examined again by the search for "11"
    }
    findCode("11");
    const double x2 = value(11);
    skipLines(2);
    const double y2 = value(21);
    if (!misread_) u_.addElement(kUnderlayLine, x1, y1, x2, y2);
  }

  void pointHandler() {
    findX();
    const double x = value(10);
    skipLines(2);
    const double y = value(20);
    if (!misread_) u_.addElement(kUnderlayPoint, x, y, x, y);
  }

  void textHandler() {
    findCode("10", {1, 40, 50, 11});
    const double x = value(10);
    skipLines(2);
    const double y = value(20);
    double height = 0, angle = 0;
    std::string text;
    while (!misread_) {
      const auto c = readCode();
      if (!c || *c == 0) break;
      readLine();
      planeOfItsOwn(*c);
      if (*c == 1) text = line();
      if (*c == 40) height = value(40);
      if (*c == 50) angle = value(50) / 360 * kTwoPi;
      if (*c == 11) {
        value(11);
        skipLines(2);
        misread_ = true;  // turned by an alignment point: not compared
      }
    }
    if (!misread_) u_.addText(x, y, angle, height, underlayText(text, utf8_));
  }

  void arcHandler() {
    findX();
    const double x = value(10);
    skipLines(2);
    const double y = value(20);
    double radius = 0, start = 0, end = kTwoPi;
    while (!misread_) {
      const auto c = readCode();
      if (!c || *c == 0) break;
      readLine();
      planeOfItsOwn(*c);
      if (*c == 40) radius = value(40);
      if (*c == 50) start = value(50) / 360 * kTwoPi;
      if (*c == 51) end = value(51) / 360 * kTwoPi;
    }
    if (!misread_) u_.addArc(x, y, start, end, radius);
  }

  void polylineHandler() {
    bool first = true;
    double px = 0, py = 0;
    while (!misread_ && readLine()) {
      // Closed polylines, meshes and planes other than the world's: not compared.
      if (first && role() == -1 && (line() == "70" || line() == "210")) {
        const bool extrusion = line() == "210";
        readLine();
        const auto flags = parseInt32(line());
        if (extrusion || (flags && (*flags & (1 | 16 | 64)) != 0)) misread_ = true;
        continue;
      }
      if (line() == "SEQEND") {
        nameOk();
        return;
      }
      if (line() != "VERTEX" || !nameOk()) continue;
      findX();
      const double x = value(10);
      skipLines(2);
      const double y = value(20);
      while (!misread_) {
        const auto c = readCode();
        if (!c || *c == 0) break;
        readLine();
        if (*c == 42 && value(42) != 0) misread_ = true;  // bulges: not compared
        if (*c == 70 && (static_cast<int>(value(70)) & 16) != 0) misread_ = true;
      }
      if (!first && std::hypot(x - px, y - py) >= 0.01 && !misread_) {
        u_.addElement(kUnderlayLine, px, py, x, y);
      }
      first = false;
      px = x;
      py = y;
    }
  }

  DxfUnderlay& u_;
  std::vector<std::string> lines_;
  std::vector<int> role_;
  std::size_t pos_ = 0;
  bool inEntities_ = false;
  bool inSection_ = false;
  bool misread_ = false;
  bool utf8_ = false;
};

std::string readAll(const std::filesystem::path& file) {
  std::string bytes;
  if (std::FILE* f = std::fopen(file.c_str(), "rb")) {
    char buf[65536];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, f)) bytes.append(buf, n);
    std::fclose(f);
  }
  return bytes;
}

std::vector<std::string> elements(const DxfUnderlay& u) {
  std::vector<std::string> out;
  for (int e = 1; e <= u.elementCount; ++e) {
    const auto i = static_cast<std::size_t>(e);
    std::string s = formatInt(u.elementKind[i]);
    for (double a : {u.elementA1[i], u.elementA2[i], u.elementA3[i], u.elementA4[i]}) {
      s += " " + formatGeneral(a);
    }
    if (u.elementKind[i] == kUnderlayText) s += " " + u.text(e);
    if (u.elementKind[i] == kUnderlayArc) s += " r" + formatGeneral(u.radius(e));
    out.push_back(s);
  }
  return out;
}

TEST(DxfUnderlayCorpus, EveryDrawingLoadsAndMatchesTheLineReaderWhereItPairsCorrectly) {
  const auto corpus =
      std::filesystem::path(MERILON_SOURCE_DIR) / ".." / "shared" / "corpus" / "dxf";
  if (!std::filesystem::exists(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
  int files = 0, compared = 0, comparedElements = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
    if (!entry.is_regular_file()) continue;
    ++files;
    SCOPED_TRACE(entry.path().string());
    DxfPairReader reader;
    std::string error;
    ASSERT_TRUE(reader.open(entry.path(), error));
    DxfUnderlay ours;
    std::vector<std::string> log;
    UnderlayReadHooks hooks;
    hooks.log = [&log](const std::string& l) { log.push_back(l); };
    EXPECT_EQ(readUnderlay(reader, ours, hooks), UnderlayReadResult::Finished);
    if (reader.isBinary()) {
      EXPECT_EQ(ours.elementCount, 0);
      continue;
    }
    // Our reader leaves out what the line reader would draw (hidden layers, kinds in planes,
    // meshes) or draws what it would not (lightweight polylines, closing segments).
    const std::string bytes = readAll(entry.path());
    bool different = bytes.find("LWPOLYLINE") != std::string::npos;
    for (const std::string& l : log) {
      for (const char* mark : {"OCS", "siatka", "niewidoczne", "Błędny"}) {
        different = different || l.find(mark) != std::string::npos;
      }
    }
    if (different) continue;
    DxfUnderlay theirs;
    LineReader lines(bytes, theirs);
    if (!lines.run()) continue;
    ++compared;
    comparedElements += ours.elementCount;
    const std::vector<std::string> a = elements(ours), b = elements(theirs);
    EXPECT_EQ(a.size(), b.size());
    for (std::size_t k = 0; k < std::min(a.size(), b.size()); ++k) {
      if (a[k] != b[k]) {
        ADD_FAILURE() << "element " << k + 1 << ": " << a[k] << " against " << b[k];
        break;
      }
    }
  }
  RecordProperty("files", files);
  RecordProperty("compared", compared);
  RecordProperty("elements", comparedElements);
  std::printf("%d drawings, %d compared with %d elements\n", files, compared, comparedElements);
  EXPECT_GT(files, 50);
  EXPECT_GT(compared, 10);
  EXPECT_GT(comparedElements, 100);
}

}  // namespace
}  // namespace merilon
