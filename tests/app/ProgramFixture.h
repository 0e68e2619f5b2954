#pragma once
// The whole program, started by a test as a user starts it, with settings of the test's own and the
// language table loaded; ended (and the table loaded afresh) after each test.

#include "app/AppTestSupport.h"
#include "app/CRPSApp.h"
#include "support/FakeUserInterface.h"
#include "support/TestLanguage.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace vpr::test {

class ProgramFixture : public ::testing::Test {
protected:
  void SetUp() override {
    isolateSettings();
    loadLanguage();
  }
  void TearDown() override {
    app.reset();
    loadLanguage();
  }

  FakeUserInterface ui;
  std::unique_ptr<CRPSApp> app;
};

} // namespace vpr::test
