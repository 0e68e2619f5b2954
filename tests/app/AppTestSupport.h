#pragma once
// Shared pieces of the desktop program's tests: a settings store in a temporary folder, and a
// stand-in editing view.

#include "app/CRPSApp.h"
#include "views/CImageView.h"

#include <QList>
#include <QString>
#include <QUrl>

namespace vpr::test {

// Points the per-user settings store at a fresh temporary folder (never the user's own) and
// returns that folder.
QString isolateSettings();
// The settings file the program writes in the isolated store.
QString settingsFile(const QString& folder);
// Start-up options of the program as a user runs it, with a fresh documents folder, the
// language file and manual of the source tree, and no splash window (it would take the clicks).
CRPSApp::Options programOptions();

// An editing view that records what the main window asks of it.
class FakeView : public CImageView {
  Q_OBJECT
public:
  FakeView(QString title, int context) : title_(std::move(title)), context_(context) {}
  void reloadFromImage() override { ++reloads; }
  bool queryClose() override {
    ++closeQueries;
    if (queryLog) ++*queryLog;
    return mayClose;
  }
  QString viewTitle() const override { return title_; }
  int helpContext() const override { return context_; }

  int reloads = 0;
  int closeQueries = 0;
  bool mayClose = true;
  // Counts the questions also after the view is gone.
  int* queryLog = nullptr;

private:
  QString title_;
  int context_;
};

// Takes the place of the browser: remembers every file URL the program asks to open while it
// is installed (QDesktopServices routes the "file" scheme to it).
class UrlRecorder : public QObject {
  Q_OBJECT
public:
  UrlRecorder();
  ~UrlRecorder() override;
  QList<QUrl> urls;

public slots:
  void open(const QUrl& url) { urls.append(url); }
};

} // namespace vpr::test
