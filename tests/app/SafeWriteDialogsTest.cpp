// The desktop side of safe writes: the Options dialog, the write dialog's phases and messages,
// the restore list and the compare dialog.
#include "VirtualRadioAtPort.h"
#include "app/AppTestSupport.h"
#include "app/CAppSettings.h"
#include "app/CCompareDlg.h"
#include "app/COptionsDlg.h"
#include "app/CRestoreDlg.h"
#include "app/CWriteDlg.h"
#include "model/RadioBackups.h"
#include "support/FakeUserInterface.h"
#include "support/ModalDriver.h"
#include "support/TestLanguage.h"
#include "support/TestSupport.h"
#include "views/ViewTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vpr {
namespace {

namespace fs = std::filesystem;

class SafeWriteDialogs : public ::testing::Test {
protected:
  void SetUp() override {
    test::isolateSettings();
    test::loadLanguage(true);
  }
  void TearDown() override { test::unloadLanguage(); }

  test::FakeUserInterface ui;
  std::string dataFolder = test::makeTempDir();
  std::string backups = RadioBackups::folderBelow(dataFolder);
};

TEST_F(SafeWriteDialogs, OptionsAreOnByDefaultAndOnlyOkStoresAChange) {
  CAppSettings settings;
  {
    COptionsDlg dialog(settings, {});
    EXPECT_TRUE(dialog.backupBox()->isChecked());
    EXPECT_TRUE(dialog.verifyBox()->isChecked());
    dialog.backupBox()->setChecked(false);
    dialog.reject();
  }
  EXPECT_TRUE(settings.backupRadio());
  {
    COptionsDlg dialog(settings, {});
    dialog.verifyBox()->setChecked(false);
    dialog.accept();
  }
  EXPECT_TRUE(settings.backupRadio());
  EXPECT_FALSE(CAppSettings().verifyWrite());
}

TEST_F(SafeWriteDialogs, TheWriteDialogShowsThePhasesAndSaysWrittenAndVerified) {
  test::VirtualRadioAtPort radio(test::markedImage(13, 0x20));
  const RadioImage image = test::markedImage(13, 0x55);
  WriteSafety safety{true, backups, true};
  CWriteDlg dialog(radio.link, image, ui, {}, nullptr, safety);
  auto* label = dialog.findChild<QLabel*>("progressLabel");
  dialog.show();
  dialog.findChild<QPushButton*>("startButton")->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(label->text().toStdString(), "ID:10065003: ID:10014004 123 / 123");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "ID:10065004\n\nID:10065006");
  EXPECT_EQ(dialog.report().backup, WriteReport::Backup::Stored);
  EXPECT_TRUE(fs::exists(dialog.report().backupPath));
}

TEST_F(SafeWriteDialogs, AWriteTheRadioStoresWrongIsNoSuccess) {
  sim::VirtualRadioOptions options;
  options.faults.corruptWriteBlock = 5;
  test::VirtualRadioAtPort radio(test::markedImage(13, 0x20), options);
  const RadioImage image = test::markedImage(13, 0x55);
  CWriteDlg dialog(radio.link, image, ui, {}, nullptr, WriteSafety{false, {}, true});
  dialog.show();
  dialog.findChild<QPushButton*>("startButton")->click();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{"ID:10065010"});
}

TEST_F(SafeWriteDialogs, TheRestoreListIsNewestFirstSaysWhyEachWasTakenAndADamagedFileCannotBeOpened) {
  std::error_code error;
  const std::time_t now = std::time(nullptr);
  const std::string old =
      RadioBackups::store(backups, test::markedImage(2, 1), now - 3600, BackupReason::AfterRead, error);
  const std::string newest =
      RadioBackups::store(backups, test::markedImage(13, 2), now, BackupReason::BeforeWrite, error);
  std::ofstream(backups + RadioBackups::fileNameFor(test::markedImage(5, 3), now - 60)) << "damaged";

  CRestoreDlg dialog(backups, {});
  QTreeWidget* list = dialog.list();
  ASSERT_EQ(list->topLevelItemCount(), 3);
  EXPECT_EQ(list->topLevelItem(0)->toolTip(0).toStdString(), newest);
  EXPECT_EQ(list->topLevelItem(1)->text(0).toStdString(), "ID:10065038");
  EXPECT_EQ(list->topLevelItem(2)->toolTip(0).toStdString(), old);
  EXPECT_EQ(list->headerItem()->text(3).toStdString(), "ID:10065051");
  EXPECT_EQ(list->topLevelItem(0)->text(3).toStdString(), "ID:10065053");
  EXPECT_EQ(list->topLevelItem(1)->text(3).toStdString(), "");
  EXPECT_EQ(list->topLevelItem(2)->text(3).toStdString(), "ID:10065052");
  EXPECT_TRUE(dialog.openButton()->isEnabled());
  list->setCurrentItem(list->topLevelItem(1));
  EXPECT_FALSE(dialog.openButton()->isEnabled());
  dialog.accept();
  EXPECT_TRUE(dialog.chosenPath().empty());
  list->setCurrentItem(list->topLevelItem(2));
  dialog.accept();
  EXPECT_EQ(dialog.chosenPath(), old);
}

TEST_F(SafeWriteDialogs, F1InEachDialogOpensItsPageOfTheManual) {
  std::vector<int> asked;
  const HelpCallback help = [&asked](int context) { asked.push_back(context); };
  CAppSettings settings;
  COptionsDlg options(settings, help);
  CRestoreDlg restore(backups, help);
  CCompareDlg compare("radio.dat", {}, help);
  const std::pair<QDialog*, int> dialogs[] = {{&options, COptionsDlg::kHelpContext},
                                              {&restore, CRestoreDlg::kHelpContext},
                                              {&compare, CCompareDlg::kHelpContext}};
  for (const auto& [dialog, context] : dialogs) {
    SCOPED_TRACE(dialog->windowTitle().toStdString());
    asked.clear();
    ASSERT_TRUE(test::showActive(*dialog));
    test::pressKey(Qt::Key_F1);
    EXPECT_EQ(asked, std::vector<int>{context});
    dialog->hide();
  }
}

TEST_F(SafeWriteDialogs, TheCompareDialogCopiesItsListAsPlainText) {
  const std::vector<ImageDifference> differences = {{"A", "1", "2"}, {"B", "x", "y"}};
  CCompareDlg dialog("radio.dat", differences, {});
  EXPECT_EQ(dialog.listView()->toPlainText(), dialog.listText());
  EXPECT_EQ(dialog.listText().count(QLatin1Char('\n')), 2);
  dialog.copyButton()->click();
  EXPECT_EQ(QApplication::clipboard()->text(), dialog.listText());
}

} // namespace
} // namespace vpr
