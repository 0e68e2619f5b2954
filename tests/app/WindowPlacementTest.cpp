// Where the main window comes up: only where the user can reach it, with its title bar on a
// screen, whatever was saved at another scale or on screens that are gone.
#include "app/AppTestSupport.h"
#include "app/CMainFrame.h"
#include "app/CRPSApp.h"
#include "app/LayoutFaults.h"
#include "app/ProgramFixture.h"
#include "app/ScreenFit.h"
#include "support/FakeUserInterface.h"
#include "support/TestLanguage.h"
#include "support/TestSupport.h"

#include <QScreen>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

using namespace vpr;

namespace {

TEST(FitOnScreens, KeepsClientAndFrameOnTheScreenItOverlapsMost) {
  const QMargins frame(4, 30, 4, 4);
  const QRect left(0, 0, 1600, 1000);
  const QRect right(1600, 0, 1280, 1024);
  struct Case {
    const char* what;
    QRect saved;
    QRect expected;
  };
  const Case cases[] = {
      {"fits: unchanged", {100, 100, 800, 600}, {100, 100, 800, 600}},
      {"client at the top edge: the title bar comes down", {100, 0, 800, 600}, {100, 30, 800, 600}},
      {"saved at 200 %: shrunk to the screen", {-40, -20, 3180, 1920}, {4, 30, 1592, 966}},
      {"on a screen that is gone: onto the first", {5000, 300, 800, 600}, {796, 300, 800, 600}},
      {"mostly on the second screen: stays there", {2700, 500, 800, 600}, {2076, 420, 800, 600}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(fitOnScreens(c.saved, frame, {left, right}), c.expected) << c.what;
}

class MainWindowPlacement : public test::ProgramFixture {
protected:
  CMainFrame* start(const char* placement) {
    if (placement) {
      QSettings raw(QSettings::NativeFormat, QSettings::UserScope, "VESKARO", "VPR40T");
      raw.setValue("Backup/LastWinPos", placement);
      raw.sync();
    }
    return test::ProgramFixture::start();
  }
  // Whether the window, title bar and frame included, lies on the screen once the window
  // manager placed it.
  static ::testing::AssertionResult wholeOnScreen(const QWidget& window) {
    const QRect available = window.screen()->availableGeometry();
    QRect outer;
    if (QTest::qWaitFor([&] {
          outer = test::framedGeometry(window);
          return available.contains(outer);
        }))
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "window " << outer.x() << "," << outer.y() << " " << outer.width() << "x" << outer.height()
           << " on a screen of " << available.width() << "x" << available.height();
  }
};

TEST_F(MainWindowPlacement, UnMaximisingTheFirstStartsWindowKeepsItsTitleBarOnTheScreen) {
  ASSERT_NE(start(nullptr), nullptr);
  ASSERT_TRUE(frame->windowState().testFlag(Qt::WindowMaximized));
  frame->showNormal();
  EXPECT_TRUE(wholeOnScreen(*frame));
}

TEST_F(MainWindowPlacement, AWindowSavedLargerThanTheScreenComesUpWholeOnIt) {
  ASSERT_NE(start("0:1:-1:-1:-1:-1:-40:-20:3140:1900"), nullptr);
  EXPECT_FALSE(frame->windowState().testFlag(Qt::WindowMaximized));
  EXPECT_TRUE(wholeOnScreen(*frame));
}

} // namespace
