#include "app/AppTestSupport.h"

#include "support/TestSupport.h"

#include <QDesktopServices>
#include <QSettings>

namespace vpr::test {

QString isolateSettings() {
  const QString folder = QString::fromStdString(makeTempDir());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
  return folder;
}

QString settingsFile(const QString& folder) {
  return folder + QStringLiteral("/VESKARO/VPR40T.conf");
}

CRPSApp::Options programOptions() {
  CRPSApp::Options options;
  options.documentsFolder = QString::fromStdString(makeTempDir());
  options.programFolder = QString::fromStdString(sourcePath("res"));
  options.showSplash = false;
  return options;
}

UrlRecorder::UrlRecorder() {
  QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open");
}

UrlRecorder::~UrlRecorder() {
  QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

} // namespace vpr::test
