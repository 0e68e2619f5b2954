// The Backups folder: names that stay inside it, no backup overwriting another, pruning that
// keeps the newest twenty whatever their age, and a list that flags damaged files.

#include "model/RadioBackups.h"

#include "lang/PathText.h"
#include "model/DataFile.h"
#include "model/RadioData.h"
#include "support/TestImages.h"
#include "support/TestSupport.h"
#include "tests/model/ModelTestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <tuple>

#ifdef _WIN32
#include <shlobj.h>
#include <windows.h>
#endif

namespace vpr {
namespace {

namespace fs = std::filesystem;

constexpr std::time_t kDay = 24 * 60 * 60;

// 2026-12-08 12:00 local time.
std::time_t noon() {
  std::tm local{};
  local.tm_year = 126;
  local.tm_mon = 11;
  local.tm_mday = 8;
  local.tm_hour = 12;
  local.tm_isdst = -1;
  return std::mktime(&local);
}

std::vector<std::string> fileNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

using RadioBackupsTest = test::LanguageTest;

TEST_F(RadioBackupsTest, NamesCarryModelBandAndTimeAndNeverLeaveTheFolder) {
  const std::string folder = test::makeTempDir() + "/Backups";
  for (int row = 0; row < ModelCatalogue::kRowCount; ++row) {
    const RadioImage image = test::rowImage(row);
    const std::string name = RadioBackups::fileNameFor(image, noon());
    EXPECT_EQ(name.find_first_of("/\\:*?\"<>|"), std::string::npos) << name;
    // "HX-5470/5470M" would be a folder and a file: its "/" becomes "_".
    std::string model = ModelCatalogue::modelNameText(modelCodeOf(image));
    std::replace(model.begin(), model.end(), '/', '_');
    EXPECT_EQ(name.rfind(model + "_", 0), 0u) << name;
    EXPECT_TRUE(name.ends_with("_2026-12-08_12-00-00.dat")) << name;
    std::error_code error;
    const std::string path = RadioBackups::store(folder, image, noon(), BackupReason::BeforeWrite, error);
    ASSERT_FALSE(path.empty()) << error.message();
    EXPECT_EQ(fs::path(path).parent_path(), fs::path(folder));
  }
  EXPECT_EQ(fileNames(folder).size(), static_cast<std::size_t>(ModelCatalogue::kRowCount));
}

TEST_F(RadioBackupsTest, AnUnlistedModelCodeStillGivesAFileNameInsideTheFolder) {
  RadioImage image = clearedImage();
  writeModelCode(image, {'/', '.', '.', '/', ':', '*', '?', 0x01});
  const std::string name = RadioBackups::fileNameFor(image, noon());
  EXPECT_EQ(name.find('/'), std::string::npos);
  EXPECT_TRUE(name.ends_with(".dat"));
}

TEST_F(RadioBackupsTest, TwoBackupsInTheSameSecondAreBothKeptAndReadBackExactly) {
  const std::string folder = test::makeTempDir();
  std::error_code error;
  const std::string first =
      RadioBackups::store(folder, test::rowImage(3), noon(), BackupReason::BeforeWrite, error);
  RadioImage second = test::rowImage(3);
  second[0x100] = 0x42;
  const std::string other = RadioBackups::store(folder, second, noon(), BackupReason::BeforeWrite, error);
  ASSERT_FALSE(first.empty());
  ASSERT_FALSE(other.empty());
  EXPECT_NE(first, other);
  EXPECT_EQ(test::fileImage(first), test::rowImage(3));
  EXPECT_EQ(test::fileImage(other), second);
}

TEST_F(RadioBackupsTest, AFolderThatCannotBeMadeIsAnErrorWithTheSystemsCause) {
  const std::string base = test::makeTempDir();
  std::ofstream(base + "/plain.txt") << "x";
  std::error_code error;
  EXPECT_TRUE(RadioBackups::store(base + "/plain.txt/Backups", test::rowImage(0), noon(),
                                  BackupReason::BeforeWrite, error)
                  .empty());
  EXPECT_TRUE(error);
}

#ifndef _WIN32
TEST_F(RadioBackupsTest, ABackupNeverWritesThroughANameThatIsTakenEvenByADanglingLink) {
  const std::string folder = test::makeTempDir();
  const std::string elsewhere = test::makeTempDir() + "/elsewhere.dat";
  const std::string name = RadioBackups::fileNameFor(test::rowImage(3), noon());
  fs::create_symlink(elsewhere, folder + "/" + name);
  std::error_code error;
  const std::string path =
      RadioBackups::store(folder, test::rowImage(3), noon(), BackupReason::BeforeWrite, error);
  EXPECT_EQ(fs::path(path).filename().string(), name.substr(0, name.size() - 4) + "_2.dat")
      << error.message();
  EXPECT_FALSE(fs::exists(elsewhere));
}
#endif

TEST_F(RadioBackupsTest, PruningRemovesOnlyOldBackupsBeyondTheNewestTwentyAndNeverTheUsersFiles) {
  const std::string folder = test::makeTempDir();
  std::error_code error;
  // 25 backups, all older than a year: the newest 20 stay.
  for (int i = 0; i < 25; ++i)
    ASSERT_FALSE(RadioBackups::store(folder, test::rowImage(0), noon() - (400 + i) * kDay,
                                     BackupReason::BeforeWrite, error)
                     .empty());
  // Old files of the user's whose names only end like a backup's, or nearly match one.
  const std::string backup = RadioBackups::fileNameFor(test::rowImage(0), noon() - 500 * kDay);
  const std::string stem = backup.substr(0, backup.size() - 4);
  const std::vector<std::string> usersFiles = {
      "notes.dat",
      "club_2023-01-05_19-00-00.dat",
      "my " + backup,
      stem + "_x.dat",
      stem + "_1.dat",
      stem + ".dat.bak",
      backup.substr(0, backup.size() - 23) + "2025-02-30_12-00-00.dat",
      "unknown_" + backup,
  };
  for (const std::string& name : usersFiles)
    std::ofstream(folder + "/" + name) << "the user's own";
  RadioBackups::prune(folder, noon());
  auto names = fileNames(folder);
  EXPECT_EQ(names.size(), 20 + usersFiles.size());
  for (const std::string& name : usersFiles)
    EXPECT_TRUE(std::find(names.begin(), names.end(), name) != names.end()) << name;
  // The oldest five went.
  for (int i = 20; i < 25; ++i)
    EXPECT_TRUE(std::find(names.begin(), names.end(),
                          RadioBackups::fileNameFor(test::rowImage(0), noon() - (400 + i) * kDay)) ==
                names.end());

  // Young backups beyond the newest twenty are kept too; an old one with a suffix goes.
  const std::string young = test::makeTempDir();
  for (int i = 0; i < 30; ++i)
    ASSERT_FALSE(
        RadioBackups::store(young, test::rowImage(0), noon() - i * kDay, BackupReason::BeforeWrite, error)
            .empty());
  std::ofstream(young + "/" + stem + "_2.dat") << "an old second backup";
  RadioBackups::prune(young, noon());
  EXPECT_EQ(fileNames(young).size(), 30u);
}

TEST_F(RadioBackupsTest, TheListIsNewestFirstFlagsDamagedFilesAndSaysWhyEachBackupWasTaken) {
  const std::string folder = test::makeTempDir();
  std::error_code error;
  const std::string afterRead =
      RadioBackups::store(folder, test::rowImage(0), noon() - 2 * kDay, BackupReason::AfterRead, error);
  RadioBackups::store(folder, test::rowImage(2), noon(), BackupReason::BeforeWrite, error);
  const std::string damagedName = RadioBackups::fileNameFor(test::rowImage(5), noon() - kDay);
  std::ofstream(folder + "/" + damagedName) << "VPR40T but cut short";
  // A backup from before backups noted their reason: a plain data file under a backup's name.
  const std::string olderName = RadioBackups::fileNameFor(test::rowImage(7), noon() - 3 * kDay);
  ASSERT_EQ(DataFile::writeDataFile(folder + "/" + olderName, test::rowImage(7), error), DataFile::Written);

  const auto entries = RadioBackups::list(folder);
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].model, ModelCatalogue::modelNameText(ModelCatalogue::modelCodeForRow(2)));
  EXPECT_EQ(entries[0].dateTime, "2026-12-08 12:00:00");
  EXPECT_FALSE(entries[0].damaged);
  EXPECT_EQ(entries[0].reason, BackupReason::BeforeWrite);
  EXPECT_EQ(entries[1].fileName, damagedName);
  EXPECT_TRUE(entries[1].damaged);
  EXPECT_TRUE(entries[1].model.empty());
  EXPECT_EQ(entries[2].band, ModelCatalogue::bandNameText(ModelCatalogue::modelCodeForRow(0)));
  EXPECT_EQ(entries[2].reason, BackupReason::AfterRead);
  EXPECT_EQ(entries[3].fileName, olderName);
  EXPECT_EQ(entries[3].reason, BackupReason::Unknown);
  EXPECT_FALSE(entries[3].damaged);
  // The note changes neither the name nor the image: the backup opens as any data file.
  EXPECT_EQ(PathText::toText(PathText::toPath(afterRead).filename()),
            RadioBackups::fileNameFor(test::rowImage(0), noon() - 2 * kDay));
  const RadioImage image = test::fileImage(afterRead);
  EXPECT_EQ(image, test::rowImage(0));
  EXPECT_TRUE(RadioBackups::list(folder + "/missing").empty());
}

// Paths are UTF-8 text: a folder and a file named in any script are the ones the system shows.
TEST_F(RadioBackupsTest, BackupsAndDataFilesBelowAFolderNamedInAnyScriptAreStoredListedAndReadBack) {
  const std::string base = test::makeTempDir();
  const std::string script = "Dokumente Ελληνικά Кириллица 日本語";
  const std::string folder = base + "/" + script + "/Backups";
  const fs::path systemFolder =
      PathText::toPath(base) / fs::path(u8"Dokumente Ελληνικά Кириллица 日本語") / "Backups";
  std::error_code error;
  const std::string backup =
      RadioBackups::store(folder, test::rowImage(4), noon(), BackupReason::BeforeWrite, error);
  ASSERT_FALSE(backup.empty()) << error.message();
  std::error_code ignored;
  ASSERT_EQ(DataFile::writeDataFile(folder + "/Funkgerät Ωμέγα.dat", test::rowImage(9), ignored),
            DataFile::Written);

  const auto entries = RadioBackups::list(folder);
  ASSERT_EQ(entries.size(), 2u);
  const std::string backupName = RadioBackups::fileNameFor(test::rowImage(4), noon());
  EXPECT_EQ(entries[1].fileName, backupName);
  EXPECT_EQ(entries[1].path, backup);
  // The user's own file: its name whole, its time the file's own (not a backup name's).
  EXPECT_EQ(entries[0].fileName, "Funkgerät Ωμέγα.dat");
  EXPECT_FALSE(entries[0].damaged);
  EXPECT_LE(std::abs(entries[0].time - std::time(nullptr)), 60);
  for (const auto& [entry, row, name] : {std::tuple{entries[0], 9, fs::path(u8"Funkgerät Ωμέγα.dat")},
                                         std::tuple{entries[1], 4, fs::path(backupName)}}) {
    SCOPED_TRACE(entry.fileName);
    const RadioImage image = test::fileImage(entry.path);
    EXPECT_EQ(image, test::rowImage(row));
    // The image is in the file of that name, as the system names it.
    const std::string bytes = test::readFileBytes(systemFolder / name);
    ASSERT_EQ(bytes.size(), DataFile::kFileSize);
    EXPECT_EQ(bytes.substr(DataFile::kHeaderSize), std::string(image.begin(), image.end()));
  }
}

#ifdef _WIN32
// tools/test-windows.sh runs this one again with the Documents folder named in other scripts.
TEST_F(RadioBackupsTest, TheDefaultDataFolderIsBelowTheUsersDocumentsFolder) {
  PWSTR documents = nullptr;
  ASSERT_EQ(SHGetKnownFolderPath(FOLDERID_Documents, KF_FLAG_DEFAULT, nullptr, &documents), S_OK);
  const fs::path expected = fs::path(documents) / "Veskaro" / "VPR-40T" / "";
  CoTaskMemFree(documents);
  EXPECT_EQ(PathText::toPath(RadioBackups::defaultDataFolder()), expected);
  EXPECT_EQ(RadioBackups::folderBelow("C:\\data"), "C:\\data\\Backups\\");
  EXPECT_EQ(RadioBackups::folderBelow("C:/data/"), "C:/data/Backups\\");
}
#else
TEST_F(RadioBackupsTest, TheDefaultDataFolderFollowsTheUsersDocumentsFolder) {
  const std::string home = test::makeTempDir();
  const char* oldHome = std::getenv("HOME");
  const std::string savedHome = oldHome ? oldHome : "";
  const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
  const std::string savedConfig = oldConfig ? oldConfig : "";
  setenv("HOME", home.c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home + "/cfg").c_str(), 1);
  EXPECT_EQ(RadioBackups::defaultDataFolder(), home + "/Documents/Veskaro/VPR-40T/");
  fs::create_directories(home + "/cfg");
  std::ofstream(home + "/cfg/user-dirs.dirs") << "# comment\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n";
  EXPECT_EQ(RadioBackups::defaultDataFolder(), home + "/Dokumente/Veskaro/VPR-40T/");
  EXPECT_EQ(RadioBackups::folderBelow(home + "/data"), home + "/data/Backups/");
  setenv("HOME", savedHome.c_str(), 1);
  if (oldConfig)
    setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
  else
    unsetenv("XDG_CONFIG_HOME");
}
#endif

} // namespace
} // namespace vpr
