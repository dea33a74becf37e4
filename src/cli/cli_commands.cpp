#include "cli/cli_commands.h"

#include <cstdio>

namespace merilon::cli {

const std::vector<CliCommand>& cliCommands() {
  static const std::vector<CliCommand> commands = {
      {"import",
       "import INPUT... -o OUT.meri [--append POINTS.meri] [--separator C] [--x N] [--y N] "
       "[--z N] [--symbol N] [--type N] [--force]",
       &runImport},
      {"points", "points POINTS.meri", &runPoints},
      {"export-txt", "export-txt POINTS.meri -o OUT.txt [--force]", &runExportTxt},
      {"station", "station ALIGNMENT [--alignment-name NAZWA] CHAINAGE...", &runStation},
      {"project", "project ALIGNMENT [--alignment-name NAZWA] X Y", &runProject},
      {"sections",
       "sections POINTS.meri ALIGNMENT -o OUT.TER [--from C] [--to C] [--left W] [--right W] "
       "[--range R] [--accuracy A] [--single D] [--boundary-codes] [--axis-code S] "
       "[--pavement1 CODE] [--pavement2 CODE] [--humus1 CODE] [--humus2 CODE] "
       "[--pavement1-thickness T] [--pavement2-thickness T] [--humus1-thickness T] "
       "[--humus2-thickness T] [--alignment-name NAZWA] [--force]",
       &runSections},
      {"export-dxf",
       "export-dxf POINTS.meri -o OUT.dxf [--points] [--symbols] [--heights] [--numbers] "
       "[--sections FILE.TER --alignment ALIGNMENT] [--label-height H] "
       "[--chainage-label-height H] [--force]",
       &runExportDxf},
      {"dxf2txt", "dxf2txt INPUT.dxf -o OUT.txt [--force]", &runDxf2Txt},
      {"render",
       "render POINTS.meri -o OUT.png|OUT.pdf [--size WxH] [--layers LIST] [--alignment FILE] "
       "[--sections FILE.TER] [--angle DEG] [--window XMIN,YMIN,XMAX,YMAX] [--underlay FILE.dxf] "
       "[--scale N --corner X,Y] [--force]",
       &runRender},
      {"sections-pdf",
       "sections-pdf FILE.TER -o OUT.pdf [--vertical-exaggeration N] [--force]",
       &runSectionsPdf},
  };
  return commands;
}

int cliFail(int status, const std::string& text) {
  std::fprintf(stderr, "merilon-cli: %s\n", text.c_str());
  return status;
}

}  // namespace merilon::cli
