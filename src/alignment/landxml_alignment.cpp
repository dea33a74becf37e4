#include "alignment/landxml_alignment.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <numbers>
#include <optional>
#include <pugixml.hpp>

#include "alignment/alignment_geometry.h"
#include "platform/number_text.h"

namespace merilon {

struct LandXmlFile::Document {
  std::string text;
  pugi::xml_document xml;
  std::vector<pugi::xml_node> alignmentNodes;

  int lineOf(pugi::xml_node node) const {
    const auto offset = static_cast<std::size_t>(std::max<std::ptrdiff_t>(node.offset_debug(), 0));
    const auto end = text.begin() + static_cast<std::ptrdiff_t>(std::min(offset, text.size()));
    return 1 + static_cast<int>(std::count(text.begin(), end, '\n'));
  }
};

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
// A chord shorter than this gives too rough a direction; the element then continues the
// direction of the one before it.
constexpr double kShortestDirectionChord = 0.5;

std::string_view localName(const char* name) {
  std::string_view n(name);
  const auto colon = n.find(':');
  return colon == std::string_view::npos ? n : n.substr(colon + 1);
}

pugi::xml_node childNamed(pugi::xml_node parent, std::string_view name) {
  for (auto c : parent.children()) {
    if (c.type() == pugi::node_element && localName(c.name()) == name) return c;
  }
  return {};
}

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& ch : out) {
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  }
  return out;
}

std::optional<double> numberAttribute(pugi::xml_node node, const char* name) {
  const auto a = node.attribute(name);
  if (!a) return std::nullopt;
  return parseDouble(a.value());
}

// Curvature 1/R of a radius attribute: "INF" (and 0) mean a straight end.
std::optional<double> curvatureAttribute(pugi::xml_node node, const char* name) {
  const auto a = node.attribute(name);
  if (!a) return std::nullopt;
  const std::string v = lower(trimBlanks(a.value()));
  if (v == "inf" || v == "infinity" || v == "+inf") return 0.0;
  const auto r = parseDouble(v);
  if (!r || *r < 0) return std::nullopt;
  return *r == 0 ? 0.0 : 1 / *r;
}

// "northing easting [height]" of a <Start>, <End> or <Center> element.
bool readPoint(pugi::xml_node element, double& east, double& north) {
  if (!element) return false;
  std::string_view text = element.child_value();
  double values[2];
  for (double& v : values) {
    text = text.substr(std::min(text.size(), text.find_first_not_of(" \t\r\n")));
    const auto end = std::min(text.size(), text.find_first_of(" \t\r\n"));
    const auto n = parseDouble(text.substr(0, end));
    if (!n) return false;
    v = *n;
    text = text.substr(end);
  }
  north = values[0];
  east = values[1];
  return true;
}

double normalAngle(double a) {
  a = std::fmod(a, kTwoPi);
  return a < 0 ? a + kTwoPi : a;
}

// The difference a - b taken into -pi..pi.
double angleDifference(double a, double b) {
  const double d = normalAngle(a - b);
  return d > std::numbers::pi ? d - kTwoPi : d;
}

struct ElementEnd {
  double along = 0, lateral = 0, turn = 0;  // in the frame of the element's start
};

// Where an element opened by `r` ends after `length`, worked out by the alignment geometry
// itself so that the records reproduce the file exactly as the rest of the program reads them.
ElementEnd localEnd(AlignmentRecord r, double length) {
  Alignment scratch;
  for (auto* v : {&scratch.chainage, &scratch.x, &scratch.y, &scratch.azimuth, &scratch.radius,
                  &scratch.clothoidParameter}) {
    v->assign(3, 0.0);
  }
  scratch.radius[1] = r.radius;
  scratch.clothoidParameter[1] = r.clothoidParameter;
  scratch.chainage[2] = length;
  scratch.count = 2;
  scratch.recordsChanged();
  double x, y, a;
  pointAtChainage(scratch, length, x, y, a);
  return {y, x, a};
}

// Gaps are reported in tenths of a millimetre and kinks in hundredths of a milliradian; a
// figure is over its limit only when it is so in those shown units, so that the message never
// refuses a figure that it prints as the limit itself.
constexpr int kGapDecimals = 4;
constexpr int kKinkDecimals = 5;

bool overLimit(double value, double limit, int decimals) {
  const double scale = std::pow(10.0, decimals);
  return std::llround(std::fabs(value) * scale) > std::llround(limit * scale);
}

std::string metres(double v) { return formatFixed(v, kGapDecimals); }

struct ElementReader {
  const LandXmlFile::Document& doc;
  std::string& error;

  bool fail(pugi::xml_node node, const std::string& what) {
    error = "Element <" + std::string(localName(node.name())) + "> w wierszu " +
            formatInt(doc.lineOf(node)) + ": " + what;
    return false;
  }
};

}  // namespace

bool looksLikeLandXml(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  for (;;) {
    const auto start = text.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos) return false;
    text.remove_prefix(start);
    if (text.substr(0, 2) == "<?" || text.substr(0, 2) == "<!") {
      const bool comment = text.substr(0, 4) == "<!--";
      const auto end = comment ? text.find("-->") : text.find('>');
      if (end == std::string_view::npos) return false;
      text.remove_prefix(end + (comment ? 3 : 1));
      continue;
    }
    if (text.empty() || text[0] != '<') return false;
    const auto end = text.find_first_of(" \t\r\n/>", 1);
    if (end == std::string_view::npos) return false;
    std::string name(text.substr(1, end - 1));
    return localName(name.c_str()) == "LandXML";
  }
}

bool looksLikeLandXmlFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string head(4096, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(in.gcount()));
  return looksLikeLandXml(head);
}

bool readAsLandXml(const std::filesystem::path& path) {
  return looksLikeLandXmlFile(path) || lower(path.extension().string()) == ".xml";
}

LandXmlFile::LandXmlFile() = default;
LandXmlFile::~LandXmlFile() = default;

bool LandXmlFile::load(const std::filesystem::path& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "nie można otworzyć pliku";
    return false;
  }
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    error = "błąd odczytu pliku";
    return false;
  }
  return loadText(std::move(text), error);
}

bool LandXmlFile::loadText(std::string text, std::string& error) {
  entries_.clear();
  doc_ = std::make_unique<Document>();
  doc_->text = std::move(text);
  const auto parsed = doc_->xml.load_buffer(doc_->text.data(), doc_->text.size(),
                                            pugi::parse_default, pugi::encoding_utf8);
  if (!parsed) {
    const auto offset = static_cast<std::size_t>(std::max<std::ptrdiff_t>(parsed.offset, 0));
    const auto end =
        doc_->text.begin() + static_cast<std::ptrdiff_t>(std::min(offset, doc_->text.size()));
    error = "Błąd składni XML w wierszu " +
            formatInt(1 + std::count(doc_->text.begin(), end, '\n')) + " (" + parsed.description() +
            ")";
    return false;
  }
  const auto root = doc_->xml.document_element();
  if (localName(root.name()) != "LandXML") {
    error = "Plik nie jest plikiem LandXML";
    return false;
  }
  for (auto node : root.select_nodes(".//*[local-name()='Alignment']")) {
    const auto a = node.node();
    LandXmlAlignmentEntry e;
    e.name = a.attribute("name").value();
    e.description = a.attribute("desc").value();
    e.line = doc_->lineOf(a);
    if (auto length = numberAttribute(a, "length")) {
      e.length = *length;
    } else {
      for (auto c : childNamed(a, "CoordGeom").children()) {
        if (auto l = numberAttribute(c, "length")) e.length += *l;
      }
    }
    doc_->alignmentNodes.push_back(a);
    entries_.push_back(std::move(e));
  }
  if (entries_.empty()) {
    error = "Plik LandXML nie zawiera żadnej trasy (<Alignment>)";
    return false;
  }
  return true;
}

std::vector<std::string> LandXmlFile::lines() const {
  std::vector<std::string> out;
  if (!doc_) return out;
  std::string_view text = doc_->text;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  while (!text.empty()) {
    const auto end = std::min(text.size(), text.find('\n'));
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    out.emplace_back(line);
    text.remove_prefix(std::min(text.size(), end + 1));
  }
  return out;
}

int findLandXmlAlignment(const LandXmlFile& file, std::string_view name) {
  const auto& list = file.alignments();
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

bool LandXmlFile::records(std::size_t index, std::vector<AlignmentRecord>& out,
                          std::string& error) const {
  out.clear();
  if (!doc_ || index >= doc_->alignmentNodes.size()) {
    error = "Brak trasy w pliku";
    return false;
  }
  ElementReader reader{*doc_, error};
  const auto alignment = doc_->alignmentNodes[index];
  const auto geometry = childNamed(alignment, "CoordGeom");
  if (!geometry) return reader.fail(alignment, "trasa nie ma geometrii (<CoordGeom>)");

  double chainage = numberAttribute(alignment, "staStart").value_or(0);
  bool havePrevious = false;
  double endX = 0, endY = 0, endAzimuth = 0;
  for (auto node : geometry.children()) {
    if (node.type() != pugi::node_element) continue;
    const std::string_view kind = localName(node.name());
    if (kind == "Feature") continue;
    if (kind != "Line" && kind != "Curve" && kind != "Spiral") {
      return reader.fail(node, "nieobsługiwany rodzaj elementu trasy");
    }
    if (kind == "Spiral") {
      const auto a = node.attribute("spiType");
      if (a && lower(a.value()) != "clothoid") {
        return reader.fail(node, "krzywa przejściowa typu \"" + std::string(a.value()) +
                                     "\"; wczytywane są tylko klotoidy (spiType=\"clothoid\")");
      }
    }
    double sx, sy, ex, ey;
    if (!readPoint(childNamed(node, "Start"), sx, sy) ||
        !readPoint(childNamed(node, "End"), ex, ey)) {
      return reader.fail(node, "brak lub błędne współrzędne początku (<Start>) albo końca (<End>)");
    }
    const double chord = std::hypot(ex - sx, ey - sy);
    AlignmentRecord r{chainage, sx, sy, 0, 0, 0};
    double length = chord;
    const std::string rot = lower(node.attribute("rot").value());
    const double turn = rot == "cw" ? 1 : rot == "ccw" ? -1 : 0;
    if (kind == "Line") {
      if (node.attribute("length")) {
        const auto l = numberAttribute(node, "length");
        if (!l || *l < 0) return reader.fail(node, "błędna długość (length)");
        length = *l;
      }
    } else {
      if (turn == 0) return reader.fail(node, "brak kierunku skrętu (rot=\"cw\" lub \"ccw\")");
      const auto l = numberAttribute(node, "length");
      if (!l || *l < 0) return reader.fail(node, "brak lub błędna długość (length)");
      length = *l;
    }
    if (kind == "Curve") {
      const auto k = curvatureAttribute(node, "radius");
      if (!k || *k == 0) return reader.fail(node, "brak lub błędny promień łuku (radius)");
      r.radius = turn / *k;
    } else if (kind == "Spiral") {
      const auto k1 = curvatureAttribute(node, "radiusStart");
      const auto k2 = curvatureAttribute(node, "radiusEnd");
      if (!k1 || !k2) {
        return reader.fail(node,
                           "brak lub błędny promień początku lub końca (radiusStart, radiusEnd)");
      }
      if (*k1 == *k2) {
        return reader.fail(node, "klotoida bez zmiany krzywizny");
      }
      // A² = L / |Δ(1/R)|; negative when the curvature falls along the chainage.
      const double A = std::sqrt(length / std::fabs(*k2 - *k1));
      r.clothoidParameter = *k2 > *k1 ? A : -A;
      // A clothoid starting at zero curvature carries its turn in the sign of a tiny radius.
      r.radius = *k1 != 0 ? turn / *k1 : turn * 0.0001;
    }
    if (length <= 1e-9) {
      if (havePrevious &&
          overLimit(std::hypot(sx - endX, sy - endY), kLandXmlGapLimit, kGapDecimals)) {
        return reader.fail(node, "przerwa " + metres(std::hypot(sx - endX, sy - endY)) +
                                     " m względem końca poprzedniego elementu");
      }
      continue;
    }
    const ElementEnd end = localEnd(r, length);
    const double modelChord = std::hypot(end.along, end.lateral);
    if (overLimit(modelChord - chord, kLandXmlGapLimit, kGapDecimals)) {
      return reader.fail(node,
                         "długość i promienie niezgodne z punktami początku i końca (różnica " +
                             metres(modelChord - chord) + " m)");
    }
    double azimuth = (chord >= kShortestDirectionChord || !havePrevious)
                         ? std::atan2(ex - sx, ey - sy) - std::atan2(end.lateral, end.along)
                         : endAzimuth;
    // Azimuths run on without jumps of 2π, as an alignment file gives them.
    azimuth =
        havePrevious ? endAzimuth + angleDifference(azimuth, endAzimuth) : normalAngle(azimuth);
    if (havePrevious) {
      const double gap = std::hypot(sx - endX, sy - endY);
      if (overLimit(gap, kLandXmlGapLimit, kGapDecimals)) {
        return reader.fail(node,
                           "przerwa " + metres(gap) + " m względem końca poprzedniego elementu");
      }
      const double kink = std::fabs(angleDifference(azimuth, endAzimuth));
      if (overLimit(kink, kLandXmlKinkLimit, kKinkDecimals)) {
        return reader.fail(node, "załamanie kierunku " + formatFixed(kink, kKinkDecimals) +
                                     " rad względem poprzedniego elementu");
      }
    }
    r.azimuth = azimuth;
    out.push_back(r);
    const double s = std::sin(azimuth), c = std::cos(azimuth);
    endX = sx + end.along * s + end.lateral * c;
    endY = sy + end.along * c - end.lateral * s;
    endAzimuth = azimuth + end.turn;
    havePrevious = true;
    chainage += length;
  }
  if (out.empty()) return reader.fail(geometry, "trasa nie ma żadnego elementu");
  out.push_back({chainage, endX, endY, endAzimuth, 0, 0});
  return true;
}

AlignmentReadStatus storeLandXmlAlignment(const LandXmlFile& file, std::size_t index,
                                          const std::filesystem::path& path, Alignment& alignment,
                                          Platform& platform, std::string& error) {
  std::vector<AlignmentRecord> records;
  if (!file.records(index, records, error)) return AlignmentReadStatus::CannotRead;
  if (!alignment.setRecords(platform, records)) {
    alignment.loaded = false;
    return AlignmentReadStatus::OutOfMemory;
  }
  const auto& entry = file.alignments()[index];
  alignment.headerText = entry.name + "  \"" + entry.description + "\"";
  alignment.fileName = path.string();
  alignment.loaded = true;
  return AlignmentReadStatus::Ok;
}

}  // namespace merilon
