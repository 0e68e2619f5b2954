// The desktop program's entry: the text table takes "_db" from the command line, the
// application object runs the start-up sequence, the event loop runs, and the settings are
// written after the main window closed.

#include "app/CMainFrame.h"
#include "app/CRPSApp.h"
#include "lang/CLanguageTable.h"
#include "views/CQtUserInterface.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

// Without a display Qt would abort in its platform plugin; say what is missing instead. A local
// X display counts when its socket is there; a remote or Wayland display is trusted.
bool displayAvailable() {
#ifdef Q_OS_WIN
  return true; // a Windows desktop always has its screen
#else
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    return true;
  const QString display = qEnvironmentVariable("DISPLAY");
  if (display.isEmpty()) return false;
  if (!display.startsWith(QLatin1Char(':'))) return true;
  const QString number = display.mid(1).section(QLatin1Char('.'), 0, 0);
  return QFileInfo(QStringLiteral("/tmp/.X11-unix/X") + number).exists();
#endif
}

// --version and --help answer without a display (help2man reads them for the man page).
bool answeredWithoutWindow(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view word = argv[i];
    if (word == "--version") {
      std::fputs("vpr40t " VPR_VERSION "\n", stdout);
      return true;
    }
    if (word == "--help" || word == "-h") {
      std::fputs("Usage: vpr40t [FILE.dat] [demo] [_db]\n"
                 "Program the HX series of hand-held VHF and UHF radios.\n\n"
                 "  FILE.dat   open this data file at start\n"
                 "  demo       demonstration mode: the test mode runs without a radio\n"
                 "  _db        show text identifiers instead of texts\n"
                 "  --help     show this help and exit\n"
                 "  --version  show the version and exit\n",
                 stdout);
      return true;
    }
  }
  return false;
}

} // namespace

int main(int argc, char** argv) {
  if (answeredWithoutWindow(argc, argv)) return 0;
  if (!displayAvailable()) {
    std::fputs("vpr40t: no display to show the program on (DISPLAY is not set or cannot be reached); "
               "vpr40t-cli works without one.\n",
               stderr);
    return 1;
  }
  vpr::languageTable().applyCommandLine(argc, argv);
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("VPR-40T"));
  QApplication::setOrganizationName(QStringLiteral("VESKARO"));

  const QString programFolder = QCoreApplication::applicationDirPath();
  vpr::CRPSApp::Options options;
  options.documentsFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  options.programFolder = programFolder;
  // The language file and the manual: beside the program (as installed on Windows), in the data
  // folder of an install (wherever its prefix is), then in the source tree for a program run from
  // its build tree.
  const QString installedData =
      QDir::cleanPath(QDir(programFolder).filePath(QStringLiteral("../share/vpr40t")));
  options.helpFolders = {programFolder, installedData, QStringLiteral(VPR_DATA_DIR),
                         QStringLiteral(VPR_SOURCE_RES_DIR)};
  vpr::languageTable().setFallbackFolders(
      {".", installedData.toStdString(), VPR_DATA_DIR, VPR_SOURCE_RES_DIR});
  // For training and tests: the selected port opens this device instead (a virtual radio).
  options.portDeviceOverride = qEnvironmentVariable("VPR40T_PORT_DEVICE");

  vpr::CQtUserInterface ui;
  QStringList words = QCoreApplication::arguments();
  words.removeFirst();
  vpr::CRPSApp app(ui, words, options);
  if (!app.startup()) return EXIT_FAILURE;
  ui.setParentWindow(app.mainFrame());
  const int result = QApplication::exec();
  app.shutdown();
  return result;
}
