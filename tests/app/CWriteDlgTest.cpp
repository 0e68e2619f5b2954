// The Write dialog writes the working image into a radio, never beyond 0x3D7, and reports
// success only for a complete write.
#include "app/CWriteDlg.h"

#include "VirtualRadioAtPort.h"
#include "support/ModalDriver.h"
#include "support/TestLanguage.h"
#include "views/CQtUserInterface.h"

#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>

namespace vpr {
namespace {

class WriteDialogTest : public ::testing::Test {
protected:
  void SetUp() override { test::loadLanguage(true); }
  void TearDown() override { test::unloadLanguage(); }

  // Presses the given button of the next message box and remembers what it said.
  void answerNextMessage(QMessageBox::StandardButton press = QMessageBox::Ok) {
    test::whenModal<QMessageBox>([this, press](QMessageBox* box) {
      texts.push_back(box->text().toStdString());
      captions.push_back(box->windowTitle().toStdString());
      box->button(press)->click();
    });
  }
  static std::string labelOf(QDialog& dialog) {
    return dialog.findChild<QLabel*>("progressLabel")->text().toStdString();
  }
  static QPushButton* startButton(QDialog& dialog) { return dialog.findChild<QPushButton*>("startButton"); }

  CQtUserInterface ui;
  RadioData data;
  std::vector<std::string> texts;
  std::vector<std::string> captions;
};

TEST_F(WriteDialogTest, opensIdleAtBlockZeroOfAHundredTwentyThreeWithEightByteBlocks) {
  CRadioComm link;
  link.SetWriteBlockSize(16);
  CWriteDlg dialog(link, data.editImage, ui, {});
  EXPECT_EQ(link.WriteBlockSize(), 8);
  EXPECT_EQ(dialog.windowTitle().toStdString(), "ID:10017001");
  EXPECT_EQ(labelOf(dialog), "ID:10014004 0 / 123");
  EXPECT_EQ(dialog.findChild<QProgressBar*>()->maximum(), 123);
  EXPECT_EQ(startButton(dialog)->text().toStdString(), "ID:10002006");
  EXPECT_EQ(dialog.findChild<QLabel*>("keepConnectedNote")->text().toStdString(), "ID:10017013");
}

TEST_F(WriteDialogTest, aCompleteWriteSendsTheImageUpTo0x3D7AndEndsWithTheSuccessMessage) {
  RadioImage radioMemory = test::markedImage(13, 0x20);
  for (std::size_t i = 0x3D8; i < radioMemory.size(); ++i)
    radioMemory[i] = static_cast<std::uint8_t>(i);
  test::VirtualRadioAtPort radio(radioMemory);
  data.editImage = test::markedImage(13, 0x55);
  data.editImage[0x3FF] = 0x00; // beyond the written range: must not reach the radio
  const RadioImage edited = data.editImage;

  CWriteDlg dialog(radio.link, data.editImage, ui, {});
  dialog.show();
  answerNextMessage();
  startButton(dialog)->click();

  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(labelOf(dialog), "ID:10014004 123 / 123");
  EXPECT_EQ(texts, std::vector<std::string>{"ID:10017003"});
  EXPECT_EQ(captions, std::vector<std::string>{"ID:10017012"});
  const sim::Memory written = radio.radio.memory();
  EXPECT_TRUE(std::equal(written.begin(), written.begin() + 0x3D8, edited.begin()));
  EXPECT_TRUE(std::equal(written.begin() + 0x3D8, written.end(), radioMemory.begin() + 0x3D8));
  EXPECT_EQ(data.editImage, edited);
  EXPECT_FALSE(radio.link.IsOpen());
}

TEST_F(WriteDialogTest, declinedModelQuestionWritesNothing) {
  const RadioImage radioMemory = test::markedImage(9, 0x20); // HX-5410 UHF 1
  test::VirtualRadioAtPort radio(radioMemory);
  data.editImage = test::markedImage(13, 0x55); // HX-5470/5470M UHF 1
  CWriteDlg dialog(radio.link, data.editImage, ui, {});
  dialog.show();
  answerNextMessage(QMessageBox::Cancel);
  startButton(dialog)->click();

  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(texts, std::vector<std::string>{"ID:10026007"});
  EXPECT_EQ(radio.radio.memory(), radioMemory);
  EXPECT_EQ(radio.radio.stats().blocksWritten, 0);
}

} // namespace
} // namespace vpr
