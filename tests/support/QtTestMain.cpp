// Entry point of the widget test programs: GoogleTest inside a QApplication on a real X server
// (the xcb platform), so that tests use real widgets, popups, focus and window management.
//
// The X server comes from tools/with-display.sh. When CTest hands out one of several servers
// as a resource (CTEST_RESOURCE_GROUP_0_DISPLAY="id:x<n>,slots:1"), the test uses display :n,
// so that tests running in parallel never take the focus from each other.
#include "support/TestSupport.h"

#include <QApplication>
#include <QByteArray>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

// The display CTest allocated to this test, or an empty text without a resource allocation.
QByteArray allocatedDisplay() {
  const QByteArray allocation = qgetenv("CTEST_RESOURCE_GROUP_0_DISPLAY");
  for (const QByteArray& field : allocation.split(',')) {
    if (field.startsWith("id:x")) return ":" + field.mid(4);
  }
  return {};
}

} // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Listing the tests (done while building) needs no window system.
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  if (const QByteArray display = allocatedDisplay(); !display.isEmpty()) qputenv("DISPLAY", display);
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "xcb");
  QApplication app(argc, argv);
  // Settings objects that a fixture makes before its SetUp isolates the settings must not read
  // or write the user's own: tests running side by side would see each other's options.
  const QString settings = QString::fromStdString(vpr::test::makeTempDir());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings);
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings);
  return RUN_ALL_TESTS();
}
