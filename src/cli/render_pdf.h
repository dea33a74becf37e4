// merilon-cli render to a PDF file: the drawing window's print of the whole view on an A4 page,
// or with --scale N --corner X,Y its print at 1 : N with the page's lower-left corner at world
// X, Y.
#pragma once

#include <string>

#include "cli/cli_args.h"

namespace merilon {
class TGRAFIKA;
}

namespace merilon::cli {

class CliPlatform;

struct PdfRender {
  bool pdf = false;      // OUT ends in ".pdf" (any case)
  bool atScale = false;  // --scale and --corner given
  double scale = 0;
  double cornerX = 0, cornerY = 0;
};

// Reads the output name and the print options into `render`: kExitOk, or the status of the
// message printed (the options without a PDF output, one without the other, bad numbers).
int readPdfRender(const CliArgs& args, const std::string& out, PdfRender& render);

// Prints the drawing window's picture into the file `out` through the drawing window's print
// commands: kExitOk or the status of the message printed.
int printPdf(TGRAFIKA& drawing, CliPlatform& platform, const std::string& out,
             const PdfRender& render);

}  // namespace merilon::cli
