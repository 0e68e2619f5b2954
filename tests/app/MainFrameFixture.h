#pragma once
// A main window on the screen, active, with stand-in views that record what it asks of them (or
// with the real views, whose questions go to the same recording user interface): the starting
// point of the tests of the main window, of its command files and of editing in its views.

#include "app/AppTestSupport.h"
#include "app/CAppSettings.h"
#include "app/CMainFrame.h"
#include "model/RadioData.h"
#include "support/FakeUserInterface.h"
#include "support/TestLanguage.h"
#include "views/ViewFactory.h"

#include <QTest>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

namespace vpr::test {

class MainFrameFixture : public ::testing::Test {
protected:
  enum class Views { StandIns, Real };
  explicit MainFrameFixture(Views kind = Views::StandIns) : realViews_(kind == Views::Real) {}

  void SetUp() override {
    isolateSettings();
    loadLanguage();
    radioData().startUp(std::nullopt);
    frame = std::make_unique<CMainFrame>(ui, settings, false);
    if (realViews_)
      setViewUserInterface(&ui);
    else
      frame->setViewFactory([this](ViewKind kind, QWidget*) -> CImageView* {
        if (unavailable.count(kind)) return nullptr;
        auto* view = new FakeView(QStringLiteral("View %1").arg(static_cast<int>(kind)), 0x31000);
        views[kind] = view;
        return view;
      });
    frame->resize(900, 700);
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
  }
  void TearDown() override {
    frame.reset();
    if (realViews_) setViewUserInterface(nullptr);
  }

  FakeUserInterface ui;
  CAppSettings settings;
  std::unique_ptr<CMainFrame> frame;
  // The views the main window opened, by kind (the latest of each).
  std::map<ViewKind, FakeView*> views;
  // Kinds whose view this build lacks.
  std::set<ViewKind> unavailable;

private:
  bool realViews_;
};

} // namespace vpr::test
