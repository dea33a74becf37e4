// DxfWriter: the fixed blocks of lines of a release-12 DXF file, each operation appending one
// block with its own group-code widths. Lines are code page 1250 with CR LF; coordinates go
// through the DXFWY output mapping and the FORXY / FORMZ number formats.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_file.h"
#include "shell/settings.h"

namespace merilon {

// The DXFWY mapping from survey to drawing coordinates, the inverse of the DXFWE import mapping:
// x ↦ (x − surveyOriginX) / S + drawingOriginX, y likewise, z ↦ z / F. The defaults map nothing.
struct DxfOutputMapping {
  explicit DxfOutputMapping(const CoordinateMapping& m) : m_(m) {}
  double toDxfX(double x) const {
    return m_.scale == 1 && m_.shiftX == 0 ? x
                                           : (x - m_.surveyOriginX) / m_.scale + m_.drawingOriginX;
  }
  double toDxfY(double y) const {
    return m_.scale == 1 && m_.shiftY == 0 ? y
                                           : (y - m_.surveyOriginY) / m_.scale + m_.drawingOriginY;
  }
  double toDxfZ(double z) const { return m_.heightFactor == 1 ? z : z / m_.heightFactor; }

 private:
  CoordinateMapping m_;
};

class DxfWriter {
 public:
  // Writes through `file`, which the caller opened and commits.
  DxfWriter(SafeFileWriter& file, const Settings& settings);
  ~DxfWriter();
  DxfWriter(const DxfWriter&) = delete;
  DxfWriter& operator=(const DxfWriter&) = delete;

  void writeHeader();
  void writeExtents(double xmin, double ymin, double zmin, double xmax, double ymax, double zmax);
  // Lines of a support text (code page 1250 bytes), each ended with CR LF.
  void copySupportLines(const std::vector<std::string>& cp1250Lines);
  void beginLayerTable(int count);
  void writeLayer(std::string_view name, int colour);
  void beginEntities();
  void writePoint(std::string_view layer, int colour, double x, double y, double z);
  // `text` is code page 1250 bytes.
  void writeText(std::string_view layer, std::string_view text, int colour, double x, double y,
                 double z, double height, double angle);
  // A segment with heights at both ends, as the LINE entity of release 12.
  void write3dLine(std::string_view layer, int colour, double x1, double y1, double z1, double x2,
                   double y2, double z2);
  void endSection();
  void writeEof();

  // Hands what is buffered to the file.
  void flush();

 private:
  // Type, layer, line type and colour: how every entity begins.
  void entityHead(std::string_view type, std::string_view layer, std::string_view lineTypeCode,
                  int colour);
  // Groups 10/20/30 of the first point or 11/21/31 of the second, mapped and formatted.
  void position(bool second, double x, double y, double z);
  void line(std::string_view text);
  void xLine(double x);
  void yLine(double y);
  void zLine(double z);
  void heightLine(double v);  // height format, not mapped
  void intLine(long long v);

  SafeFileWriter& file_;
  DxfOutputMapping mapping_;
  int xyDecimals_;
  int zDecimals_;
  std::string buffer_;
  std::string headType_, headLayer_, headLineType_, headText_;
  int headColour_ = 0;
  double lastHeight_ = 0;
  std::string lastHeightText_;
};

}  // namespace merilon
