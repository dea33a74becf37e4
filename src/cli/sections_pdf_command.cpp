// merilon-cli sections-pdf: every cross-section of a .TER file on A4 pages, several a page with
// chainage, scale and scale bar, drawn by the same page as the viewer's printout, as vector
// drawings on the PDF printer's pages.
#include <cstdio>
#include <filesystem>

#include "alignment/cross_section_text.h"
#include "alignment/section_sheet.h"
#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "cli/cli_program.h"
#include "platform/number_text.h"
#include "platform/text_file.h"
#include "points/record_parser.h"

#ifdef MERILON_HAVE_QT_CANVAS
#include <QGuiApplication>

#include "pdf_file_printer.h"
#endif

namespace merilon::cli {
namespace {

constexpr double kLargestExaggeration = 1000;

}  // namespace

int runSectionsPdf(const std::vector<std::string>& words, const CliEnvironment& env) {
  (void)env;
  CliArgs args;
  std::string error;
  if (!parseCliArgs(words, {"force"}, {"vertical-exaggeration"}, args, error)) {
    return cliFail(kExitUsage, error);
  }
  if (args.positional.size() != 1 || !args.option("o")) {
    return cliFail(kExitUsage, "użycie: merilon-cli sections-pdf FILE.TER -o OUT.pdf");
  }
  double exaggeration = 1;
  if (auto v = args.option("vertical-exaggeration")) {
    const auto value = parseDouble(*v);
    if (!value || *value < 1 || *value > kLargestExaggeration) {
      return cliFail(kExitInput, "niepoprawne przewyższenie " + *v + " (liczba od 1 do 1000)");
    }
    exaggeration = *value;
  }
  const std::string input = args.positional[0];
  if (const int status = checkInputFile(input); status != kExitOk) return status;
  const std::string out = *args.option("o");
  if (const int status = checkOutputFile(out, args.has("force")); status != kExitOk) return status;
  std::vector<std::string> lines;
  if (!readCp1250Lines(input, lines, error)) {
    return cliFail(kExitInput, "nie można odczytać pliku " + input + ": " + error);
  }
  RecordParser parser;
  const CrossSectionText text = readCrossSectionText(lines, parser);
  const std::string where =
      text.problemLine > 0 ? input + ", wiersz " + formatInt(text.problemLine) + ": " + text.problem
                           : std::string();
  if (text.sections.empty()) {
    return cliFail(kExitInput, "plik " + input + " nie zawiera przekrojów poprzecznych terenu" +
                                   (where.empty() ? "" : " (" + where + ")"));
  }
  if (!where.empty()) {
    cliFail(kExitOk, where + "; drukowane są przekroje wczytane do tego miejsca (" +
                         formatInt(static_cast<long long>(text.sections.size())) + ")");
  }
#ifndef MERILON_HAVE_QT_CANVAS
  (void)exaggeration;
  return cliFail(kExitUsage, "ta wersja merilon-cli nie rysuje (zbudowana bez Qt)");
#else
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char name[] = "merilon-cli";
  char* argv[] = {name, nullptr};
  QGuiApplication app(argc, argv);

  const int pages = sectionSheetPageCount(text.sections.size());
  // The printer writes the file whole or leaves an old one untouched.
  qt::PdfFilePrinter printer(out);
  bool written = false;
  if (Canvas* canvas = printer.beginDocument("Przekroje poprzeczne terenu")) {
    SectionSheetPage page;
    page.heading =
        "Przekroje poprzeczne terenu: " + std::filesystem::path(input).filename().string();
    page.pageCount = pages;
    page.exaggeration = exaggeration;
    bool drawn = true;
    for (int k = 0; drawn && k < pages; ++k) {
      drawn = k == 0 || printer.newPage();
      page.pageNumber = k + 1;
      page.sections.clear();
      for (std::size_t s = static_cast<std::size_t>(k) * kSectionsPerPage;
           s < text.sections.size() && page.sections.size() < kSectionsPerPage; ++s) {
        page.sections.push_back(&text.sections[s]);
      }
      if (drawn) drawSectionSheetPage(*canvas, page);
    }
    if (drawn) {
      written = printer.endDocument();
    } else {
      printer.abortDocument();
    }
  }
  if (!written) {
    return cliFail(kExitInput, "nie można zapisać pliku " + out +
                                   (printer.error().empty() ? "" : ": " + printer.error()));
  }
  std::printf("Zapisano przekroje: %zu, strony: %d, plik %s\n", text.sections.size(), pages,
              out.c_str());
  return kExitOk;
#endif
}

}  // namespace merilon::cli
