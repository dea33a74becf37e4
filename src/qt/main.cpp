// merilon: the desktop program.
#include <QApplication>
#include <QByteArray>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

#include "about_view.h"
#include "application_setup.h"
#include "cross_section_dialog_view.h"
#include "description_view.h"
#include "drawing_dialogs_view.h"
#include "drawing_window_view.h"
#include "dxf_export_dialog_view.h"
#include "main_window_view.h"
#include "point_dialogs_view.h"
#include "project_catalogue_view.h"
#include "qt_platform.h"
#include "qt_text.h"
#include "section_viewer_view.h"
#include "shell/program.h"
#include "shell/program_folder.h"
#include "start_arguments.h"

namespace {

constexpr const char* kNoDisplay =
    "merilon: brak ekranu graficznego; program potrzebuje pulpitu graficznego (X11 lub Wayland)\n";

// Qt's messages while it looks for a window system. Without one, Qt explains over several lines
// that reinstalling may help; the user is told in one line what is really missing instead.
std::vector<std::pair<QtMsgType, QString>> startupMessages;
QtMessageHandler defaultHandler = nullptr;

void startupHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg && text.contains("platform plugin")) {
    std::fputs(kNoDisplay, stderr);
    std::_Exit(1);
  }
  if (QByteArray(context.category ? context.category : "").startsWith("qt.qpa")) {
    startupMessages.emplace_back(type, text);
  } else {
    defaultHandler(type, context, text);
  }
}

// No window system named anywhere: neither in the environment nor by Qt's -platform option.
bool noDisplayNamed(int argc, char** argv) {
  for (int k = 1; k < argc; ++k) {
    if (std::string_view(argv[k]) == "-platform") return false;
  }
  return qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
         qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

}  // namespace

int main(int argc, char** argv) {
  if (noDisplayNamed(argc, argv)) {
    std::fputs(kNoDisplay, stderr);
    return 1;
  }
  defaultHandler = qInstallMessageHandler(startupHandler);
  QApplication app(argc, argv);
  qInstallMessageHandler(defaultHandler);
  for (const auto& [type, text] : startupMessages) {
    defaultHandler(type, QMessageLogContext(), text);
  }
  startupMessages.clear();
  merilon::qt::setUpApplication(app);

  merilon::ProgramOptions options;
  options.programFolder =
      merilon::findProgramFolder(merilon::qt::fromQt(QApplication::applicationDirPath()));
  std::vector<std::string> words;
  const QStringList args = QApplication::arguments();
  for (int k = 1; k < args.size(); ++k) words.push_back(merilon::qt::fromQt(args[k]));
  const merilon::qt::StartArguments start = merilon::qt::parseStartArguments(words);
  if (start.dataFolder) options.initialDataFolder = *start.dataFolder;
  if (start.programFolder) options.programFolder = *start.programFolder;
  // The open dialogs propose the file by its full name, whatever the starting folder was.
  std::vector<std::string> startFiles;
  for (const std::string& f : start.files) {
    startFiles.push_back(
        merilon::qt::fromQt(QFileInfo(QString::fromStdString(f)).absoluteFilePath()));
  }

  merilon::qt::QtPlatform platform;
  merilon::Program program(platform, options);
  if (!program.start()) return 1;
  // The windows in their documented order of creation.
  merilon::qt::MainWindowView mainView(program, platform);
  merilon::qt::ProjectCatalogueView catalogueView(program, platform, &mainView);
  merilon::qt::DescriptionView descriptionView(program, platform);
  // The description viewer is a window of its own; it must not keep the program alive once the
  // main window has closed.
  descriptionView.setAttribute(Qt::WA_QuitOnClose, false);
  merilon::qt::CrossSectionDialogView crossSectionView(program, platform, &mainView);
  merilon::qt::AboutView aboutView(program, platform, &mainView);
  merilon::qt::DrawingWindowView drawingView(program, platform);
  drawingView.setAttribute(Qt::WA_QuitOnClose, false);
  merilon::qt::DrawingParamsView drawingParamsView(program, platform, &drawingView);
  merilon::qt::PointDataView pointDataView(program, platform, &drawingView);
  merilon::qt::RotationDialogView rotationView(program, platform, &drawingView);
  merilon::qt::PointSearchView pointSearchView(program, platform, &drawingView);
  merilon::qt::DxfExportDialogView dxfExportView(program, platform, &mainView);
  merilon::qt::PointGenerationView pointGenerationView(program, platform, &drawingView);
  merilon::qt::SectionViewerView sectionViewerView(program, platform);
  sectionViewerView.setAttribute(Qt::WA_QuitOnClose, false);
  mainView.openAfterStart(std::move(startFiles));
  merilon::qt::centreOnScreen(mainView);
  mainView.show();
  return QApplication::exec();
}
