#include "cli/render_pdf.h"

#include <algorithm>
#include <cctype>

#include "cli/cli_commands.h"
#include "cli/cli_platform.h"
#include "drawing/drawing_window.h"
#include "platform/number_text.h"

#ifdef MERILON_HAVE_QT_CANVAS
#include "pdf_file_printer.h"
#endif

namespace merilon::cli {
namespace {

// The lower bound of the print scale in "Parametry rysowania".
constexpr double kSmallestScale = 50;
constexpr double kLargestScale = 100000000;

bool endsWithPdf(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  std::transform(tail.begin(), tail.end(), tail.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return tail == ".pdf";
}

bool parseCorner(const std::string& text, double& x, double& y) {
  const std::size_t comma = text.find(',');
  if (comma == std::string::npos) return false;
  const auto a = parseDouble(std::string_view(text).substr(0, comma));
  const auto b = parseDouble(std::string_view(text).substr(comma + 1));
  if (!a || !b) return false;
  x = *a;
  y = *b;
  return true;
}

}  // namespace

int readPdfRender(const CliArgs& args, const std::string& out, PdfRender& render) {
  render.pdf = endsWithPdf(out);
  const auto scale = args.option("scale");
  const auto corner = args.option("corner");
  if (!scale && !corner) return kExitOk;
  if (!render.pdf) return cliFail(kExitUsage, "--scale i --corner drukują tylko do pliku .pdf");
  if (!scale || !corner) return cliFail(kExitUsage, "--scale i --corner podaje się razem");
  const auto n = parseDouble(*scale);
  if (!n || *n < kSmallestScale || *n > kLargestScale) {
    return cliFail(kExitInput, "niepoprawna skala " + *scale + " (od 50 do 100000000)");
  }
  if (!parseCorner(*corner, render.cornerX, render.cornerY)) {
    return cliFail(kExitInput, "niepoprawny narożnik " + *corner + " (X,Y)");
  }
  render.atScale = true;
  render.scale = *n;
  return kExitOk;
}

#ifdef MERILON_HAVE_QT_CANVAS
int printPdf(TGRAFIKA& drawing, CliPlatform& platform, const std::string& out,
             const PdfRender& render) {
  qt::PdfFilePrinter printer(out);
  platform.printerDevice = &printer;
  if (render.atScale) {
    drawing.params.printScale = render.scale;
    drawing.ToolButton27Click();
    drawing.printAtCorner(render.cornerX, render.cornerY);
  } else {
    drawing.ToolButton30Click();
  }
  platform.printerDevice = nullptr;
  if (!printer.written()) {
    return cliFail(kExitInput, "nie można zapisać pliku " + out +
                                   (printer.error().empty() ? "" : ": " + printer.error()));
  }
  return kExitOk;
}
#else
int printPdf(TGRAFIKA&, CliPlatform&, const std::string& out, const PdfRender&) {
  return cliFail(kExitUsage, "ta wersja merilon-cli nie drukuje do pliku " + out);
}
#endif

}  // namespace merilon::cli
