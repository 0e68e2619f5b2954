// Safe writes against the virtual radio: the backup taken first, the read-back check after,
// the honest message after a broken write, and writing a backup back to put a radio right.

#include "RadioOnLine.h"

#include "lang/CLanguageTable.h"
#include "link/RadioTransfer.h"
#include "model/DataFile.h"
#include "model/RadioBackups.h"
#include "support/TestImages.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <fstream>

namespace vpr::test {
namespace {

namespace fs = std::filesystem;
using Faults = sim::VirtualRadioFaults;

class SafeWrite : public LinkTest {
protected:
  WriteSafety everything() const {
    WriteSafety safety;
    safety.backup = true;
    safety.backupFolder = folder;
    safety.verify = true;
    return safety;
  }
  std::size_t backupCount() const {
    std::error_code ec;
    return fs::exists(folder, ec) ? static_cast<std::size_t>(std::distance(fs::directory_iterator(folder),
                                                                           fs::directory_iterator()))
                                  : 0u;
  }

  std::string folder = makeTempDir() + "/Backups";
  WriteReport report;
};

TEST_F(SafeWrite, ASuccessfulWriteLeavesABackupOfTheOldMemoryAndIsVerified) {
  const RadioImage before = patternImage("P4410", 0x20, 1);
  const RadioImage image = patternImage("P4410", 0x20, 2);
  RadioOnLine pair(before);
  ASSERT_EQ(runSafeWrite(pair.link, pair.ui, image, everything(), report), 0);
  EXPECT_TRUE(pair.ui.messages.empty());
  EXPECT_TRUE(report.verified);
  ASSERT_EQ(report.backup, WriteReport::Backup::Stored);
  EXPECT_EQ(fs::path(report.backupPath).parent_path(), fs::path(folder));
  EXPECT_EQ(fileImage(report.backupPath), before);
  EXPECT_TRUE(sameRange(pair.radio.memory(), image, 0, 0x3D8));
  EXPECT_TRUE(sameRange(pair.radio.memory(), before, 0x3D8, 0x400));
  // One read of 128 blocks before, 123 blocks written, 123 read back.
  EXPECT_EQ(pair.radio.stats().blocksRead, 128 + 123);
  EXPECT_EQ(pair.radio.stats().blocksWritten, 123);
  EXPECT_FALSE(pair.link.IsOpen());
  EXPECT_EQ(writeSuccessText(report),
            idText(10065004) + "\n\n" + idText(10065006)); // identifier mode drops the placeholders
}

TEST_F(SafeWrite, TheProgressNamesBackingUpWritingAndVerifyingInThatOrder) {
  RadioOnLine pair(patternImage("P4410", 0x20));
  ASSERT_EQ(runSafeWrite(pair.link, pair.ui, patternImage("P4410", 0x20, 4), everything(), report), 0);
  std::vector<std::string> phases;
  for (const auto& p : pair.ui.progress) {
    const std::string phase = p.label.substr(0, p.label.find(':', 3));
    if (phases.empty() || phases.back() != phase) phases.push_back(phase);
  }
  EXPECT_EQ(phases, (std::vector<std::string>{idText(10065001), idText(10065002), idText(10065003)}));
  EXPECT_EQ(pair.ui.progress.back().label, idText(10065003) + ": " + idText(10014004) + " 123 / 123");
}

TEST_F(SafeWrite, ABlockStoredWrongFailsVerificationNamingThatBlock) {
  loadLanguage(false);
  Faults faults;
  faults.corruptWriteBlock = 17;
  RadioOnLine pair(patternImage("P4410", 0x20), radioOptions(faults));
  EXPECT_EQ(runSafeWrite(pair.link, pair.ui, patternImage("P4410", 0x20, 5), everything(), report), 1);
  EXPECT_FALSE(report.verified);
  EXPECT_EQ(report.differingBlocks, std::vector<int>{17});
  ASSERT_EQ(pair.ui.messages.size(), 1u);
  const std::string& text = pair.ui.messages[0].text;
  EXPECT_EQ(pair.ui.messages[0].kind, MessageKind::Error);
  EXPECT_NE(text.find("block 17 (0x088..0x08F)"), std::string::npos) << text;
  EXPECT_NE(text.find(report.backupPath), std::string::npos) << text << "\n" << report.backupPath;
  EXPECT_FALSE(pair.link.IsOpen());
}

TEST_F(SafeWrite, AWriteCutOffAfterBlock60NamesTheBackupWhichPutsTheRadioRight) {
  loadLanguage(false);
  const RadioImage original = patternImage("P4410", 0x20, 8);
  Faults faults;
  faults.silentAfterBlocks = 128 + 60; // the backup's 128 reads, then 60 blocks written
  RadioOnLine pair(original, radioOptions(faults));
  EXPECT_EQ(runSafeWrite(pair.link, pair.ui, patternImage("P4410", 0x20, 9), everything(), report), 1);
  EXPECT_EQ(report.blocksAcknowledged, 60);
  ASSERT_EQ(pair.ui.messages.size(), 2u);
  EXPECT_EQ(pair.ui.messages[0].text, textOf(10026003));
  const std::string& partial = pair.ui.messages[1].text;
  EXPECT_NE(partial.find("60 of 123"), std::string::npos) << partial;
  EXPECT_NE(partial.find(report.backupPath), std::string::npos) << partial;
  const RadioImage broken = pair.radio.memory();
  EXPECT_FALSE(sameRange(broken, original, 0, 0x3D8));

  // The radio comes back: writing the backup restores it byte for byte.
  RadioOnLine again(broken);
  WriteReport restore;
  WriteSafety plain;
  plain.verify = true;
  ASSERT_EQ(runSafeWrite(again.link, again.ui, fileImage(report.backupPath), plain, restore), 0);
  EXPECT_TRUE(sameRange(again.radio.memory(), original, 0, 0x3D8));
}

TEST_F(SafeWrite, AFailureBeforeAnyBlockWasTakenSaysNothingAboutPartialData) {
  Faults faults;
  faults.refuseWriteBlock = 0;
  faults.refuseWriteTimes = 3;
  const RadioImage original = patternImage("P4410", 0x20);
  RadioOnLine pair(original, radioOptions(faults));
  EXPECT_EQ(runSafeWrite(pair.link, pair.ui, patternImage("P4410", 0x20, 3), everything(), report), 1);
  EXPECT_EQ(pair.ui.messageTexts(), std::vector<std::string>{idText(10026003)});
  EXPECT_EQ(pair.radio.memory(), original);
}

TEST_F(SafeWrite, ABackupThatCannotBeStoredStopsTheWriteBeforeAnyBlockIsSent) {
  loadLanguage(false);
  const std::string base = makeTempDir();
  std::ofstream(base + "/file") << "x";
  const RadioImage original = patternImage("P4410", 0x20);
  RadioOnLine pair(original);
  WriteSafety safety = everything();
  safety.backupFolder = base + "/file/Backups";
  EXPECT_EQ(runSafeWrite(pair.link, pair.ui, patternImage("P4410", 0x20, 3), safety, report), 1);
  EXPECT_EQ(pair.radio.stats().blocksWritten, 0);
  EXPECT_EQ(pair.radio.memory(), original);
  ASSERT_EQ(pair.ui.messages.size(), 1u);
  EXPECT_NE(pair.ui.messages[0].text.find(std::make_error_code(std::errc::not_a_directory).message()),
            std::string::npos)
      << pair.ui.messages[0].text;
  EXPECT_FALSE(pair.link.IsOpen());

  // Without a backup the same write goes through.
  safety.backup = false;
  RadioOnLine other(original);
  EXPECT_EQ(runSafeWrite(other.link, other.ui, patternImage("P4410", 0x20, 3), safety, report), 0);
  EXPECT_EQ(other.radio.stats().blocksWritten, 123);
}

TEST_F(SafeWrite, AnUnprogrammedRadioNeedsNoBackupAndIsWrittenAnyway) {
  RadioOnLine pair(clearedImage());
  const RadioImage image = patternImage("P4410", 0x20, 6);
  ASSERT_EQ(runSafeWrite(pair.link, pair.ui, image, everything(), report), 0);
  EXPECT_EQ(report.backup, WriteReport::Backup::NotNeeded);
  EXPECT_EQ(backupCount(), 0u);
  EXPECT_EQ(pair.radio.stats().blocksRead, 123); // only the check
  EXPECT_TRUE(sameRange(pair.radio.memory(), image, 0, 0x3D8));
  EXPECT_EQ(writeSuccessText(report), idText(10065004) + "\n\n" + idText(10065005));
}

TEST_F(SafeWrite, AReadIsBackedUpAndABackupThatCannotBeStoredOnlyWarns) {
  const RadioImage memory = patternImage("P4410", 0x20, 12);
  RadioOnLine pair(memory, radioOptions({}, true));
  RadioImage image = clearedImage();
  ASSERT_EQ(runReadTransfer(pair.link, pair.ui, image), 0);
  const std::string path = backUpReadImage(pair.ui, image, folder);
  EXPECT_EQ(fileImage(path), memory);
  EXPECT_TRUE(pair.ui.messages.empty());

  const std::string base = makeTempDir();
  std::ofstream(base + "/file") << "x";
  EXPECT_TRUE(backUpReadImage(pair.ui, image, base + "/file").empty());
  ASSERT_EQ(pair.ui.messages.size(), 1u);
  EXPECT_EQ(pair.ui.messages[0].kind, MessageKind::Warning);
}

} // namespace
} // namespace vpr::test
