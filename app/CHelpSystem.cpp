#include "app/CHelpSystem.h"

#include "app/CHelpWindow.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QWidget>

namespace vpr {

namespace {

QString& helpName() {
  static QString name;
  return name;
}

QPointer<CHelpWindow>& helpWindow() {
  static QPointer<CHelpWindow> window;
  return window;
}

QStringList& searchFolders() {
  static QStringList folders;
  return folders;
}

// The manual every other language falls back to.
const QString kEnglishFolder = QStringLiteral("en");

// "vpr40t_en.chm" → "en".
QString languageFolder() {
  const QString base = QFileInfo(helpName()).completeBaseName();
  const auto underscore = base.lastIndexOf(QLatin1Char('_'));
  return underscore < 0 ? QString() : base.mid(underscore + 1);
}

struct Topic {
  int group; // context with its lowest twelve bits cleared
  const char* page;
};

// Each group of contexts has its page; a context inside a group opens the page at the anchor
// "c<hex context>" (for example channels.html#c31002), which the browser ignores when absent.
constexpr Topic kTopics[] = {
    {0x11000, "file.html#new"},
    {0x12000, "file.html#open"},
    {0x13000, "file.html#save"},
    {0x14000, "file.html#save-as"},
    {0x15000, "print.html#print"},
    {0x16000, "print.html#preview"},
    {0x17000, "file.html#exit"},
    {0x18000, "radio.html#restore"},
    {0x19000, "radio.html#compare"},
    {0x1A000, "radio.html#compare"},
    {0x1B000, "interchange.html#configuration"},
    {0x1C000, "interchange.html#channels"},
    {0x20000, "model.html"},
    {0x21000, "model.html#model"},
    {0x22000, "model.html#band"},
    {0x31000, "channels.html"},
    {0x32000, "keys.html"},
    {0x33000, "features.html"},
    {0x34000, "testfreq.html"},
    {0x51000, "radio.html#read"},
    {0x52000, "radio.html#write"},
    {0x55000, "radio.html#several"},
    {0x53000, "testmode.html"},
    {0x71000, "setup.html#port"},
    {0x72000, "setup.html#options"},
    {0x81000, "window.html#tree"},
    {0x82000, "window.html#toolbar"},
    {0x83000, "window.html#statusbar"},
    {0x91000, "window.html#windows"},
    {0x92000, "window.html#windows"},
    {0x93000, "window.html#windows"},
    {0x94000, "window.html#windows"},
    {0x95000, "window.html#close-all"},
    {0x35000, "undo.html"},
    {0x54000, "memorymap.html"},
};

} // namespace

void CHelpSystem::setHelpFileName(const QString& name) {
  helpName() = name;
}

QString CHelpSystem::helpFileName() {
  return helpName();
}

void CHelpSystem::setSearchFolders(const QStringList& folders) {
  searchFolders() = folders;
}

QString CHelpSystem::pageOf(int context) {
  const int group = context & ~0xFFF;
  for (const Topic& topic : kTopics) {
    if (topic.group != group) continue;
    QString page = QString::fromLatin1(topic.page);
    if (context != group && !page.contains(QLatin1Char('#')))
      page += QStringLiteral("#c%1").arg(context, 0, 16);
    return page;
  }
  return QStringLiteral("index.html");
}

QUrl CHelpSystem::urlOf(int context) {
  const QString language = languageFolder();
  if (language.isEmpty()) return {};
  const QString page = pageOf(context);
  const auto hash = page.indexOf(QLatin1Char('#'));
  const QString file = hash < 0 ? page : page.left(hash);
  // The manual stays English where the selected language has no page of its own.
  QStringList languages{language};
  if (language != kEnglishFolder) languages.append(kEnglishFolder);
  for (const QString& manual : languages) {
    for (const QString& folder : searchFolders()) {
      const QString path = QDir(folder).filePath(QStringLiteral("help/%1/%2").arg(manual, file));
      if (!QFileInfo::exists(path)) continue;
      QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
      if (hash >= 0) url.setFragment(page.mid(hash + 1));
      return url;
    }
  }
  return {};
}

bool CHelpSystem::isInSelectedLanguage(const QUrl& url) {
  const QString language = languageFolder();
  return language == kEnglishFolder || !url.path().contains(QStringLiteral("/help/%1/").arg(kEnglishFolder));
}

bool CHelpSystem::showHelp(int context) {
  const QUrl url = urlOf(context);
  if (url.isEmpty()) return false;
  // A mouse grab or an open menu would otherwise hold the input while the window comes up.
  if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
  if (!helpWindow()) {
    helpWindow() = new CHelpWindow;
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, helpWindow(), &QObject::deleteLater);
  }
  helpWindow()->showPage(url);
  if (!isInSelectedLanguage(url)) helpWindow()->noteEnglishPage();
  return true;
}

CHelpWindow* CHelpSystem::window() {
  return helpWindow();
}

bool CHelpSystem::openInBrowser(int context) {
  const QUrl url = urlOf(context);
  return !url.isEmpty() && QDesktopServices::openUrl(url);
}

} // namespace vpr
