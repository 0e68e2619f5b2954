// Backups, the read-back check and diff in vpr40t-cli, run as a process against a virtual radio.

#include "cli/CliRadioFixture.h"
#include "lang/CLanguageTable.h"
#include "model/DataFile.h"
#include "model/ModelCatalogue.h"
#include "model/RadioData.h"
#include "sim/VirtualRadio.h"
#include "support/TestImages.h"
#include "support/TestLanguage.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace vpr {
namespace {

namespace fs = std::filesystem;
using test::contains;
using test::fileImage;
using test::rowImage;

std::vector<fs::path> filesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec))
    files.push_back(entry.path());
  return files;
}

class CliSafeWrite : public test::CliRadioFixture {};

TEST_F(CliSafeWrite, WriteBacksUpIntoTheDataFolderAndSaysWrittenAndVerified) {
  const RadioImage before = rowImage(16);
  RadioImage image = before;
  image[0x20] = 0x12;
  sim::VirtualRadio radio(before);
  ASSERT_TRUE(radio.start());
  const test::CliRun run = cli({"write", "--port", radio.devicePath(), dataFile("new.dat", image)});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(contains(run.out, textOf(10065004))) << run.out;
  const auto backups = filesIn(test::backupFolderOf(dir));
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_EQ(fileImage(backups[0]), before);
  EXPECT_TRUE(contains(run.out, backups[0].string())) << run.out;
}

TEST_F(CliSafeWrite, AWriteTheRadioTookAndVerifiedSucceedsWhenOnlyClosingThePortFails) {
  sim::VirtualRadio radio(rowImage(16));
  ASSERT_TRUE(radio.start());
  RadioImage image = rowImage(16);
  image[0x20] = 0x12;
  const char* sanitizer = std::getenv("ASAN_OPTIONS");
  // The preloaded library comes before the sanitizer's run-time, which would otherwise object.
  const std::string environment =
      "LD_PRELOAD=" + test::shellQuoted(VPR_FAILING_CLOSE) +
      " VPR_FAIL_CLOSE_OF=" + test::shellQuoted(radio.devicePath()) + " ASAN_OPTIONS=" +
      test::shellQuoted(std::string(sanitizer ? sanitizer : "") + ":verify_asan_link_order=0");
  const test::CliRun run =
      test::runCli(dir, {"write", "--port", radio.devicePath(), "--no-backup", dataFile("new.dat", image)},
                   std::nullopt, environment);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(radio.memory(), image);
  EXPECT_TRUE(contains(run.out, textOf(10065004))) << run.out;
  const std::string warning = textOf(10050106);
  EXPECT_TRUE(contains(run.err, warning.substr(0, warning.find("%s")))) << run.err;
}

TEST_F(CliSafeWrite, BackupDirNoBackupAndNoVerifyDoWhatTheySay) {
  sim::VirtualRadio radio(rowImage(16));
  ASSERT_TRUE(radio.start());
  const std::string file = dataFile("new.dat", rowImage(16));
  const test::CliRun elsewhere = cli({"write", "--port", radio.devicePath(), file, "--backup-dir", "mine"});
  ASSERT_EQ(elsewhere.status, 0) << elsewhere.err;
  EXPECT_EQ(filesIn(dir / "mine").size(), 1u);

  const int readsBefore = radio.stats().blocksRead;
  const test::CliRun bare = cli({"write", "--port", radio.devicePath(), file, "--no-backup", "--no-verify"});
  ASSERT_EQ(bare.status, 0) << bare.err;
  EXPECT_EQ(radio.stats().blocksRead, readsBefore); // neither a backup nor a check was read
  EXPECT_TRUE(contains(bare.out, textOf(10017003))) << bare.out;
  EXPECT_FALSE(fs::exists(test::backupFolderOf(dir)));
}

TEST_F(CliSafeWrite, ABlockTheRadioStoresWrongFailsWithExitOne) {
  sim::VirtualRadioOptions options;
  options.faults.corruptWriteBlock = 40;
  sim::VirtualRadio radio(rowImage(16), options);
  ASSERT_TRUE(radio.start());
  const test::CliRun run = cli({"write", "--port", radio.devicePath(), dataFile("new.dat", rowImage(16))});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(contains(run.err, "block 40 (0x140..0x147)")) << run.err;
}

TEST_F(CliSafeWrite, ABackupFolderThatCannotBeMadeStopsTheWriteUntilNoBackup) {
  sim::VirtualRadio radio(rowImage(16));
  ASSERT_TRUE(radio.start());
  std::ofstream(dir / "plain") << "x";
  const std::string file = dataFile("new.dat", rowImage(17));
  const test::CliRun refused = cli(
      {"write", "--port", radio.devicePath(), file, "--yes", "--backup-dir", (dir / "plain" / "b").string()});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(radio.stats().blocksWritten, 0);
  EXPECT_TRUE(contains(refused.err, std::make_error_code(std::errc::not_a_directory).message()))
      << refused.err;
  const test::CliRun forced = cli({"write", "--port", radio.devicePath(), file, "--yes", "--no-backup"});
  EXPECT_EQ(forced.status, 0) << forced.err;
  EXPECT_EQ(radio.stats().blocksWritten, 123);
}

TEST_F(CliSafeWrite, ReadIsBackedUpToo) {
  sim::VirtualRadio radio(rowImage(3));
  ASSERT_TRUE(radio.start());
  ASSERT_EQ(cli({"read", "--port", radio.devicePath(), "-o", "r.dat"}).status, 0);
  const auto backups = filesIn(test::backupFolderOf(dir));
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_EQ(fileImage(backups[0]), rowImage(3));
}

TEST_F(CliSafeWrite, DiffExitsZeroOneOrTwoAndListsTheFields) {
  RadioData data;
  data.resetToModel(ModelCatalogue::modelCodeForRow(2));
  std::string text = "146.520";
  data.setChannelFrequency(3, text, FrequencyField::Receive);
  const std::string a = dataFile("a.dat", data.editImage);
  RadioData changed = data;
  changed.commitSquelchText(data.squelchLevel() == 1 ? "2" : "1");
  text = "146.540";
  changed.setChannelFrequency(3, text, FrequencyField::Receive);
  const std::string b = dataFile("b.dat", changed.editImage);

  const test::CliRun same = cli({"diff", a, a});
  EXPECT_EQ(same.status, 0);
  EXPECT_EQ(same.out, textOf(10065020) + "\n");

  const test::CliRun different = cli({"diff", a, b});
  EXPECT_EQ(different.status, 1);
  EXPECT_EQ(different.out, "CH 3 RX Freq.: 146.52000 → 146.54000\n" + textOf(10041002) + ": " +
                               std::to_string(data.squelchLevel()) + " → " +
                               std::to_string(changed.squelchLevel()) + "\n");

  std::ofstream(dir / "text.dat") << "just some text that is long enough to be something";
  const test::CliRun notData = cli({"diff", a, (dir / "text.dat").string()});
  EXPECT_EQ(notData.status, 2);
  EXPECT_TRUE(contains(notData.err, "is not a VPR-40T data file")) << notData.err;
  EXPECT_EQ(cli({"diff", a}).status, 2);
}

TEST_F(CliSafeWrite, DiffWithARadioComparesTheFileWithTheRadiosMemory) {
  RadioImage memory = rowImage(16);
  memory[layout::kSquelchLevel] = static_cast<std::uint8_t>((memory[layout::kSquelchLevel] + 1) % 10);
  sim::VirtualRadio radio(memory);
  ASSERT_TRUE(radio.start());
  const test::CliRun run =
      cli({"diff", "--port", radio.devicePath(), dataFile("mine.dat", rowImage(16)), "--no-backup"});
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_TRUE(contains(run.out, textOf(10041002) + ": ")) << run.out;
  EXPECT_TRUE(contains(run.out, " → " + std::to_string(memory[layout::kSquelchLevel]) + "\n")) << run.out;
  EXPECT_EQ(radio.stats().blocksWritten, 0);

  sim::VirtualRadioOptions silent;
  silent.faults.noAnswer = true;
  sim::VirtualRadio off(memory, silent);
  ASSERT_TRUE(off.start());
  EXPECT_EQ(cli({"diff", "--port", off.devicePath(), dataFile("m.dat", memory)}).status, 2);
}

} // namespace
} // namespace vpr
