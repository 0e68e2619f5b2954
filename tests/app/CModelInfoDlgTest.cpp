// The Model Information dialog shows the image's model and band, follows the user's picks and
// applies a choice only as confirmed.
#include "app/CModelInfoDlg.h"

#include "support/FakeUserInterface.h"
#include "support/ModalDriver.h"
#include "support/TestImages.h"
#include "support/TestLanguage.h"
#include "views/CQtUserInterface.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace vpr {
namespace {

class ModelInfoDialogTest : public ::testing::Test {
protected:
  void SetUp() override {
    test::loadLanguage(true);
    data.resetToModel(ModelCatalogue::modelCodeForRow(16)); // HX-5470/5470M, UHF 6
    hooks.closeAllViews = [this] { steps.push_back("close"); };
    hooks.resetFileName = [this] { steps.push_back("file name"); };
    hooks.rebuildMenus = [this] { steps.push_back("menus"); };
    hooks.openChannelView = [this] { steps.push_back("channel view"); };
  }

  QComboBox* list(CModelInfoDlg& dialog, const char* name) { return dialog.findChild<QComboBox*>(name); }
  QPushButton* button(CModelInfoDlg& dialog, QDialogButtonBox::StandardButton which) {
    return dialog.findChild<QDialogButtonBox*>()->button(which);
  }
  static QString shown(QComboBox* box) { return box->currentText(); }

  RadioData data;
  ModelSelection::Hooks hooks;
  std::vector<std::string> steps;
  std::vector<int> helpRequests;
};

TEST_F(ModelInfoDialogTest, opensOnTheImagesModelAndBandWithTheTextTablesTexts) {
  test::FakeUserInterface ui;
  CModelInfoDlg dialog(data, ui, hooks, {});
  EXPECT_EQ(dialog.windowTitle().toStdString(), "ID:10013002");
  EXPECT_EQ(list(dialog, "modelList")->count(), 10);
  EXPECT_EQ(shown(list(dialog, "modelList")).toStdString(), "HX-5470/5470M");
  EXPECT_EQ(list(dialog, "bandList")->count(), 5);
  EXPECT_EQ(shown(list(dialog, "bandList")).toStdString(), "UHF 6:440-460 MHz");
  EXPECT_EQ(button(dialog, QDialogButtonBox::Ok)->text().toStdString(), "ID:10002001");
  EXPECT_EQ(button(dialog, QDialogButtonBox::Cancel)->text().toStdString(), "ID:10002002");
  EXPECT_EQ(button(dialog, QDialogButtonBox::Help)->text().toStdString(), "ID:10002004");
  QStringList labels;
  for (QLabel* label : dialog.findChildren<QLabel*>())
    labels << label->text();
  EXPECT_TRUE(labels.contains("ID:10013003"));
  EXPECT_TRUE(labels.contains("ID:10013004"));
}

TEST_F(ModelInfoDialogTest, anotherModelKeepsTheBandWhenItHasItElseShowsItsFirstBand) {
  test::FakeUserInterface ui;
  CModelInfoDlg dialog(data, ui, hooks, {});
  dialog.show();
  QComboBox* models = list(dialog, "modelList");
  QComboBox* bands = list(dialog, "bandList");
  bands->setCurrentIndex(bands->findText("UHF 2:470-490 MHz"));
  models->setCurrentIndex(models->findText("HX-5410"));
  EXPECT_EQ(bands->count(), 4);
  EXPECT_EQ(shown(bands).toStdString(), "UHF 2:470-490 MHz");
  models->setCurrentIndex(models->findText("HX-5460K"));
  EXPECT_EQ(shown(bands).toStdString(), "UHF 1:450-470 MHz");
}

// OK without a change and Cancel after picking another model ask nothing and keep the image (and
// its edits); OK still brings the windows up to date.
TEST_F(ModelInfoDialogTest, okWithoutAChangeAndCancelAskNothingAndKeepTheImage) {
  data.editImage[0x10] = 0x42; // an edit that a rebuild would lose
  const RadioImage before = data.editImage;
  for (const bool ok : {true, false}) {
    test::FakeUserInterface ui;
    steps.clear();
    CModelInfoDlg dialog(data, ui, hooks, {});
    dialog.show();
    if (!ok) list(dialog, "modelList")->setCurrentIndex(0);
    button(dialog, ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
    EXPECT_TRUE(ui.messages.empty()) << ok;
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), ok ? QDialog::Accepted : QDialog::Rejected);
    EXPECT_EQ(data.editImage, before) << ok;
    const std::vector<std::string> refreshed = {"close", "menus", "channel view"};
    EXPECT_EQ(steps, ok ? refreshed : std::vector<std::string>());
  }
}

TEST_F(ModelInfoDialogTest, aChangeIsAppliedOnlyAfterTheConfirmationAndCancelThereKeepsTheDialogOpen) {
  CQtUserInterface ui;
  data.editImage[0x10] = 0x42;
  const RadioImage before = data.editImage;
  CModelInfoDlg dialog(data, ui, hooks, {});
  dialog.show();
  QComboBox* models = list(dialog, "modelList");
  models->setCurrentIndex(models->findText("HX-4410(E)"));
  ASSERT_EQ(shown(list(dialog, "bandList")).toStdString(), "VHF 1:150-174 MHz");

  QString question;
  test::whenModal<QMessageBox>([&](QMessageBox* box) {
    question = box->text();
    box->button(QMessageBox::Cancel)->click();
  });
  button(dialog, QDialogButtonBox::Ok)->click();
  EXPECT_EQ(question.toStdString(), "ID:10026013");
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(data.editImage, before);
  EXPECT_TRUE(steps.empty());

  test::whenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Ok)->click(); });
  button(dialog, QDialogButtonBox::Ok)->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(ModelCatalogue::findModelRow(data.modelCode()), 5);
  EXPECT_EQ(data.editImage, test::rowImage(5));
  EXPECT_FALSE(data.isModified());
  EXPECT_EQ(steps, (std::vector<std::string>{"close", "file name", "menus", "channel view"}));
}

TEST_F(ModelInfoDialogTest, helpOpensTheTopicOfTheDialogOrOfTheFocusedList) {
  test::FakeUserInterface ui;
  CModelInfoDlg dialog(data, ui, hooks, [this](int context) { helpRequests.push_back(context); });
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  button(dialog, QDialogButtonBox::Help)->click();
  list(dialog, "modelList")->setFocus();
  QTest::keyClick(list(dialog, "modelList"), Qt::Key_F1);
  list(dialog, "bandList")->setFocus();
  QTest::keyClick(list(dialog, "bandList"), Qt::Key_F1);
  EXPECT_EQ(helpRequests, (std::vector<int>{0x20000, 0x21000, 0x22000}));
}

} // namespace
} // namespace vpr
