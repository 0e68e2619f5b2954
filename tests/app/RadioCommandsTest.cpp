// The radio commands of the main window against a virtual radio on the selected port.
#include "app/CCompareDlg.h"
#include "app/CRestoreDlg.h"
#include "app/CommandIds.h"
#include "app/MainFrameFixture.h"
#include "lang/CLanguageTable.h"
#include "link/CRadioComm.h"
#include "model/CurrentFile.h"
#include "model/DataFile.h"
#include "model/JobRecord.h"
#include "model/RadioBackups.h"
#include "model/RadioData.h"
#include "sim/VirtualRadio.h"
#include "support/ModalDriver.h"
#include "support/TestImages.h"
#include "support/TestSupport.h"

#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

using namespace vpr;

namespace {

constexpr int kPort = 7;

class RadioCommandsTest : public test::MainFrameFixture {
protected:
  void SetUp() override {
    MainFrameFixture::SetUp();
    currentFile().setFileName("workshop.dat");
    radioMemory = test::rowImage(13);
    radio = std::make_unique<sim::VirtualRadio>(radioMemory, sim::VirtualRadioOptions{});
    ASSERT_TRUE(radio->start()) << radio->error();
    g_radioComm.SetPortPath(kPort, radio->devicePath());
    g_radioComm.SetPortNumber(kPort);
    frame->setDataFolder(QString::fromStdString(dataFolder));
  }
  void TearDown() override {
    MainFrameFixture::TearDown();
    g_radioComm.SetPortPath(kPort, "");
    g_radioComm.SetPortNumber(1);
    radio.reset();
  }
  static void pressStart() {
    test::whenModal<QDialog>(
        [](QDialog* dialog) { dialog->findChild<QPushButton*>("startButton")->click(); });
  }

  std::string dataFolder = test::makeTempDir();
  std::string backups = RadioBackups::folderBelow(dataFolder);
  RadioImage radioMemory{};
  std::unique_ptr<sim::VirtualRadio> radio;
};

TEST_F(RadioCommandsTest, ACompleteReadMakesTheRadiosImageTheWorkingImage) {
  frame->onCommand(cmd::KeyAssignment);
  pressStart();
  frame->onCommand(cmd::ReadData);
  EXPECT_EQ(radioData().editImage, radioMemory);
  EXPECT_FALSE(radioData().isModified());
  EXPECT_EQ(currentFile().fileName(), "vpr40t.dat");
  EXPECT_EQ(frame->viewOf(ViewKind::Keys), nullptr) << "the views were closed";
  EXPECT_NE(frame->viewOf(ViewKind::ChannelInfo), nullptr) << "the channel view shows the new image";
  EXPECT_TRUE(frame->windowTitle().contains(QString::fromStdString(radioData().titleText())));
}

TEST_F(RadioCommandsTest, ReadFromRadioCancelledInTheSaveQuestionStops) {
  radioData().editImage[0x3E0] ^= 0x01;
  ASSERT_TRUE(radioData().isModified());
  ui.answers.push_back(MessageAnswer::Cancel);
  frame->onCommand(cmd::ReadData);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].buttons, MessageButtons::YesNoCancel);
  EXPECT_EQ(frame->findChild<QDialog*>(), nullptr);
}

TEST_F(RadioCommandsTest, ACancelledReadLeavesTheWorkingImageAlone) {
  const RadioImage before = radioData().editImage;
  test::whenModal<QDialog>([](QDialog* dialog) { dialog->reject(); });
  frame->onCommand(cmd::ReadData);
  EXPECT_EQ(radioData().editImage, before);
  EXPECT_EQ(currentFile().fileName(), "workshop.dat");
}

TEST_F(RadioCommandsTest, WriteSendsTheWorkingImageToTheRadioAndRecordsIt) {
  radioData().resetToModel(ModelCatalogue::modelCodeForRow(13));
  radioData().editImage[0x10] = 0x25;
  const RadioImage before = radioData().editImage;
  pressStart();
  frame->onCommand(cmd::WriteData);
  EXPECT_EQ(radio->memory()[0x10], 0x25);
  EXPECT_EQ(radioData().editImage, before) << "a write changes nothing in the program";
  EXPECT_TRUE(radioData().isModified()) << "writing a radio is no save";
  const std::vector<std::string> lines = test::jobRecordLines(JobRecord::pathBelow(dataFolder));
  ASSERT_EQ(lines.size(), 1u) << "one line for the one radio";
  for (const char* part : {",COM7,", "workshop.dat (changes not saved),done,"})
    EXPECT_NE(lines[0].find(part), std::string::npos) << lines[0];
}

// A record that cannot take the radio's line (its name is taken by a folder): the radio is not
// written unrecorded, and the user is told why.
TEST_F(RadioCommandsTest, AWriteThatCannotBeRecordedDoesNotStart) {
  std::filesystem::create_directories(JobRecord::pathBelow(dataFolder));
  radioData().editImage[0x10] = 0x25;
  pressStart();
  frame->onCommand(cmd::WriteData);
  EXPECT_EQ(radio->memory(), radioMemory);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].text.find(JobRecord::kFileName), std::string::npos) << ui.messages[0].text;
}

TEST_F(RadioCommandsTest, AReadLeavesABackupOfTheRadioInTheDataFolderAndSaysWhere) {
  pressStart();
  frame->onCommand(cmd::ReadData);
  ASSERT_EQ(radioData().editImage, radioMemory);
  const auto entries = RadioBackups::list(backups);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].reason, BackupReason::AfterRead);
  const RadioImage stored = test::fileImage(entries[0].path);
  EXPECT_EQ(stored, radioMemory);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].text.find(entries[0].path), std::string::npos) << ui.messages[0].text;
}

TEST_F(RadioCommandsTest, CompareWithRadioListsTheDifferencesAndLeavesTheWorkingImageAlone) {
  radioData().editImage = radioMemory;
  radioData().editImage[layout::kSquelchLevel] =
      static_cast<std::uint8_t>((radioMemory[layout::kSquelchLevel] + 1) % 10);
  const RadioImage working = radioData().editImage;
  QString shown;
  QString readTitle;
  test::whenModal<QDialog>([&shown, &readTitle](QDialog* dialog) {
    readTitle = dialog->windowTitle();
    dialog->findChild<QPushButton*>("startButton")->click();
    test::whenModal<CCompareDlg>([&shown](CCompareDlg* compare) {
      shown = compare->listText();
      compare->reject();
    });
  });
  frame->onCommand(cmd::FileCompareRadio);
  // The read says it is for the comparison, not that the data was replaced.
  EXPECT_EQ(readTitle.toStdString(), textOf(10065046));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text.rfind(textOf(10065048), 0), 0u) << ui.messages[0].text;
  EXPECT_EQ(ui.messages[0].caption, textOf(10065046));
  EXPECT_EQ(shown.count(QLatin1Char('\n')), 1) << shown.toStdString();
  EXPECT_TRUE(shown.startsWith(QString::fromStdString(textOf(10041002)))) << shown.toStdString();
  EXPECT_EQ(radioData().editImage, working);
  EXPECT_EQ(radio->stats().blocksWritten, 0);
}

TEST_F(RadioCommandsTest, RestoringABackupMakesItTheWorkingImageAndOffersToWriteIt) {
  std::error_code error;
  RadioImage saved = radioMemory;
  saved[0x10] = 0x25;
  ASSERT_FALSE(
      RadioBackups::store(backups, saved, std::time(nullptr), BackupReason::BeforeWrite, error).empty());
  test::whenModal<CRestoreDlg>([](CRestoreDlg* dialog) {
    dialog->accept();
    pressStart();
  });
  ui.answers.push_back(MessageAnswer::Ok); // write it now
  frame->onCommand(cmd::FileRestoreBackup);
  EXPECT_EQ(radioData().editImage, saved);
  EXPECT_EQ(currentFile().fileName(), "vpr40t.dat");
  EXPECT_EQ(radio->memory()[0x10], 0x25);
  // The write backed the radio up first: the restored backup and the one before this write.
  EXPECT_EQ(RadioBackups::list(backups).size(), 2u);
}

} // namespace
