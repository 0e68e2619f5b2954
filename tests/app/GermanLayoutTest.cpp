// The program in German as a user gets it: the language picked in the Options dialog takes
// effect at the next start, and numbers then take the decimal comma. (Every window in German is
// checked in ScaledLayoutTest.)
#include "app/CAppSettings.h"
#include "app/CMainFrame.h"
#include "app/COptionsDlg.h"
#include "app/CRPSApp.h"
#include "app/CommandIds.h"
#include "app/ProgramFixture.h"
#include "lang/CLanguageTable.h"
#include "model/NumberText.h"
#include "support/ModalDriver.h"

#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace vpr;

namespace {

constexpr int kGerman = 2;

class GermanProgram : public test::ProgramFixture {
protected:
  void TearDown() override {
    test::ProgramFixture::TearDown();
    NumberText::setDecimalSeparator('.');
  }

  // Ends the program as the user's close would, settings written.
  void stop() {
    app->shutdown();
    app.reset();
  }
};

TEST_F(GermanProgram, TheLanguagePickedInOptionsTakesEffectAtTheNextStartWithTheDecimalComma) {
  ASSERT_NE(start(), nullptr);
  EXPECT_EQ(languageTable().currentLanguageName(), "English");
  bool noteBefore = true, noteAfter = false;
  test::whenModal<COptionsDlg>([&](COptionsDlg* dialog) {
    noteBefore = dialog->restartNote()->isVisible();
    QComboBox* languages = dialog->languageBox();
    languages->setCurrentIndex(languages->findText(QStringLiteral("Deutsch")));
    noteAfter = dialog->restartNote()->isVisible();
    dialog->accept();
  });
  frame->onCommand(cmd::SetupOptions);
  EXPECT_FALSE(noteBefore);
  EXPECT_TRUE(noteAfter);
  // Still English until the program starts again, and the choice outlives this run's exit.
  EXPECT_EQ(frame->menuBar()->actions().front()->text().toStdString(), "&File");
  stop();
  EXPECT_EQ(CAppSettings().language(), kGerman);

  ASSERT_NE(start(), nullptr);
  EXPECT_EQ(languageTable().currentLanguageName(), "German");
  EXPECT_EQ(frame->menuBar()->actions().front()->text().toStdString(), "&Datei");
  EXPECT_EQ(NumberText::decimalSeparator(), ',');
  EXPECT_EQ(NumberText::formatFixed(145.125, 3), "145,125");
}

TEST_F(GermanProgram, ALanguageTheFileLacksGivesTheFirstColumnAndIsStoredAsThat) {
  for (const int stored : {0, 7}) {
    CAppSettings().setLanguage(stored);
    ASSERT_NE(start(), nullptr);
    EXPECT_EQ(languageTable().currentLanguageName(), "English") << stored;
    EXPECT_EQ(NumberText::decimalSeparator(), '.');
    stop();
    EXPECT_EQ(CAppSettings().language(), 1) << stored;
  }
}

} // namespace
