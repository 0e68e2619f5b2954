#pragma once
// Opens the HTML manual of the selected language at a help context, in the program's own help
// window (no other program is needed); on request the page also goes to the user's browser.
// A missing manual shows nothing and reports nothing.

#include <QString>
#include <QStringList>
#include <QUrl>

namespace vpr {

class CHelpWindow;

class CHelpSystem {
public:
  // The help file name of the selected language (for example "vpr40t_en.chm"); the manual
  // folder is named after its language suffix ("en").
  static void setHelpFileName(const QString& name);
  static QString helpFileName();

  // Folders searched for "help/<language>/": set by the application at start-up.
  static void setSearchFolders(const QStringList& folders);

  // The page and anchor of a help context, relative to the manual folder ("channels.html#c31002").
  static QString pageOf(int context);
  // The file URL of the manual page for the context (the English page where the selected
  // language has none), or an empty URL when the manual is missing.
  static QUrl urlOf(int context);
  // Whether a page of the manual is in the selected language rather than English standing in.
  static bool isInSelectedLanguage(const QUrl& url);
  // Opens the manual at the context in the help window; returns whether a manual was found.
  static bool showHelp(int context);
  // The help window, once help was shown (nullptr before).
  static CHelpWindow* window();
  // Hands the manual's page for the context to the user's browser; false when there is no
  // manual or no browser could be started.
  static bool openInBrowser(int context);
};

} // namespace vpr
