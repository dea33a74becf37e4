// The cross-section viewer on any file taken for a .TER file: it is read as the viewer reads
// it, every section it accepts is drawn on the surface (equal and exaggerated) and on a
// printed page. Every shown section must have the points the file gave it.
#include "alignment/section_viewer.h"

#include "fuzz_program.h"

using namespace merilon;
using namespace merilon::fuzzing;

namespace {

// Measures texts like a font of fixed width and draws nothing.
class NullCanvas : public Canvas {
 public:
  NullCanvas(int w, int h) : w_(w), h_(h) {}
  int width() const override { return w_; }
  int height() const override { return h_; }
  int fontPixelsPerInch() const override { return 96; }
  void setPen(Rgb, int, PenStyle) override {}
  void setPenMode(PenMode) override {}
  void setBrush(Rgb, bool) override {}
  void moveTo(int, int) override {}
  void lineTo(int, int) override {}
  void rectangle(int, int, int, int) override {}
  void setFont(const std::string&, int size) override { size_ = size; }
  int textWidth(const std::string& text) override { return static_cast<int>(text.size()) * size_; }
  int maxCharWidth() override { return size_; }
  void drawText(int, int, const std::string&, Rgb, int) override {}
  void drawMarkers(std::span<const Marker>) override {}

 private:
  int w_, h_, size_ = 10;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzProgram& p = sharedProgram();
  TFormPrzekroje& viewer = p.program->FormPrzekroje;
  if (!viewer.openFile(p.folder.put("teren.TER", asText(data, size)))) return 0;
  NullCanvas surface(800, 500), page(1123, 794);
  const std::size_t n = viewer.sections().sections.size();
  viewer.FormKeyDown(TFormPrzekroje::Key::First);
  for (std::size_t k = 0; k < n && k < 50; ++k) {
    viewer.RadioButton1Click();
    viewer.paint(surface);
    viewer.RadioButton2Click();
    viewer.paint(surface);
    viewer.printShownSection(page);
    if (viewer.current() != static_cast<int>(k)) propertyFailed("the viewer lost its place");
    viewer.Button2Click();
  }
  return 0;
}
