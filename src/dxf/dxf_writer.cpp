#include "dxf/dxf_writer.h"

#include <charconv>

#include "platform/number_text.h"

namespace merilon {
namespace {

constexpr std::size_t kFlushSize = 1 << 20;

}  // namespace

DxfWriter::DxfWriter(SafeFileWriter& file, const Settings& settings)
    : file_(file),
      mapping_(settings.dxfOut),
      xyDecimals_(settings.xyDecimals),
      zDecimals_(settings.zDecimals) {
  buffer_.reserve(kFlushSize + 4096);
}

DxfWriter::~DxfWriter() { flush(); }

void DxfWriter::flush() {
  if (buffer_.empty()) return;
  file_.writeBytes(buffer_);
  buffer_.clear();
}

void DxfWriter::line(std::string_view text) {
  buffer_ += text;
  buffer_ += "\r\n";
  if (buffer_.size() >= kFlushSize) flush();
}

void DxfWriter::xLine(double x) {
  appendFixed(buffer_, mapping_.toDxfX(x), xyDecimals_);
  line("");
}

void DxfWriter::yLine(double y) {
  appendFixed(buffer_, mapping_.toDxfY(y), xyDecimals_);
  line("");
}

void DxfWriter::zLine(double z) {
  appendFixed(buffer_, mapping_.toDxfZ(z), zDecimals_);
  line("");
}

void DxfWriter::heightLine(double v) {
  // Text heights and angles repeat from one label to the next.
  if (v != lastHeight_ || lastHeightText_.empty()) {
    lastHeight_ = v;
    lastHeightText_.clear();
    appendFixed(lastHeightText_, v, zDecimals_);
  }
  line(lastHeightText_);
}

void DxfWriter::intLine(long long v) {
  char digits[24];
  const auto res = std::to_chars(digits, digits + sizeof digits, v);
  line(std::string_view(digits, static_cast<std::size_t>(res.ptr - digits)));
}

void DxfWriter::writeHeader() {
  for (const char* l : {"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER", "  1", "AC1009",
                        "  9", "$INSBASE", " 10", "0.0", " 20", "0.0", " 30", "0.0", "  9"}) {
    line(l);
  }
}

void DxfWriter::writeExtents(double xmin, double ymin, double zmin, double xmax, double ymax,
                             double zmax) {
  line("$EXTMIN");
  line(" 10");
  xLine(xmin);
  line(" 20");
  yLine(ymin);
  line(" 30");
  zLine(zmin);
  line("  9");
  line("$EXTMAX");
  line(" 10");
  xLine(xmax);
  line(" 20");
  yLine(ymax);
  line(" 30");
  zLine(zmax);
  line("  9");
  line("$LIMMIN");
  line(" 10");
  xLine(xmin);
  line(" 20");
  yLine(ymin);
  line("  9");
  line("$LIMMAX");
  line(" 10");
  xLine(xmax);
  line(" 20");
  yLine(ymax);
  line("  9");
}

void DxfWriter::copySupportLines(const std::vector<std::string>& cp1250Lines) {
  for (const auto& l : cp1250Lines) line(l);
}

void DxfWriter::beginLayerTable(int count) {
  line("TABLE");
  line("  2");
  line("LAYER");
  line("  70");
  intLine(count);
  line("  0");
}

void DxfWriter::writeLayer(std::string_view name, int colour) {
  line("LAYER");
  line("  2");
  line(name);
  line("  70");
  line("    64");
  line(" 62");
  buffer_ += "     ";
  intLine(colour);
  line("  6");
  line("CONTINUOUS");
  line("0");
}

void DxfWriter::beginEntities() {
  line("  0");
  line("SECTION");
  line("  2");
  line("ENTITIES");
  line("  0");
}

void DxfWriter::entityHead(std::string_view type, std::string_view layer,
                           std::string_view lineTypeCode, int colour) {
  // The head repeats from one entity to the next: it is put together once per run of entities.
  if (type != headType_ || layer != headLayer_ || lineTypeCode != headLineType_ ||
      colour != headColour_ || headText_.empty()) {
    headType_ = type;
    headLayer_ = layer;
    headLineType_ = lineTypeCode;
    headColour_ = colour;
    headText_.clear();
    for (std::string_view part : {type, std::string_view("  8"), layer, lineTypeCode,
                                  std::string_view("CONTINUOUS"), std::string_view("  62")}) {
      headText_ += part;
      headText_ += "\r\n";
    }
    headText_ += formatInt(colour);
    headText_ += "\r\n";
  }
  buffer_ += headText_;
}

void DxfWriter::position(bool second, double x, double y, double z) {
  buffer_ += second ? " 11\r\n" : " 10\r\n";
  appendFixed(buffer_, mapping_.toDxfX(x), xyDecimals_);
  buffer_ += second ? "\r\n 21\r\n" : "\r\n 20\r\n";
  appendFixed(buffer_, mapping_.toDxfY(y), xyDecimals_);
  buffer_ += second ? "\r\n 31\r\n" : "\r\n 30\r\n";
  appendFixed(buffer_, mapping_.toDxfZ(z), zDecimals_);
  buffer_ += "\r\n";
}

void DxfWriter::writePoint(std::string_view layer, int colour, double x, double y, double z) {
  entityHead("POINT", layer, " 6", colour);
  position(false, x, y, z);
  line(" 0");
}

void DxfWriter::writeText(std::string_view layer, std::string_view text, int colour, double x,
                          double y, double z, double height, double angle) {
  entityHead("TEXT", layer, " 6", colour);
  position(false, x, y, z);
  buffer_ += " 40\r\n";
  heightLine(height);
  buffer_ += " 1\r\n";
  buffer_ += text;
  buffer_ += "\r\n 50\r\n";
  heightLine(angle);
  line(" 0");
}

void DxfWriter::write3dLine(std::string_view layer, int colour, double x1, double y1, double z1,
                            double x2, double y2, double z2) {
  // Release 12 knows no 3DLINE entity (readers drop it); its LINE carries both heights.
  entityHead("LINE", layer, "  6", colour);
  position(false, x1, y1, z1);
  position(true, x2, y2, z2);
  line("  0");
}

void DxfWriter::endSection() { line("ENDSEC"); }

void DxfWriter::writeEof() {
  line(" 0");
  line("EOF");
}

}  // namespace merilon
