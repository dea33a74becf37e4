#include "dxf/dxf_text_records.h"

#include <cmath>

#include "dxf/dxf_ocs.h"
#include "platform/cp1250.h"
#include "platform/number_text.h"

namespace merilon {
namespace {

// One coordinate of an entity: the first value of its group code.
struct Coordinate {
  double value = 0;
  bool seen = false;
};

class Converter {
 public:
  Converter(DxfPairReader& reader, const CoordinateMapping& mapping,
            std::vector<std::string>& records, const DxfTextHooks& hooks)
      : reader_(reader), mapping_(mapping), records_(records), hooks_(hooks) {
    nextProgress_ = hooks_.progressEvery;
  }

  DxfTextResult run() {
    bool inEntities = false;
    DxfPair pair;
    while (next(pair)) {
      if (aborted_) return DxfTextResult::Aborted;
      if (pair.code != 0) continue;
      if (!inEntities) {
        if (pair.value != "SECTION") continue;
        if (!next(pair)) break;
        if (pair.code == 2 && pair.value == "ENTITIES") {
          inEntities = true;
        } else {
          reader_.pushBack();
        }
        continue;
      }
      const std::string_view name = pair.value;
      if (name == "ENDSEC") {
        inEntities = false;
      } else if (name == "EOF") {
        break;
      } else if (name == "LINE" || name == "3DLINE") {
        convertLine();
      } else if (name == "POLYLINE") {
        convertPolyline();
      } else if (name == "LWPOLYLINE") {
        convertLwPolyline();
      } else if (name == "TEXT") {
        convertText();
      } else if (name == "POINT") {
        convertPoint();
      }
    }
    if (aborted_) return DxfTextResult::Aborted;
    if (reader_.status() == DxfPairReader::Status::BadCode) {
      log("Błędny kod grupy w wierszu " + formatInt(static_cast<long long>(reader_.errorLine())) +
          " pliku DXF; dalsza część pliku pominięta");
    } else if (!reader_.readError().empty()) {
      log("Błąd odczytu pliku DXF: " + reader_.readError());
    }
    return DxfTextResult::Finished;
  }

 private:
  bool next(DxfPair& pair) {
    if (!reader_.next(pair)) return false;
    if (reader_.position() >= nextProgress_ && hooks_.progress) {
      nextProgress_ = reader_.position() + hooks_.progressEvery;
      if (hooks_.progress(reader_.position())) aborted_ = true;
    }
    return true;
  }

  void log(const std::string& text) {
    if (hooks_.log) hooks_.log(text);
  }

  // Takes the first value of a coordinate's group code; an unreadable one spoils the entity.
  void take(const DxfPair& pair, Coordinate& c) {
    if (c.seen) return;
    c.seen = true;
    if (const auto v = parseDouble(pair.value)) {
      c.value = *v;
    } else {
      badNumber(pair);
    }
  }

  void badNumber(const DxfPair& pair) {
    if (badLine_ != 0) return;
    badLine_ = pair.valueLine();
    log("Nieczytelna liczba w wierszu " + formatInt(static_cast<long long>(badLine_)) +
        " pliku DXF: " + decodeCp1250(pair.value.substr(0, 40)));
  }

  // Reads the pairs of the current entity up to the next group-0 pair, which is pushed back.
  // False when the data end first (the entity is cut off) or the conversion is stopped.
  template <class OnPair>
  bool readEntity(OnPair onPair) {
    DxfPair pair;
    while (next(pair)) {
      if (pair.code == 0) {
        reader_.pushBack();
        return !aborted_;
      }
      onPair(pair);
    }
    return false;
  }

  // Starts an entity; the result says whether its numbers read.
  void beginEntity() { badLine_ = 0; }
  bool numbersRead() const { return badLine_ == 0; }

  void appendRecord(double x, double y, double z, const char* marker) {
    record_.clear();
    appendFixed(record_, (x - mapping_.drawingOriginX) * mapping_.scale + mapping_.surveyOriginX,
                2);
    record_.push_back(',');
    appendFixed(record_, (y - mapping_.drawingOriginY) * mapping_.scale + mapping_.surveyOriginY,
                2);
    record_.push_back(',');
    appendFixed(record_, z * mapping_.heightFactor, 2);
    record_ += marker;
    records_.push_back(record_);
  }

  void convertLine() {
    beginEntity();
    Coordinate x1, y1, z1, x2, y2, z2;
    const bool complete = readEntity([&](const DxfPair& p) {
      switch (p.code) {
        case 10:
          take(p, x1);
          break;
        case 20:
          take(p, y1);
          break;
        case 30:
          take(p, z1);
          break;
        case 11:
          take(p, x2);
          break;
        case 21:
          take(p, y2);
          break;
        case 31:
          take(p, z2);
          break;
        default:
          break;
      }
    });
    if (!complete || !numbersRead() || !x1.seen || !y1.seen || !x2.seen || !y2.seen) return;
    // A line without a start height is flat: both ends lie at 0.
    const double endZ = z1.seen ? z2.value : 0;
    appendRecord(x1.value, y1.value, z1.value, ",1");
    appendRecord(x2.value, y2.value, endZ, ",0");
  }

  void convertPoint() {
    beginEntity();
    Coordinate x, y, z;
    const bool complete = readEntity([&](const DxfPair& p) {
      if (p.code == 10) take(p, x);
      if (p.code == 20) take(p, y);
      if (p.code == 30) take(p, z);
    });
    if (complete && numbersRead() && x.seen && y.seen) appendRecord(x.value, y.value, z.value, "");
  }

  void convertText() {
    beginEntity();
    Coordinate x, y, z;
    Extrusion extrusion;
    bool hasText = false;
    std::size_t textLine = 0;
    const bool complete = readEntity([&](const DxfPair& p) {
      if (p.code == 10) take(p, x);
      if (p.code == 20) take(p, y);
      if (p.code == 30) take(p, z);
      extrusion.take(*this, p);
      if (p.code == 1 && !hasText) {
        hasText = true;
        text_.assign(p.value);
        textLine = p.valueLine();
      }
    });
    if (!complete || !numbersRead() || !x.seen || !y.seen || !hasText || text_.empty()) return;
    double height = 0;
    if (!heightFromText(text_, height)) {
      log("Nieczytelna liczba w wierszu " + formatInt(static_cast<long long>(textLine)) +
          " pliku DXF: " + decodeCp1250(std::string_view(text_).substr(0, 40)));
      return;
    }
    // A text's insertion point is in its object coordinate system; the record is in the world's.
    double wx = x.value, wy = y.value;
    if (extrusion.isObjectSystem()) {
      if (!objectToWorld(extrusion, x.value, y.value, z.value, wx, wy)) return;
    }
    appendRecord(wx, wy, height, "");
  }

  // The extrusion direction (210/220/230) of a polyline: anything but +Z means object coordinates.
  struct Extrusion {
    Coordinate x, y, z{1, false};
    bool isObjectSystem() const {
      return x.seen || y.seen || z.seen ? !(x.value == 0 && y.value == 0 && z.value == 1) : false;
    }
    void take(Converter& c, const DxfPair& p) {
      if (p.code == 210) c.take(p, x);
      if (p.code == 220) c.take(p, y);
      if (p.code == 230) c.take(p, z);
    }
  };

  bool objectToWorld(const Extrusion& n, double x, double y, double z, double& wx, double& wy) {
    double ax[3], ay[3];
    if (!arbitraryAxes(n.x.value, n.y.value, n.z.value, ax, ay)) return false;
    const double length =
        std::sqrt(n.x.value * n.x.value + n.y.value * n.y.value + n.z.value * n.z.value);
    wx = x * ax[0] + y * ay[0] + z * n.x.value / length;
    wy = x * ax[1] + y * ay[1] + z * n.y.value / length;
    return true;
  }

  void convertPolyline() {
    beginEntity();
    Extrusion extrusion;
    if (!readEntity([&](const DxfPair& p) { extrusion.take(*this, p); })) return;
    const bool header = numbersRead();
    const bool ocs = extrusion.isObjectSystem();
    if (ocs) log("POLYLINE zapisana z OCS nie potrafię zdekodować");
    // The vertices up to SEQEND; each vertex is an entity of its own.
    const std::size_t first = records_.size();
    bool firstVertex = true;
    DxfPair pair;
    while (next(pair)) {
      if (pair.code != 0) continue;
      if (pair.value != "VERTEX") {
        // SEQEND closes the polyline; without it, the polyline ends where the next entity begins.
        if (pair.value != "SEQEND") reader_.pushBack();
        if (ocs || !header) records_.resize(first);
        return;
      }
      beginEntity();
      Coordinate x, y, z;
      if (!readEntity([&](const DxfPair& p) {
            if (p.code == 10) take(p, x);
            if (p.code == 20) take(p, y);
            if (p.code == 30) take(p, z);
          })) {
        break;
      }
      if (!numbersRead() || !x.seen || !y.seen) continue;
      appendRecord(x.value, y.value, z.value, firstVertex ? ",1" : ",0");
      firstVertex = false;
    }
    // Cut off by the end of the file.
    records_.resize(first);
  }

  void convertLwPolyline() {
    beginEntity();
    Extrusion extrusion;
    Coordinate elevation;
    std::vector<std::pair<Coordinate, Coordinate>>& vertices = lwVertices_;
    vertices.clear();
    const bool complete = readEntity([&](const DxfPair& p) {
      extrusion.take(*this, p);
      if (p.code == 38) take(p, elevation);
      if (p.code == 10) {
        vertices.emplace_back();
        take(p, vertices.back().first);
      }
      if (p.code == 20 && !vertices.empty()) take(p, vertices.back().second);
    });
    if (!complete || !numbersRead()) return;
    if (extrusion.isObjectSystem()) {
      log("LWPOLYLINE zapisana z OCS nie potrafię zdekodować");
      return;
    }
    bool firstVertex = true;
    for (const auto& [x, y] : vertices) {
      if (!y.seen) continue;
      appendRecord(x.value, y.value, elevation.value, firstVertex ? ",1" : ",0");
      firstVertex = false;
    }
  }

  DxfPairReader& reader_;
  const CoordinateMapping& mapping_;
  std::vector<std::string>& records_;
  const DxfTextHooks& hooks_;
  std::uintmax_t nextProgress_ = 0;
  bool aborted_ = false;
  std::size_t badLine_ = 0;
  std::string record_;
  std::string text_;
  std::vector<std::pair<Coordinate, Coordinate>> lwVertices_;
};

}  // namespace

bool heightFromText(std::string_view text, double& height) {
  std::string cleaned(text);
  for (char& c : cleaned) {
    if (c == ',') c = '.';
    const bool keep = (c >= '0' && c <= '9') || c == '.' || c == '-' || c == ' ' || c == '\b';
    if (!keep) c = ' ';
  }
  // Backspace counts as a blank around the number.
  std::string_view number = cleaned;
  auto blank = [](char c) { return c == ' ' || c == '\b'; };
  while (!number.empty() && blank(number.front())) number.remove_prefix(1);
  while (!number.empty() && blank(number.back())) number.remove_suffix(1);
  const auto v = parseDouble(number);
  if (!v) return false;
  height = *v;
  return true;
}

DxfTextResult convertDxfPairsToText(DxfPairReader& reader, const CoordinateMapping& mapping,
                                    std::vector<std::string>& records, const DxfTextHooks& hooks) {
  return Converter(reader, mapping, records, hooks).run();
}

}  // namespace merilon
