// What the radio commands decide around their dialogs: backups, the working image after a read
// or a restore, and what a compare compares.
#include "link/RadioFlows.h"

#include "model/DataFile.h"
#include "model/ModelCatalogue.h"
#include "model/RadioBackups.h"
#include "support/FakeUserInterface.h"
#include "support/TestImages.h"
#include "support/TestLanguage.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <ctime>
#include <fstream>

namespace vpr {
namespace {

using test::idText;

class RadioFlowsTest : public ::testing::Test {
protected:
  void SetUp() override {
    test::loadLanguage(true);
    data.startUp(std::nullopt);
    file.setFolder(dataFolder);
    file.setFileName("workshop.dat");
  }
  void TearDown() override { test::unloadLanguage(); }

  RadioFlows flows(bool backup, bool verify = false) {
    RadioFlows result(data, file, ui, {dataFolder, backup, verify});
    result.setCloseViews([this] { viewsClosedWith = data.editImage; });
    return result;
  }
  // An image of another model than the working one, with a byte of its own.
  static RadioImage otherImage() {
    RadioImage image = test::rowImage(13);
    image[0x10] = 0x25;
    return image;
  }
  std::string storeBackup(const RadioImage& image) {
    std::error_code error;
    return RadioBackups::store(backups, image, std::time(nullptr), BackupReason::BeforeWrite, error);
  }

  std::string dataFolder = test::makeTempDir();
  std::string backups = RadioBackups::folderBelow(dataFolder);
  RadioData data;
  CurrentFile file;
  test::FakeUserInterface ui;
  std::optional<RadioImage> viewsClosedWith;
};

TEST_F(RadioFlowsTest, BackupsGoBelowTheDataFolderAndAWriteFollowsTheSettings) {
  for (const bool backup : {false, true}) {
    for (const bool verify : {false, true}) {
      const WriteSafety safety = flows(backup, verify).writeSafety();
      EXPECT_EQ(safety.backup, backup);
      EXPECT_EQ(safety.verify, verify);
      EXPECT_EQ(safety.backupFolder, backups);
    }
  }
  const RadioFlows withoutFolder(data, file, ui, {});
  EXPECT_EQ(withoutFolder.backupFolder(), RadioBackups::folderBelow(RadioBackups::defaultDataFolder()));
}

// A job record line names the data file only as what was written when the file holds it.
TEST_F(RadioFlowsTest, TheRecordNamesTheDataFileAsWrittenOnlyWhenItHoldsTheWorkingImage) {
  EXPECT_NE(flows(false).recordedFile(), file.path()) << "never saved";
  std::ofstream(file.path()) << "saved";
  data.markSaved();
  EXPECT_EQ(flows(false).recordedFile(), file.path());
  data.editImage[0x3E0] ^= 0x01;
  EXPECT_NE(flows(false).recordedFile(), file.path()) << "changes not saved";
}

// The read dialog backs a complete read up into the folder it is given (tested with the dialog).
TEST_F(RadioFlowsTest, AReadBecomesTheWorkingImageAfterTheViewsClosedAndIsBackedUpOnlyWhenAsked) {
  EXPECT_EQ(flows(false).readBackupFolder(), "");
  EXPECT_EQ(flows(true).readBackupFolder(), backups);
  file.setFileName("workshop.dat");
  const RadioImage before = data.editImage;
  data.transferImage = otherImage();
  flows(true).adoptReadImage();
  EXPECT_EQ(viewsClosedWith, before) << "the views close before the image is replaced";
  EXPECT_EQ(data.editImage, otherImage());
  EXPECT_FALSE(data.isModified());
  EXPECT_EQ(file.fileName(), "vpr40t.dat") << "Save never goes over another file";
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(RadioFlowsTest, ARestoreThatIsCancelledOrDoesNotLoadChangesNothing) {
  const std::string good = storeBackup(otherImage());
  const std::string damaged = backups + "damaged.dat";
  std::ofstream(damaged, std::ios::binary) << "not a data file";
  data.editImage[0x3C1] ^= 0x01; // modified: the restore asks to save first
  const RadioImage working = data.editImage;
  struct Case {
    std::string path;
    MessageAnswer saveAnswer;
    std::size_t messages;
  };
  for (const Case& c : {Case{good, MessageAnswer::Cancel, 1}, Case{damaged, MessageAnswer::No, 2}}) {
    ui.messages.clear();
    ui.answers = {c.saveAnswer};
    EXPECT_FALSE(flows(false).restoreBackup(c.path)) << c.path;
    EXPECT_EQ(ui.messages.size(), c.messages) << c.path;
    EXPECT_EQ(data.editImage, working) << c.path;
    EXPECT_EQ(file.fileName(), "workshop.dat") << c.path;
    EXPECT_FALSE(viewsClosedWith) << c.path;
  }
  EXPECT_EQ(ui.messages.back().kind, MessageKind::Error) << "a backup that does not load is reported";
}

TEST_F(RadioFlowsTest, ARestoredBackupIsTheWorkingImageUnderTheDefaultName) {
  ASSERT_TRUE(flows(false).restoreBackup(storeBackup(otherImage())));
  EXPECT_EQ(data.editImage, otherImage());
  EXPECT_EQ(file.fileName(), "vpr40t.dat");
  EXPECT_TRUE(viewsClosedWith);
  ui.answers = {MessageAnswer::Ok};
  EXPECT_TRUE(flows(false).confirmWriteRestored());
  EXPECT_EQ(ui.messageTexts().back(), idText(RadioFlows::kTextWriteRestored));
}

TEST_F(RadioFlowsTest, ACompareNamesTheOtherSideAndLeavesTheWorkingImageAlone) {
  const RadioImage working = data.editImage;
  std::error_code error;
  ASSERT_EQ(DataFile::writeDataFile(dataFolder + "/bench.dat", otherImage(), error), DataFile::Written);
  ui.openChoices = {std::nullopt, dataFolder + "/bench.dat"};
  RadioFlows compare = flows(true);
  EXPECT_FALSE(compare.chooseFileToCompare()) << "cancelled";
  const auto fromFile = compare.chooseFileToCompare();
  ASSERT_TRUE(fromFile);
  EXPECT_EQ(fromFile->name, "bench.dat");
  EXPECT_EQ(compare.differencesFrom(*fromFile), ImageCompare::compare(working, otherImage()));
  EXPECT_TRUE(RadioBackups::list(backups).empty()) << "a data file is no radio to back up";

  const RadioFlows::Other radio = compare.radioToCompare(otherImage());
  EXPECT_EQ(radio.name, idText(RadioFlows::kTextTheRadio));
  EXPECT_EQ(data.editImage, working);
  EXPECT_TRUE(ui.messages.empty());
}

} // namespace
} // namespace vpr
