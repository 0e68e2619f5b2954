#pragma once
// The application object: brings the program up in its fixed order (command line, locale,
// settings, language file, image, port, data folder, remembered model, fonts, main window,
// placement) and writes the settings back at exit.

#include "app/CAppSettings.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <memory>

namespace vpr {

class CMainFrame;
class ProgramStop;
class UserInterface;

class CRPSApp {
public:
  struct Options {
    // The user's documents folder; empty when unknown. The data folder is created below it.
    QString documentsFolder;
    // The folder of the program file: searched first for the language file.
    QString programFolder;
    // Show the splash window while the main window comes up.
    bool showSplash = true;
    // Folders searched for the manual ("help/<language>/").
    QStringList helpFolders;
    // A device path the selected port opens for this run instead of its own device (a virtual
    // radio); the stored settings are not touched.
    QString portDeviceOverride;
  };

  // arguments: the command-line words after the program name.
  CRPSApp(UserInterface& ui, const QStringList& arguments, Options options);
  ~CRPSApp();
  CRPSApp(const CRPSApp&) = delete;
  CRPSApp& operator=(const CRPSApp&) = delete;

  // The start-up sequence; false when it ended before the main window was shown.
  bool startup();
  // Writes "LastModel", "ComPort", "LastFilePath" and "Language" while start-up completed.
  void shutdown();

  CMainFrame* mainFrame() const { return mainFrame_.get(); }
  bool demonstrationMode() const { return demonstrationMode_; }
  bool startupCompleted() const { return startupCompleted_; }
  int colourDepth() const { return colourDepth_; }
  const QString& helpFileName() const { return helpFileName_; }
  // The two fonts edit controls use: kind 1 fixed, kind 2 the LCD symbol font.
  const QFont& fixedFont() const { return fixedFont_; }
  const QFont& lcdFont() const { return lcdFont_; }
  CAppSettings& settings() { return settings_; }

  // The running application object, or nullptr.
  static CRPSApp* instance();

  // The folder new data files go to: "<documents>/Veskaro/VPR-40T/" (created when missing;
  // the documents folder itself when that fails), or without a documents folder the program's
  // "DATA" folder when it exists, else the program's folder. Ends with a separator.
  static QString defaultDataFolder(const QString& documentsFolder, const QString& programFolder);
  // The first installed face of the candidates; the empty face (the default fixed font) last.
  struct FontCandidate {
    const char* face;
    int pixelHeight;
  };
  static QFont chooseFont(std::initializer_list<FontCandidate> candidates);

private:
  void createFonts();

  UserInterface& ui_;
  QStringList arguments_;
  Options options_;
  CAppSettings settings_;
  std::unique_ptr<CMainFrame> mainFrame_;
  std::unique_ptr<ProgramStop> stop_;
  bool demonstrationMode_ = false;
  bool startupCompleted_ = true;
  bool languageLoaded_ = false;
  int colourDepth_ = 32;
  QString helpFileName_;
  QFont fixedFont_;
  QFont lcdFont_;
};

} // namespace vpr
