#pragma once
// The whole program, started by a test as a user starts it, with settings of the test's own and the
// language table loaded; ended (and the table loaded afresh) after each test. The user interface
// is the recording stand-in, or the real one where the test answers the program's windows itself.

#include "app/AppTestSupport.h"
#include "app/CMainFrame.h"
#include "app/CRPSApp.h"
#include "support/FakeUserInterface.h"
#include "support/TestLanguage.h"
#include "support/TestSupport.h"

#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace vpr::test {

template <class UserInterface> class ProgramWith : public ::testing::Test {
protected:
  void SetUp() override {
    isolateSettings();
    loadLanguage();
  }
  void TearDown() override {
    app.reset();
    loadLanguage();
  }

  // Starts the program and waits until its main window is on the screen; the main window, or
  // nullptr when start-up ended early or the window never showed.
  CMainFrame* start(const CRPSApp::Options& options = programOptions()) {
    app = std::make_unique<CRPSApp>(ui, QStringList{}, options);
    frame = app->startup() && app->mainFrame() && QTest::qWaitForWindowExposed(app->mainFrame())
                ? app->mainFrame()
                : nullptr;
    return frame;
  }

  UserInterface ui;
  std::unique_ptr<CRPSApp> app;
  CMainFrame* frame = nullptr;
};

using ProgramFixture = ProgramWith<FakeUserInterface>;

} // namespace vpr::test
