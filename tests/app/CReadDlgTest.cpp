// The Read dialog reads a whole radio into the transfer image, locks itself while it talks to
// the radio, and reports success only for a complete read.
#include "app/CReadDlg.h"

#include "VirtualRadioAtPort.h"
#include "support/ModalDriver.h"
#include "support/TestLanguage.h"
#include "support/TestSupport.h"
#include "views/CQtUserInterface.h"

#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace vpr {
namespace {

struct SeenMessage {
  std::string caption;
  std::string text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
};

class ReadDialogTest : public ::testing::Test {
protected:
  void SetUp() override { test::loadLanguage(true); }
  void TearDown() override { test::unloadLanguage(); }

  // Answers the next message box with its OK button and remembers what it said.
  void answerNextMessage() {
    test::whenModal<QMessageBox>([this](QMessageBox* box) {
      seen.push_back({box->windowTitle().toStdString(), box->text().toStdString(), box->icon()});
      box->button(QMessageBox::Ok)->click();
    });
  }
  static std::string labelOf(QDialog& dialog) {
    return dialog.findChild<QLabel*>("progressLabel")->text().toStdString();
  }
  static QPushButton* button(QDialog& dialog, const char* name) {
    return dialog.findChild<QPushButton*>(name);
  }

  CQtUserInterface ui;
  RadioData data;
  std::vector<SeenMessage> seen;
};

TEST_F(ReadDialogTest, opensIdleAtBlockZeroOfAHundredTwentyEight) {
  CRadioComm link;
  CReadDlg dialog(link, data.transferImage, ui, {});
  EXPECT_EQ(dialog.windowTitle().toStdString(), "ID:10014001");
  EXPECT_EQ(labelOf(dialog), "ID:10014004 0 / 128");
  EXPECT_EQ(dialog.findChild<QProgressBar*>()->maximum(), 128);
  EXPECT_EQ(dialog.findChild<QProgressBar*>()->value(), 0);
  EXPECT_EQ(button(dialog, "startButton")->text().toStdString(), "ID:10002005");
  EXPECT_EQ(button(dialog, "cancelButton")->text().toStdString(), "ID:10002002");
  EXPECT_EQ(button(dialog, "helpButton")->text().toStdString(), "ID:10002004");
  EXPECT_FALSE(button(dialog, "helpButton")->isEnabled()); // no help system given
}

TEST_F(ReadDialogTest, aCompleteReadFillsTheTransferImageAndEndsWithTheSuccessMessage) {
  const RadioImage radioMemory = test::markedImage(13, 0x20);
  test::VirtualRadioAtPort radio(radioMemory);
  data.resetToModel(ModelCatalogue::modelCodeForRow(0));
  const RadioImage edited = data.editImage;
  CReadDlg dialog(radio.link, data.transferImage, ui, {});
  dialog.show();

  // While the radio is being read the dialog can be neither closed nor started again.
  struct {
    bool sawBusy = false;
    bool closable = false;
    bool startEnabled = true;
    bool cancelEnabled = true;
    std::string caption;
  } during;
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    if (!dialog.isBusy() || during.sawBusy) return;
    during.sawBusy = true;
    during.caption = dialog.windowTitle().toStdString();
    during.startEnabled = button(dialog, "startButton")->isEnabled();
    during.cancelEnabled = button(dialog, "cancelButton")->isEnabled();
    dialog.close();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    dialog.reject();
    during.closable = !dialog.isVisible();
  });
  probe.start(0);
  answerNextMessage();
  button(dialog, "startButton")->click();
  probe.stop();

  EXPECT_TRUE(during.sawBusy);
  EXPECT_EQ(during.caption, "ID:10014002");
  EXPECT_FALSE(during.startEnabled);
  EXPECT_FALSE(during.cancelEnabled);
  EXPECT_FALSE(during.closable);

  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.transferResult(), 0);
  EXPECT_EQ(labelOf(dialog), "ID:10014004 128 / 128");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "ID:10014003");
  EXPECT_EQ(seen[0].caption, "ID:10014005");
  EXPECT_EQ(seen[0].icon, QMessageBox::Information);
  EXPECT_EQ(data.transferImage, radioMemory);
  EXPECT_EQ(data.editImage, edited);
  EXPECT_FALSE(radio.link.IsOpen());
}

TEST_F(ReadDialogTest, aRadioGoingSilentMidReadIsReportedAndLeavesBothImagesUntouched) {
  sim::VirtualRadioOptions options;
  options.faults.silentAfterBlocks = 40;
  test::VirtualRadioAtPort radio(test::markedImage(13, 0x20), options);
  data.resetToModel(ModelCatalogue::modelCodeForRow(0));
  data.mirrorEdit();
  const RadioImage edited = data.editImage;
  const RadioImage transfer = data.transferImage;
  CReadDlg dialog(radio.link, data.transferImage, ui, {});
  dialog.show();
  answerNextMessage();
  button(dialog, "startButton")->click();

  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(dialog.transferResult(), 1);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "ID:10026003");
  EXPECT_EQ(seen[0].caption, "ID:10025001");
  EXPECT_EQ(dialog.windowTitle().toStdString(), "ID:10014001");
  EXPECT_EQ(data.transferImage, transfer);
  EXPECT_EQ(data.editImage, edited);
  EXPECT_FALSE(radio.link.IsOpen());
}

TEST_F(ReadDialogTest, aPortThatDoesNotOpenIsReportedAndNothingIsRead) {
  CRadioComm link;
  link.SetPortPath(1, test::makeTempDir() + "/no-such-port");
  link.SetPortNumber(1);
  const RadioImage transfer = data.transferImage;
  CReadDlg dialog(link, data.transferImage, ui, {});
  dialog.show();
  answerNextMessage();
  button(dialog, "startButton")->click();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text.rfind("ID:10026002", 0), 0u);
  EXPECT_EQ(data.transferImage, transfer);
}

TEST_F(ReadDialogTest, cancelAndHelpWorkWhileIdle) {
  CRadioComm link;
  std::vector<int> help;
  CReadDlg dialog(link, data.transferImage, ui, [&](int context) { help.push_back(context); });
  dialog.show();
  button(dialog, "helpButton")->click();
  EXPECT_EQ(help, std::vector<int>{0x51000});
  button(dialog, "cancelButton")->click();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.transferResult(), -1);
}

} // namespace
} // namespace vpr
