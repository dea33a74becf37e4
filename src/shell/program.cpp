#include "shell/program.h"

#include <exception>
#include <new>

#include "points/numeric_helpers.h"

namespace merilon {

Program::Program(Platform& platform_, ProgramOptions options_)
    : platform(platform_),
      options(std::move(options_)),
      folders(options.programFolder, options.userSettingsFolder),
      points(platform_),
      main(*this),
      FormProjekty(*this),
      Formtrojpomoc(platform_, options.programFolder),
      FormMERIInfo(platform_) {
  GRAFIKA.pointTools = &pointTools;
  FormPrzekroje.beforePrint = [this] { GRAFIKA.cancelPrintAtScale(); };
  pointsReplaced = [this](bool saved) { pointTools.pointsReplaced(saved); };
}

bool Program::start() {
  if (!main.FormCreate()) return false;
  if (!alignment.initialise(platform)) return false;
  Formtrojpomoc.FormCreate();
  if (!options.initialDataFolder.empty()) main.dataFolder = options.initialDataFolder;
  return true;
}

void Program::runHandler(const std::function<void()>& handler) {
  auto recover = [this] {
    platform.setBusyCursor(false);
    main.enableCommands();
    main.progressPosition(0);
  };
  try {
    handler();
  } catch (const std::bad_alloc&) {
    recover();
    showMessage(platform, MessageIcon::Error, MessageButtons::Ok, "Błąd, alokacji pamięci",
                "Brak pamięci do wykonania polecenia");
  } catch (const std::exception& e) {
    recover();
    showMessage(platform, MessageIcon::Error, MessageButtons::Ok, "Błąd", e.what());
  }
}

}  // namespace merilon
