// Write to Several Radios: the working image written into virtual radios on their own
// pseudo-terminals at once, each with its model question, backup, check and job record line;
// the failed ones written again; and a close while writing that stops every radio.
#include "app/CFleetWriteDlg.h"

#include "VirtualRadioAtPort.h"
#include "app/AppTestSupport.h"
#include "lang/CLanguageTable.h"
#include "lang/TextFormat.h"
#include "model/DataFile.h"
#include "support/FakeUserInterface.h"
#include "support/TestImages.h"
#include "support/TestLanguage.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace vpr {
namespace {

namespace fs = std::filesystem;

bool contains(const QString& text, const std::string& part) {
  return text.contains(QString::fromStdString(part));
}

class FleetWriteDialog : public ::testing::Test {
protected:
  void SetUp() override {
    test::isolateSettings();
    test::loadLanguage(true);
    job.image = test::markedImage(16, 0x40);
    job.safety = {true, (fs::path(folder) / "Backups").string(), true};
    job.recordPath = (fs::path(folder) / "record.csv").string();
    job.file = (fs::path(folder) / "fleet.dat").string();
    // Ports without a radio lead nowhere, whatever devices this machine has.
    for (int n = 1; n <= CFleetWriteDlg::kPortCount; ++n)
      paths.SetPortPath(n, "/dev/vpr40t-no-port-" + std::to_string(n));
  }
  void TearDown() override { test::unloadLanguage(); }

  // A radio on port n.
  sim::VirtualRadio& radioAt(int n, const RadioImage& memory, sim::VirtualRadioOptions options = {}) {
    radios.push_back(std::make_unique<sim::VirtualRadio>(memory, options));
    EXPECT_TRUE(radios.back()->start()) << radios.back()->error();
    paths.SetPortPath(n, radios.back()->devicePath());
    return *radios.back();
  }
  std::unique_ptr<CFleetWriteDlg> openDialog() {
    auto dialog = std::make_unique<CFleetWriteDlg>(paths, job, ui, HelpCallback{});
    QSignalSpy surveyed(dialog.get(), &CFleetWriteDlg::surveyFinished);
    dialog->show();
    EXPECT_TRUE(surveyed.wait(10000));
    return dialog;
  }
  static void press(CFleetWriteDlg& dialog, const char* button) {
    QPushButton* pushed = dialog.findChild<QPushButton*>(button);
    ASSERT_TRUE(pushed->isEnabled()) << button;
    QSignalSpy ended(&dialog, &CFleetWriteDlg::batchFinished);
    QTest::mouseClick(pushed, Qt::LeftButton);
    ASSERT_TRUE(ended.wait(60000)) << button;
  }
  bool holdsImage(const sim::VirtualRadio& radio) const {
    const sim::Memory memory = radio.memory();
    return std::equal(memory.begin(), memory.begin() + 0x3D8, job.image.begin());
  }

  std::string folder = test::makeTempDir();
  CFleetWriteDlg::Job job;
  CComPort paths;
  test::FakeUserInterface ui;
  std::vector<std::unique_ptr<sim::VirtualRadio>> radios;
};

TEST_F(FleetWriteDialog, WritesEveryGoodRadioReportsTheFaultyOnesOnTheirOwnAndWritesThemOnRetry) {
  sim::VirtualRadioOptions inProgramMode;
  inProgramMode.programMode = true;
  sim::VirtualRadioOptions refusing = inProgramMode;
  refusing.faults.refuseWriteBlock = 40;
  refusing.faults.refuseWriteTimes = 3; // more than the protocol's own retries, once
  sim::VirtualRadio& good = radioAt(1, test::staleMemory(job.image));
  sim::VirtualRadio& unprogrammed = radioAt(2, clearedImage(), inProgramMode);
  sim::VirtualRadio& otherModel = radioAt(4, test::markedImage(17, 0x22), inProgramMode);
  sim::VirtualRadio& faulty = radioAt(7, test::staleMemory(job.image), refusing);
  sim::VirtualRadio& held = radioAt(9, test::markedImage(16, 0x44));
  CComPort holder;
  holder.SetPortPath(1, held.devicePath());
  ASSERT_TRUE(holder.SetOpen(true));

  std::unique_ptr<CFleetWriteDlg> dialog = openDialog();
  // Only the ports a radio can be reached through can be ticked; the others say why not.
  for (int n = 1; n <= CFleetWriteDlg::kPortCount; ++n) {
    SCOPED_TRACE(n);
    const bool free = n == 1 || n == 2 || n == 4 || n == 7;
    EXPECT_EQ(dialog->portBox(n)->isEnabled(), free);
    if (n == 9) {
      EXPECT_TRUE(contains(dialog->statusText(n), test::idText(10050103)));
    } else if (!free) {
      EXPECT_EQ(dialog->statusText(n).toStdString(), test::idText(10068201));
    }
  }
  EXPECT_FALSE(dialog->findChild<QPushButton*>("writeButton")->isEnabled());
  QTest::mouseClick(dialog->findChild<QPushButton*>("selectAllButton"), Qt::LeftButton);

  ui.answers = {MessageAnswer::Cancel}; // the radio of another model is not written this time
  press(*dialog, "writeButton");
  ASSERT_EQ(ui.messageTexts(), std::vector<std::string>{"COM4: " + test::idText(10026007)});
  EXPECT_TRUE(holdsImage(good));
  EXPECT_TRUE(holdsImage(unprogrammed));
  EXPECT_EQ(otherModel.stats().blocksWritten, 0);
  EXPECT_FALSE(holdsImage(faulty));
  EXPECT_EQ(dialog->statusText(1).toStdString(), test::idText(10068106));
  // The row says failed; its message is the record's (below).
  EXPECT_EQ(dialog->statusText(4).toStdString(), test::idText(10068107));
  EXPECT_EQ(dialog->statusText(7).toStdString(), test::idText(10068107));
  EXPECT_EQ(dialog->portBar(1)->value(), dialog->portBar(1)->maximum());
  EXPECT_FALSE(dialog->modelText(1).isEmpty());
  EXPECT_EQ(dialog->modelText(2).toStdString(), test::idText(10050104));
  // The good radio's backup holds what it held before; the unprogrammed one needed none.
  const std::string backup = dialog->backupPath(1).toStdString();
  ASSERT_TRUE(fs::exists(backup)) << backup;
  EXPECT_EQ(fs::path(backup).parent_path(), fs::path(job.safety.backupFolder));
  const RadioImage backedUp = test::fileImage(backup);
  EXPECT_EQ(backedUp, test::staleMemory(job.image));
  EXPECT_TRUE(dialog->backupPath(2).isEmpty());

  std::vector<std::string> lines = test::jobRecordLines(job.recordPath);
  ASSERT_EQ(lines.size(), 4u);
  std::sort(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
    return a.substr(a.find(',')) < b.substr(b.find(','));
  });
  EXPECT_NE(lines[0].find(",COM1,"), std::string::npos);
  EXPECT_NE(lines[0].find(job.file + ",done," + backup), std::string::npos) << lines[0];
  EXPECT_NE(lines[1].find(",COM2,"), std::string::npos);
  EXPECT_NE(lines[1].find(",done,"), std::string::npos) << lines[1];
  EXPECT_NE(lines[2].find(",COM4,"), std::string::npos);
  EXPECT_NE(lines[2].find("failed: " + test::idText(10026007)), std::string::npos) << lines[2];
  EXPECT_NE(lines[3].find(",COM7,"), std::string::npos);
  EXPECT_NE(lines[3].find("failed: " + test::idText(10026003)), std::string::npos) << lines[3];

  // The retry writes the two failed radios only, and this time the other model is written.
  ui.answers = {MessageAnswer::Ok};
  const int goodBlocks = good.stats().blocksWritten;
  press(*dialog, "retryButton");
  EXPECT_EQ(ui.messageTexts().size(), 2u);
  EXPECT_TRUE(holdsImage(otherModel));
  EXPECT_TRUE(holdsImage(faulty));
  EXPECT_EQ(good.stats().blocksWritten, goodBlocks);
  EXPECT_EQ(dialog->statusText(4).toStdString(), test::idText(10068106));
  EXPECT_EQ(dialog->statusText(7).toStdString(), test::idText(10068106));
  EXPECT_EQ(dialog->statusText(1).toStdString(), test::idText(10068106));
  EXPECT_FALSE(dialog->findChild<QPushButton*>("retryButton")->isEnabled());
  lines = test::jobRecordLines(job.recordPath);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_NE(lines[4].find(",done,"), std::string::npos) << lines[4];
  EXPECT_NE(lines[5].find(",done,"), std::string::npos) << lines[5];
}

TEST_F(FleetWriteDialog, ClosingWhileWritingAsksThenStopsEveryRadioAndNamesThoseLeftHalfWritten) {
  test::loadLanguage(false); // the message names the radios in its own words
  sim::VirtualRadioOptions paced;
  paced.programMode = true;
  paced.paced = true;
  job.safety = {};
  sim::VirtualRadio& first = radioAt(3, test::markedImage(16, 0x11), paced);
  sim::VirtualRadio& second = radioAt(5, test::markedImage(16, 0x22), paced);
  std::unique_ptr<CFleetWriteDlg> dialog = openDialog();
  dialog->portBox(3)->setChecked(true);
  dialog->portBox(5)->setChecked(true);
  QTest::mouseClick(dialog->findChild<QPushButton*>("writeButton"), Qt::LeftButton);
  ASSERT_TRUE(dialog->isWriting());
  QTRY_VERIFY_WITH_TIMEOUT(dialog->portBar(3)->value() >= 5 && dialog->portBar(5)->value() >= 5, 30000);

  // Asked, and told to go on: nothing stops.
  ui.answers = {MessageAnswer::Cancel};
  dialog->close();
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_TRUE(dialog->isWriting());
  // Asked again and confirmed: both radios stop part way and are named.
  ui.answers = {MessageAnswer::Ok};
  dialog->close();
  QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), 30000);
  EXPECT_FALSE(dialog->isWriting());
  for (const sim::VirtualRadio* radio : {&first, &second}) {
    EXPECT_GT(radio->stats().blocksWritten, 0);
    EXPECT_LT(radio->stats().blocksWritten, kWriteBlockCount);
  }
  ASSERT_EQ(ui.messages.size(), 3u);
  EXPECT_EQ(ui.messages[0].text, textOf(10068218));
  EXPECT_EQ(ui.messages[1].text, textOf(10068218));
  EXPECT_EQ(ui.messages[2].kind, MessageKind::Warning);
  EXPECT_EQ(ui.messages[2].text, formatText(textOf(10068219), {"COM3, COM5"}));
  const std::string brokeOff = textOf(10065007).substr(0, textOf(10065007).find('%'));
  const std::vector<std::string> lines = test::jobRecordLines(job.recordPath);
  ASSERT_EQ(lines.size(), 2u);
  for (const std::string& line : lines) {
    EXPECT_NE(line.find("failed: " + textOf(10068002)), std::string::npos) << line;
    EXPECT_NE(line.find(brokeOff), std::string::npos) << line;
  }
}

} // namespace
} // namespace vpr
