#include "app/CRPSApp.h"

#include "app/CAppStyle.h"
#include "app/CHelpSystem.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/ProgramStop.h"
#include "lang/CLanguageTable.h"
#include "link/CRadioComm.h"
#include "model/CurrentFile.h"
#include "model/NumberText.h"
#include "model/RadioData.h"
#include "views/CQtUserInterface.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QScreen>
#include <QTranslator>

#include <clocale>
#include <string_view>

namespace vpr {

namespace {
CRPSApp*& runningApp() {
  static CRPSApp* app = nullptr;
  return app;
}

// The folder with a separator at its end, in the platform's own spelling (C:\...\ on Windows),
// as messages show it to the user.
QString withSeparator(const QString& folder) {
  return QDir::toNativeSeparators(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'));
}

// The decimal separator of the language the program runs in: the user's own regional setting
// when the system's locale is in that language (it may be a comma locale or not: de_CH uses a
// point), otherwise the language's usual one.
char decimalSeparatorOf(const std::string& languageName) {
  const CLanguageTable::LanguageCode* language = CLanguageTable::findLanguage(languageName);
  const QLocale system = QLocale::system();
  if (!language || system.language() == QLocale(QString::fromLatin1(language->isoCode)).language()) {
    const QString point = system.decimalPoint();
    return point.isEmpty() ? '.' : point.at(0).toLatin1();
  }
  return language->decimalSeparator;
}

// Qt's own windows (the print, page setup and file dialogs) in the same language, where Qt's
// translation of that language is installed: in translations/ beside the program (where the
// Windows installer puts it), else in Qt's own folder; otherwise they stay English. A later start
// in the same process (the tests start the program several times) replaces the earlier one.
void installQtTranslation(const std::string& languageName) {
  static QPointer<QTranslator> installed;
  delete installed; // a deleted translator leaves the application's list by itself
  const CLanguageTable::LanguageCode* language = CLanguageTable::findLanguage(languageName);
  if (!language || std::string_view(language->isoCode) == "en") return;
  installed = new QTranslator(qApp);
  const QLocale locale(QString::fromLatin1(language->isoCode));
  for (const QString& folder : {QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
                                QLibraryInfo::path(QLibraryInfo::TranslationsPath)}) {
    if (installed->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
      QCoreApplication::installTranslator(installed);
      return;
    }
  }
}

} // namespace

CRPSApp::CRPSApp(UserInterface& ui, const QStringList& arguments, Options options)
    : ui_(ui), arguments_(arguments), options_(std::move(options)) {
  runningApp() = this;
}

CRPSApp::~CRPSApp() {
  stop_.reset();
  mainFrame_.reset();
  if (runningApp() == this) runningApp() = nullptr;
}

CRPSApp* CRPSApp::instance() {
  return runningApp();
}

QString CRPSApp::defaultDataFolder(const QString& documentsFolder, const QString& programFolder) {
  if (!documentsFolder.isEmpty()) {
    // A fresh account may not have its documents folder yet: it is created along with ours,
    // so that the first Save has a folder to write into.
    const QString folder = QDir(documentsFolder).filePath(QStringLiteral("Veskaro/VPR-40T"));
    if (QDir().mkpath(folder) && QFileInfo(folder).isDir()) return withSeparator(folder);
    if (QFileInfo(documentsFolder).isDir()) return withSeparator(documentsFolder);
  }
  const QString data = QDir(programFolder).filePath(QStringLiteral("DATA"));
  return withSeparator(QFileInfo(data).isDir() ? data : programFolder);
}

QFont CRPSApp::chooseFont(std::initializer_list<FontCandidate> candidates) {
  // The installed family names, compared directly: hasFamily would also resolve every name as a
  // font-configuration alias, which costs more than the rest of start-up.
  const QStringList installed = QFontDatabase::families();
  for (const FontCandidate& candidate : candidates) {
    const QString face = QString::fromLatin1(candidate.face);
    if (!face.isEmpty() && !installed.contains(face, Qt::CaseInsensitive)) continue;
    QFont font = face.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QFont(face);
    font.setFixedPitch(true);
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(candidate.pixelHeight);
    font.setWeight(QFont::Normal);
    return font;
  }
  return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

void CRPSApp::createFonts() {
  fixedFont_ = chooseFont({{"Courier", 13}, {"Courier New", 17}, {"", 17}});
  lcdFont_ = chooseFont({{"RPS Symbols LCD Fonts 40T", 13}, {"Courier", 13}, {"Courier New", 17}, {"", 17}});
  // The views reach the fonts through the application's properties (they do not depend on app/).
  qApp->setProperty("vprFixedFont", fixedFont_);
  qApp->setProperty("vprLcdFont", lcdFont_);
}

bool CRPSApp::startup() {
  // 0. A stop signal or the end of the desktop session leaves a radio on the line safe first.
  stop_ = std::make_unique<ProgramStop>([this] {
    if (auto* qtUi = dynamic_cast<CQtUserInterface*>(&ui_)) qtUi->setUnattended();
  });
  // 1. Command line: "demo", and a data file to open ("_db" was taken by the text table).
  QString fileToOpen;
  for (const QString& word : arguments_) {
    if (word.compare(QLatin1String("demo"), Qt::CaseInsensitive) == 0)
      demonstrationMode_ = true;
    else if (word.compare(QLatin1String("_db"), Qt::CaseInsensitive) != 0 &&
             !word.startsWith(QLatin1Char('-')))
      fileToOpen = word;
  }

  // 2. Dates and times follow the user's locale; numbers are formatted by the core with the
  // chosen language's decimal separator, handed over once the language is known (step 6).
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "C");

  // The desktop style, with dialog buttons that carry text only.
  if (!qobject_cast<CAppStyle*>(QApplication::style())) QApplication::setStyle(new CAppStyle);

  // 3, 4. Settings store and screen depth.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) colourDepth_ = screen->depth();

  // 5, 6. Language.
  const int language = settings_.language();
  const std::string languageName = CLanguageTable::languageNameOfCode(language);
  helpFileName_ = QString::fromStdString(CLanguageTable::helpFileOfCode(language));
  CHelpSystem::setHelpFileName(helpFileName_);
  CHelpSystem::setSearchFolders(options_.helpFolders);
  if (!languageTable().loadLanguageFile(languageName, ui_, options_.programFolder.toStdString())) {
    startupCompleted_ = false;
    return false;
  }
  languageLoaded_ = true;
  NumberText::setDecimalSeparator(decimalSeparatorOf(languageTable().currentLanguageName()));
  installQtTranslation(languageTable().currentLanguageName());

  // 7-10. Image, port, folder, remembered model.
  radioData().clearImage();
  currentFile().resetFileName();
  g_radioComm.SetPortNumber(static_cast<std::uint8_t>(settings_.comPort()));
  for (int port = 1; port <= 20; ++port) {
    const QString path = settings_.portPath(port);
    if (!path.isEmpty()) g_radioComm.SetPortPath(port, path.toStdString());
  }
  if (!options_.portDeviceOverride.isEmpty())
    g_radioComm.SetPortPath(settings_.comPort(), options_.portDeviceOverride.toStdString());
  const QString lastFolder = settings_.lastFilePath();
  currentFile().setFolder((!lastFolder.isEmpty() && QFileInfo(lastFolder).isDir()
                               ? withSeparator(lastFolder)
                               : defaultDataFolder(options_.documentsFolder, options_.programFolder))
                              .toStdString());
  radioData().startUp(settings_.lastModel());

  // 11. Fonts.
  createFonts();

  // 13. The main window.
  mainFrame_ = std::make_unique<CMainFrame>(ui_, settings_, demonstrationMode_, colourDepth_);
  mainFrame_->setDataFolder(defaultDataFolder(options_.documentsFolder, options_.programFolder));

  // 15, 16. Placement and show; the splash window comes up over the main window as soon as
  // the main window is on the screen.
  const auto placement = settings_.lastWinPos();
  mainFrame_->applyPlacement(placement ? &*placement : nullptr);
  if (options_.showSplash) mainFrame_->showSplashWhenExposed();

  // 17. The channel information view opens as soon as the event loop runs (with the file given
  // on the command line, when there is one: as a double-click on a data file asks).
  if (fileToOpen.isEmpty() || !mainFrame_->openFileAtStart(fileToOpen))
    mainFrame_->postCommand(cmd::ChannelInformation);
  return true;
}

void CRPSApp::shutdown() {
  if (!startupCompleted_ || !languageLoaded_) return;
  settings_.setLastModel(radioData().modelCode());
  settings_.setComPort(g_radioComm.PortNumber());
  settings_.setLastFilePath(QString::fromStdString(currentFile().folder()));
  // A language picked in the Options dialog waits for the next start; a stored one the file
  // lacks becomes the one the program ran in.
  const int chosen = settings_.language();
  settings_.setLanguage(languageTable().hasLanguageColumn(CLanguageTable::languageNameOfCode(chosen))
                            ? chosen
                            : CLanguageTable::codeOfLanguageName(languageTable().currentLanguageName()));
  settings_.sync();
}

} // namespace vpr
