#include "dxf/dxf_underlay_reader.h"

#include <cmath>
#include <numbers>
#include <unordered_set>
#include <utility>
#include <vector>

#include "dxf/dxf_ocs.h"
#include "platform/cp1250.h"
#include "platform/number_text.h"

namespace merilon {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kShortestSegment = 0.01;

double degrees(double value) { return value / 360 * kTwoPi; }

// A flag or a justification code; values beyond the int range are no valid code either.
int code(const double v) { return v > -1e9 && v < 1e9 ? static_cast<int>(v) : 0; }

double positiveAngle(double a) {
  a = std::fmod(a, kTwoPi);
  return a < 0 ? a + kTwoPi : a;
}

// The codes in the order they are replaced: the small letters, then the capitals.
constexpr std::pair<std::string_view, std::string_view> kPolishCodes[] = {
    {"%%185", "ą"}, {"%%234", "ę"}, {"%%230", "ć"}, {"%%156", "ś"}, {"%%241", "ń"}, {"%%179", "ł"},
    {"%%159", "ź"}, {"%%191", "ż"}, {"%%243", "ó"}, {"%%165", "Ą"}, {"%%202", "Ę"}, {"%%198", "Ć"},
    {"%%140", "Ś"}, {"%%209", "Ń"}, {"%%163", "Ł"}, {"%%143", "Ź"}, {"%%175", "Ż"}, {"%%211", "Ó"},
};

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// "\U+0142" is the character U+0142; anything else stays as it is.
std::string decodeEscapes(std::string text) {
  if (text.find("\\U+") == std::string::npos) return text;
  std::string out;
  for (std::size_t k = 0; k < text.size(); ++k) {
    if (text.compare(k, 3, "\\U+") == 0 && k + 7 <= text.size()) {
      char32_t c = 0;
      bool hex = true;
      for (std::size_t d = k + 3; d < k + 7; ++d) {
        const int v = hexDigit(text[d]);
        hex = hex && v >= 0;
        c = c * 16 + static_cast<char32_t>(v < 0 ? 0 : v);
      }
      if (hex && !(c >= 0xD800 && c <= 0xDFFF)) {
        appendUtf8(out, c);
        k += 6;
        continue;
      }
    }
    out += text[k];
  }
  return out;
}

// One value of an entity: the first of its group code.
struct Value {
  double value = 0;
  bool seen = false;
  std::size_t line = 0;  // where it stood, to tell which of two values came later
};

struct Vertex {
  double x = 0, y = 0, bulge = 0;
};

class Loader {
 public:
  Loader(DxfPairReader& reader, DxfUnderlay& underlay, const UnderlayReadHooks& hooks)
      : reader_(reader), underlay_(underlay), hooks_(hooks) {
    nextProgress_ = hooks_.progressEvery;
  }

  UnderlayReadResult run() {
    bool inEntities = false;
    DxfPair pair;
    while (!stopped() && next(pair)) {
      if (pair.code != 0) {
        if (pair.code == 9 && pair.value == "$ACADVER") readVersion();
        continue;
      }
      if (!inEntities) {
        if (pair.value == "LAYER") {
          readLayer();
        } else if (pair.value == "SECTION") {
          if (!next(pair)) break;
          if (pair.code == 2 && pair.value == "ENTITIES") {
            inEntities = true;
          } else {
            reader_.pushBack();
          }
        }
        continue;
      }
      const std::string_view name = pair.value;
      if (name == "ENDSEC") {
        inEntities = false;
      } else if (name == "EOF") {
        break;
      } else if (name == "LINE" || name == "3DLINE") {
        readLine();
      } else if (name == "POINT") {
        readPoint();
      } else if (name == "TEXT") {
        readText();
      } else if (name == "CIRCLE" || name == "ARC") {
        readArc(name);
      } else if (name == "POLYLINE") {
        readPolyline();
      } else if (name == "LWPOLYLINE") {
        readLwPolyline();
      } else if (name != "VERTEX" && name != "SEQEND" && name != "ATTRIB") {
        // Attributes and vertices belong to the entity before them.
        leaveOut(name);
      }
    }
    if (aborted_) return UnderlayReadResult::Aborted;
    if (reader_.status() == DxfPairReader::Status::BadCode) {
      log("Błędny kod grupy w wierszu " + formatInt(static_cast<long long>(reader_.errorLine())) +
          " pliku DXF; dalsza część pliku pominięta");
    } else if (!reader_.readError().empty()) {
      log("Błąd odczytu pliku DXF: " + reader_.readError());
    }
    for (const auto& [kind, count] : leftOut_) {
      log("Pominięto obiekty DXF typu " + kind + ": " + formatInt(count));
    }
    if (hidden_ > 0) {
      log("Pominięto obiekty niewidoczne (warstwy wyłączone lub zamrożone): " + formatInt(hidden_));
    }
    return outOfMemory_ ? UnderlayReadResult::OutOfMemory : UnderlayReadResult::Finished;
  }

 private:
  bool stopped() const { return aborted_ || outOfMemory_; }

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

  void leaveOut(std::string_view kind) {
    for (auto& [name, count] : leftOut_) {
      if (name == kind) {
        ++count;
        return;
      }
    }
    leftOut_.emplace_back(decodeCp1250(kind.substr(0, 40)), 1);
  }

  // "$ACADVER": drawings from AC1021 on keep their texts in UTF-8.
  void readVersion() {
    DxfPair pair;
    if (!next(pair)) return;
    if (pair.code != 1) {
      reader_.pushBack();
      return;
    }
    utf8_ = pair.value.size() >= 6 && pair.value.starts_with("AC") && pair.value >= "AC1021";
  }

  static std::string layerKey(std::string_view name) {
    std::string key(name);
    for (char& c : key) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return key;
  }

  // An entry of the LAYER table: a negative colour switches the layer off, flag 1 freezes it.
  void readLayer() {
    std::string name;
    bool off = false;
    readEntity([&](const DxfPair& p) {
      if (p.code == 2) name = p.value;
      if (p.code == 62) {
        const auto colour = parseInt32(p.value);
        off = off || (colour && *colour < 0);
      }
      if (p.code == 70) {
        const auto flags = parseInt32(p.value);
        off = off || (flags && (*flags & 1) != 0);
      }
    });
    if (off) offLayers_.insert(layerKey(name));
  }

  // Takes the first value of a group code; a value that does not read spoils the entity.
  void take(const DxfPair& pair, Value& v) {
    if (v.seen) return;
    v.seen = true;
    v.line = pair.line;
    if (const auto d = parseDouble(pair.value)) {
      v.value = *d;
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

  // Reads the pairs of the current entity up to the next group-0 pair, which is pushed back,
  // or to the end of the data. Layer (8) and visibility (60) are noted for every entity.
  template <class OnPair>
  void readEntity(OnPair onPair) {
    DxfPair pair;
    while (!stopped() && next(pair)) {
      if (pair.code == 0) {
        reader_.pushBack();
        return;
      }
      if (pair.code == 8 && !layerSeen_) {
        layerSeen_ = true;
        hiddenEntity_ =
            hiddenEntity_ || (!offLayers_.empty() && offLayers_.count(layerKey(pair.value)) > 0);
      } else if (pair.code == 60) {
        const auto v = parseInt32(pair.value);
        hiddenEntity_ = hiddenEntity_ || (v && *v == 1);
      }
      onPair(pair);
    }
  }

  void beginEntity() {
    badLine_ = 0;
    layerSeen_ = false;
    hiddenEntity_ = false;
  }

  // Whether the entity read may be stored; counts it when it is hidden.
  bool keep() {
    if (stopped() || badLine_ != 0) return false;
    if (hiddenEntity_) {
      ++hidden_;
      return false;
    }
    return true;
  }

  void stored(bool ok) {
    if (!ok) outOfMemory_ = true;
  }

  void readLine() {
    beginEntity();
    Value x1, y1, x2, y2;
    readEntity([&](const DxfPair& p) {
      switch (p.code) {
        case 10:
          return take(p, x1);
        case 20:
          return take(p, y1);
        case 11:
          return take(p, x2);
        case 21:
          return take(p, y2);
        default:
          return;
      }
    });
    if (!keep() || !x1.seen || !y1.seen || !x2.seen || !y2.seen) return;
    stored(underlay_.addElement(kUnderlayLine, x1.value, y1.value, x2.value, y2.value));
  }

  void readPoint() {
    beginEntity();
    Value x, y;
    readEntity([&](const DxfPair& p) {
      if (p.code == 10) take(p, x);
      if (p.code == 20) take(p, y);
    });
    if (!keep() || !x.seen || !y.seen) return;
    stored(underlay_.addElement(kUnderlayPoint, x.value, y.value, x.value, y.value));
  }

  // The extrusion direction (210/220/230); anything but +Z puts the entity in its own plane.
  struct Extrusion {
    Value x, y, z{1, false, 0};
    bool isWorld() const { return x.value == 0 && y.value == 0 && z.value == 1; }
    void take(Loader& l, const DxfPair& p) {
      if (p.code == 210) l.take(p, x);
      if (p.code == 220) l.take(p, y);
      if (p.code == 230) l.take(p, z);
    }
  };

  // The plan of a plane's coordinates: world X, Y of an object point, and the plan direction of
  // an object direction.
  struct Plane {
    double ax[3] = {1, 0, 0}, ay[3] = {0, 1, 0}, n[3] = {0, 0, 1};
    bool valid = true;
    explicit Plane(const Extrusion& e) {
      if (e.isWorld()) return;
      const double length =
          std::sqrt(e.x.value * e.x.value + e.y.value * e.y.value + e.z.value * e.z.value);
      valid = arbitraryAxes(e.x.value, e.y.value, e.z.value, ax, ay);
      if (!valid) return;
      n[0] = e.x.value / length;
      n[1] = e.y.value / length;
      n[2] = e.z.value / length;
    }
    // The plane lies flat (its normal along ±Z): circles stay circles in the plan.
    bool flat() const { return std::fabs(n[0]) < 1.0 / 64 && std::fabs(n[1]) < 1.0 / 64; }
    bool mirrored() const { return n[2] < 0; }
    void toWorld(double x, double y, double z, double& wx, double& wy) const {
      wx = x * ax[0] + y * ay[0] + z * n[0];
      wy = x * ax[1] + y * ay[1] + z * n[1];
    }
    double worldAngle(double a) const {
      const double c = std::cos(a), s = std::sin(a);
      return std::atan2(c * ax[1] + s * ay[1], c * ax[0] + s * ay[0]);
    }
  };

  void readText() {
    beginEntity();
    Value x, y, z, height, rotation, ax, ay, horizontal, vertical;
    Extrusion extrusion;
    bool hasText = false;
    readEntity([&](const DxfPair& p) {
      switch (p.code) {
        case 10:
          return take(p, x);
        case 20:
          return take(p, y);
        case 30:
          return take(p, z);
        case 40:
          return take(p, height);
        case 50:
          return take(p, rotation);
        case 11:
          return take(p, ax);
        case 21:
          return take(p, ay);
        case 72:
          return take(p, horizontal);
        case 73:
          return take(p, vertical);
        case 1:
          if (!hasText) {
            hasText = true;
            text_.assign(p.value);
          }
          return;
        default:
          return extrusion.take(*this, p);
      }
    });
    if (!keep() || !x.seen || !y.seen) return;
    const Plane plane(extrusion);
    if (!plane.valid) return;
    double angle = rotation.seen ? degrees(rotation.value) : 0;
    // The second alignment point lies on the baseline only for centred, right-aligned,
    // aligned and fitted texts standing on the baseline; then it gives the direction, unless a
    // later rotation does.
    const int h = code(horizontal.value), v = code(vertical.value);
    const bool onBaseline = (h == 1 || h == 2 || h == 3 || h == 5) && v == 0;
    if (ax.seen && ay.seen && onBaseline && (ax.value != x.value || ay.value != y.value) &&
        (!rotation.seen || std::max(ax.line, ay.line) > rotation.line)) {
      angle = positiveAngle(std::atan2(ay.value - y.value, ax.value - x.value));
    }
    double wx = x.value, wy = y.value;
    if (!extrusion.isWorld()) {
      plane.toWorld(x.value, y.value, z.value, wx, wy);
      angle = plane.worldAngle(angle);
    }
    stored(underlay_.addText(wx, wy, angle, height.value,
                             hasText ? underlayText(text_, utf8_) : std::string()));
  }

  void readArc(std::string_view name) {
    beginEntity();
    Value x, y, radius, start, end;
    Extrusion extrusion;
    readEntity([&](const DxfPair& p) {
      switch (p.code) {
        case 10:
          return take(p, x);
        case 20:
          return take(p, y);
        case 40:
          return take(p, radius);
        case 50:
          return take(p, start);
        case 51:
          return take(p, end);
        default:
          return extrusion.take(*this, p);
      }
    });
    if (!keep() || !x.seen || !y.seen) return;
    double s = start.seen ? degrees(start.value) : 0, e = end.seen ? degrees(end.value) : kTwoPi;
    double cx = x.value, cy = y.value;
    if (!extrusion.isWorld()) {
      const Plane plane(extrusion);
      // A circle in a tilted plane is an ellipse in the plan, which the underlay cannot hold.
      if (!plane.valid || !plane.flat()) return leaveOut(std::string(name) + " (OCS)");
      if (plane.mirrored()) {
        // Seen from above the arc runs the other way round: from the mirror of its end.
        cx = -cx;
        const double mirroredStart = std::numbers::pi - e;
        e = std::numbers::pi - s;
        s = mirroredStart;
      }
    }
    stored(underlay_.addArc(cx, cy, s, e, radius.value));
  }

  // One segment of a polyline, straight or (with a bulge) an arc through both vertices.
  void segment(const Vertex& a, const Vertex& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double chord = std::hypot(dx, dy);
    if (!(chord >= kShortestSegment)) return;
    // A bulge too small to part the arc from its chord is a straight segment.
    if (std::fabs(a.bulge) * chord / 2 < 1e-9) {
      stored(underlay_.addElement(kUnderlayLine, a.x, a.y, b.x, b.y));
      return;
    }
    // The bulge is the tangent of a quarter of the arc's angle, positive counter-clockwise.
    // The centre lies off the chord's middle along its left normal.
    const double bulge = a.bulge;
    const double offset = chord / 2 * (1 - bulge * bulge) / (2 * bulge);
    const double cx = (a.x + b.x) / 2 - dy / chord * offset;
    const double cy = (a.y + b.y) / 2 + dx / chord * offset;
    const double radius = std::hypot(a.x - cx, a.y - cy);
    const double angleA = positiveAngle(std::atan2(a.y - cy, a.x - cx));
    const double angleB = positiveAngle(std::atan2(b.y - cy, b.x - cx));
    if (!std::isfinite(radius)) return;
    if (bulge > 0) {
      stored(underlay_.addArc(cx, cy, angleA, angleB, radius));
    } else {
      stored(underlay_.addArc(cx, cy, angleB, angleA, radius));
    }
  }

  void storePath(const std::vector<Vertex>& vertices, bool closed) {
    for (std::size_t k = 1; k < vertices.size() && !stopped(); ++k) {
      segment(vertices[k - 1], vertices[k]);
    }
    if (closed && vertices.size() >= 2 && !stopped()) segment(vertices.back(), vertices.front());
  }

  // Vertices in the plan: a polyline in a mirrored or tilted plane, its bulges turned with it.
  void toPlan(std::vector<Vertex>& vertices, const Extrusion& extrusion, double elevation) {
    if (extrusion.isWorld()) return;
    const Plane plane(extrusion);
    for (Vertex& v : vertices) {
      plane.toWorld(v.x, v.y, elevation, v.x, v.y);
      if (plane.mirrored()) v.bulge = -v.bulge;
    }
  }

  void readPolyline() {
    beginEntity();
    Value flags, elevation;
    Extrusion extrusion;
    readEntity([&](const DxfPair& p) {
      if (p.code == 70) take(p, flags);
      if (p.code == 30) take(p, elevation);
      extrusion.take(*this, p);
    });
    bool good = badLine_ == 0;
    const bool hidden = hiddenEntity_;
    const int f = code(flags.value);
    const bool mesh = (f & (16 | 64)) != 0, threeD = (f & 8) != 0;
    std::vector<Vertex>& vertices = vertices_;
    vertices.clear();
    // The vertices up to SEQEND; each vertex is an entity of its own.
    DxfPair pair;
    while (!stopped() && next(pair)) {
      if (pair.code != 0) continue;
      if (pair.value != "VERTEX") {
        // Without SEQEND the polyline ends where the next entity begins.
        if (pair.value != "SEQEND") reader_.pushBack();
        break;
      }
      beginEntity();
      Value x, y, bulge, vertexFlags;
      readEntity([&](const DxfPair& p) {
        if (p.code == 10) take(p, x);
        if (p.code == 20) take(p, y);
        if (p.code == 42) take(p, bulge);
        if (p.code == 70) take(p, vertexFlags);
      });
      good = good && badLine_ == 0;
      // Spline frame points are not on the curve.
      if ((code(vertexFlags.value) & 16) != 0) continue;
      if (x.seen && y.seen) vertices.push_back({x.value, y.value, bulge.value});
    }
    if (stopped() || !good) return;
    if (hidden) {
      ++hidden_;
      return;
    }
    // Polygon and face meshes are surfaces, not paths.
    if (mesh) return leaveOut("POLYLINE (siatka)");
    if (!threeD) toPlan(vertices, extrusion, elevation.value);
    storePath(vertices, (f & 1) != 0);
  }

  void readLwPolyline() {
    beginEntity();
    Value flags, elevation;
    Extrusion extrusion;
    std::vector<Vertex>& vertices = vertices_;
    vertices.clear();
    std::vector<bool> ySeen;
    readEntity([&](const DxfPair& p) {
      switch (p.code) {
        case 70:
          return take(p, flags);
        case 38:
          return take(p, elevation);
        case 10: {
          Value v;
          take(p, v);
          vertices.push_back({v.value, 0, 0});
          ySeen.push_back(false);
          return;
        }
        case 20:
          if (!vertices.empty() && !ySeen.back()) {
            Value v;
            take(p, v);
            vertices.back().y = v.value;
            ySeen.back() = true;
          }
          return;
        case 42:
          if (!vertices.empty()) {
            Value v;
            take(p, v);
            vertices.back().bulge = v.value;
          }
          return;
        default:
          return extrusion.take(*this, p);
      }
    });
    if (!keep()) return;
    for (bool seen : ySeen) {
      if (!seen) return;
    }
    toPlan(vertices, extrusion, elevation.value);
    storePath(vertices, (code(flags.value) & 1) != 0);
  }

  DxfPairReader& reader_;
  DxfUnderlay& underlay_;
  const UnderlayReadHooks& hooks_;
  std::uintmax_t nextProgress_ = 0;
  bool aborted_ = false;
  bool outOfMemory_ = false;
  bool utf8_ = false;
  std::size_t badLine_ = 0;
  bool layerSeen_ = false;
  bool hiddenEntity_ = false;
  long long hidden_ = 0;
  std::unordered_set<std::string> offLayers_;
  std::vector<std::pair<std::string, long long>> leftOut_;
  std::vector<Vertex> vertices_;
  std::string text_;
};

}  // namespace

std::string underlayText(std::string_view raw, bool utf8) {
  std::string text = utf8 && isValidUtf8(raw) ? std::string(raw) : decodeCp1250(raw);
  text = decodeEscapes(std::move(text));
  if (text.find("%%") == std::string::npos) return text;
  for (const auto& [code, letter] : kPolishCodes) {
    for (std::size_t at = text.find(code); at != std::string::npos;
         at = text.find(code, at + letter.size())) {
      text.replace(at, code.size(), letter);
    }
  }
  return text;
}

UnderlayReadResult readUnderlay(DxfPairReader& reader, DxfUnderlay& underlay,
                                const UnderlayReadHooks& hooks) {
  return Loader(reader, underlay, hooks).run();
}

}  // namespace merilon
