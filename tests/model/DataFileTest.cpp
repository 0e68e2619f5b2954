#include "model/DataFile.h"
#include "model/DataFileFlows.h"
#include "model/ModelCatalogue.h"
#include "model/RadioData.h"
#include "support/TestImages.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <random>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace vpr {
namespace {

namespace fs = std::filesystem;
using test::readFileBytes;
using test::writeFileBytes;

std::string asString(const std::array<std::uint8_t, DataFile::kFileSize>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

RadioImage sampleImage() {
  RadioImage image = test::rowImage(13);
  for (std::size_t i = 0; i < 16; ++i)
    image[i] = static_cast<std::uint8_t>(i * 7); // the head is kept as it is
  return image;
}

#ifndef _WIN32
// Makes every write beyond a few hundred bytes fail (EFBIG), even for root, while it lives.
class FileSizeLimit {
public:
  explicit FileSizeLimit(rlim_t bytes) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }

private:
  rlimit previous_{};
  void (*previousHandler_)(int) = nullptr;
};
#endif

class DataFileTest : public ::testing::Test {
protected:
  fs::path dir = test::makeTempDir();
  RadioImage target = clearedImage();
  DataFile::Magic magic{};

  DataFile::ReadResult read(const std::string& bytes) {
    writeFileBytes(dir / "in.dat", bytes);
    return DataFile::readDataFile((dir / "in.dat").string(), target, magic);
  }
};

TEST_F(DataFileTest, AWrittenFileIsTheHeaderFollowedByTheImageAndReadsBackByteForByte) {
  const RadioImage image = sampleImage();
  std::error_code error;
  ASSERT_EQ(DataFile::writeDataFile((dir / "a.dat").string(), image, error), DataFile::Written);
  const std::string bytes = readFileBytes(dir / "a.dat");
  ASSERT_EQ(bytes.size(), 1074u);
  EXPECT_EQ(bytes.substr(0, 10), std::string("VPR40T\xFF\xFF\xFF\xFF", 10));
  EXPECT_EQ(bytes.substr(10, 5), "V0420");
  EXPECT_EQ(bytes.substr(15, 8), std::string(image.begin() + 0x3D0, image.begin() + 0x3D8));
  EXPECT_EQ(bytes.substr(23, 27), std::string(27, '\xFF'));
  EXPECT_EQ(bytes.substr(50), std::string(image.begin(), image.end()));
  EXPECT_EQ(bytes, asString(DataFile::fileBytes(image)));
  ASSERT_EQ(DataFile::readDataFile((dir / "a.dat").string(), target, magic), DataFile::Read);
  EXPECT_EQ(target, image);
}

TEST_F(DataFileTest, OnlyVersionV04FilesMustCarryAListedModel) {
  RadioImage image = sampleImage();
  std::string bytes = asString(DataFile::fileBytes(image));
  bytes.replace(15, 8,
                std::string("\0\0\x23"
                            "0144P",
                            8)); // band byte of no row
  bytes.replace(10, 5, "V0399");
  EXPECT_EQ(read(bytes), DataFile::Read);
  EXPECT_EQ(target, image); // the header's code is not compared with the image's own

  target = clearedImage();
  bytes.replace(10, 5, "V0420");
  EXPECT_EQ(read(bytes), DataFile::UnlistedModel);
  EXPECT_EQ(target, clearedImage());
}

TEST_F(DataFileTest, AWrongMagicIsHandedBack) {
  EXPECT_EQ(read(std::string("VPR30T\xFF\xFF\xFF\xFF", 10) + std::string(1064, '\0')), DataFile::WrongMagic);
  EXPECT_EQ(DataFile::magicText(magic), "VPR30T");
  EXPECT_EQ(read("This is a plain text file, long enough to be mistaken for nothing else at all.\n"),
            DataFile::WrongMagic);
  EXPECT_EQ(DataFile::magicText(magic), "This is a ");
  EXPECT_EQ(target, clearedImage());
}

TEST_F(DataFileTest, FilesShorterThanTheFormatAreRefusedAndLeaveTheTargetAlone) {
  const std::string full = asString(DataFile::fileBytes(sampleImage()));
  // Too short for the magic is short, too: "VPR" alone is no other program's file.
  for (const std::size_t length : {0, 3, 9, 10, 23, 49, 50, 51, 1073}) {
    SCOPED_TRACE(length);
    EXPECT_EQ(read(full.substr(0, length)), DataFile::TooShort);
    EXPECT_EQ(DataFileFlows::readFailureText(DataFile::TooShort, "a.dat", magic),
              DataFileFlows::readFailureText(DataFile::TooShort, "a.dat", DataFile::Magic{}));
  }
  EXPECT_EQ(target, clearedImage());
}

TEST_F(DataFileTest, TrailingBytesAfterTheImageAreIgnored) {
  const RadioImage image = sampleImage();
  std::string bytes = asString(DataFile::fileBytes(image));
  bytes += std::string(8 * 1024 * 1024, '\x5A');
  EXPECT_EQ(read(bytes), DataFile::Read);
  EXPECT_EQ(target, image);
}

TEST_F(DataFileTest, RandomBytesNeverLoad) {
  std::mt19937 random(1074);
  for (int round = 0; round < 50; ++round) {
    std::string bytes(static_cast<std::size_t>(random() % 3000), '\0');
    for (char& c : bytes)
      c = static_cast<char>(random());
    EXPECT_EQ(read(bytes), DataFile::WrongMagic);
  }
  EXPECT_EQ(target, clearedImage());
}

TEST_F(DataFileTest, WhatIsNoRegularFileCannotBeOpened) {
  EXPECT_EQ(DataFile::readDataFile((dir / "missing.dat").string(), target, magic), DataFile::CannotOpen);
  EXPECT_EQ(DataFile::readDataFile(dir.string(), target, magic), DataFile::CannotOpen);
#ifdef _WIN32
  EXPECT_EQ(DataFile::readDataFile("NUL", target, magic), DataFile::CannotOpen);
#else
  ASSERT_EQ(mkfifo((dir / "pipe.dat").c_str(), 0600), 0);
  EXPECT_EQ(DataFile::readDataFile((dir / "pipe.dat").string(), target, magic), DataFile::CannotOpen);
#endif
}

#ifndef _WIN32
TEST_F(DataFileTest, AFailedWriteLeavesTheOldFileAndNoLeftovers) {
  const std::string old = asString(DataFile::fileBytes(test::rowImage(0)));
  writeFileBytes(dir / "radio.dat", old);
  std::error_code error;
  DataFile::WriteResult result;
  {
    FileSizeLimit limit(500);
    result = DataFile::writeDataFile((dir / "radio.dat").string(), sampleImage(), error);
  }
  EXPECT_EQ(result, DataFile::WriteFailed);
  EXPECT_EQ(error, std::errc::file_too_large);
  EXPECT_EQ(readFileBytes(dir / "radio.dat"), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

#endif

TEST_F(DataFileTest, AFileThatCannotBeCreatedNamesTheReason) {
  std::error_code error;
  EXPECT_EQ(DataFile::writeDataFile((dir / "no-such-folder" / "a.dat").string(), sampleImage(), error),
            DataFile::CannotCreate);
  EXPECT_EQ(error, std::errc::no_such_file_or_directory);
  fs::create_directory(dir / "folder.dat");
  EXPECT_EQ(DataFile::writeDataFile((dir / "folder.dat").string(), sampleImage(), error),
            DataFile::CannotCreate);
  EXPECT_EQ(error, std::errc::is_a_directory);
  EXPECT_TRUE(fs::is_directory(dir / "folder.dat"));
}

#ifdef _WIN32
TEST_F(DataFileTest, AReadOnlyFileIsLeftAsItIsAndAReplacedFileKeepsItsAttributes) {
  writeFileBytes(dir / "locked.dat", "old");
  fs::permissions(dir / "locked.dat", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  std::error_code error;
  EXPECT_EQ(DataFile::writeDataFile((dir / "locked.dat").string(), sampleImage(), error),
            DataFile::CannotCreate);
  EXPECT_EQ(error, std::errc::permission_denied);
  EXPECT_EQ(readFileBytes(dir / "locked.dat"), "old");
  fs::permissions(dir / "locked.dat", fs::perms::owner_write, fs::perm_options::add);
  ASSERT_TRUE(SetFileAttributesW((dir / "locked.dat").c_str(), FILE_ATTRIBUTE_ARCHIVE));

  ASSERT_EQ(DataFile::writeDataFile((dir / "locked.dat").string(), sampleImage(), error), DataFile::Written);
  EXPECT_EQ(readFileBytes(dir / "locked.dat"), asString(DataFile::fileBytes(sampleImage())));
  // The hidden temporary file became the data file: nothing else is left, and it carries the
  // attributes of the file it replaced, not those of a temporary file.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  const DWORD attributes = GetFileAttributesW((dir / "locked.dat").c_str());
  EXPECT_EQ(attributes & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_NE(attributes & FILE_ATTRIBUTE_ARCHIVE, 0u);
}

TEST_F(DataFileTest, AFileAnotherProgramHoldsIsLeftAsItIs) {
  writeFileBytes(dir / "held.dat", "old");
  // Opened without sharing, as a program that keeps its file to itself does.
  const HANDLE held = CreateFileW((dir / "held.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::error_code error;
  const auto result = DataFile::writeDataFile((dir / "held.dat").string(), sampleImage(), error);
  CloseHandle(held);
  EXPECT_EQ(result, DataFile::CannotCreate);
  EXPECT_EQ(error.value(), ERROR_SHARING_VIOLATION);
  EXPECT_EQ(readFileBytes(dir / "held.dat"), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(DataFileTest, DevicesAreNeverWritten) {
  std::error_code error;
  for (const char* device : {"NUL", "\\\\.\\NUL"}) {
    SCOPED_TRACE(device);
    EXPECT_EQ(DataFile::writeDataFile(device, sampleImage(), error), DataFile::NotARegularFile);
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 0);
}
#else
TEST_F(DataFileTest, ReplacingAFileKeepsItsPermissionsAndLinks) {
  writeFileBytes(dir / "real.dat", "old");
  fs::permissions(dir / "real.dat", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink(dir / "real.dat", dir / "link.dat");
  std::error_code error;
  ASSERT_EQ(DataFile::writeDataFile((dir / "link.dat").string(), sampleImage(), error), DataFile::Written);
  EXPECT_TRUE(fs::is_symlink(dir / "link.dat"));
  EXPECT_EQ(readFileBytes(dir / "real.dat").size(), 1074u);
  EXPECT_EQ(fs::status(dir / "real.dat").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(DataFileTest, PipesAndDevicesAreNeverReplacedNorWritten) {
  ASSERT_EQ(mkfifo((dir / "pipe.dat").c_str(), 0600), 0);
  fs::create_symlink("/dev/null", dir / "device.dat");
  std::error_code error;
  EXPECT_EQ(DataFile::writeDataFile((dir / "pipe.dat").string(), sampleImage(), error),
            DataFile::NotARegularFile);
  EXPECT_TRUE(fs::is_fifo(dir / "pipe.dat"));
  EXPECT_EQ(DataFile::writeDataFile((dir / "device.dat").string(), sampleImage(), error),
            DataFile::NotARegularFile);
  EXPECT_TRUE(fs::is_symlink(dir / "device.dat"));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
}

TEST_F(DataFileTest, ADanglingLinkGetsItsTargetCreatedAndALoopIsRefused) {
  fs::create_directory(dir / "sub");
  fs::create_symlink("sub/new.dat", dir / "relative.dat");
  fs::create_symlink(dir / "absolute-target.dat", dir / "absolute.dat");
  std::error_code error;
  ASSERT_EQ(DataFile::writeDataFile((dir / "relative.dat").string(), sampleImage(), error),
            DataFile::Written);
  ASSERT_EQ(DataFile::writeDataFile((dir / "absolute.dat").string(), sampleImage(), error),
            DataFile::Written);
  EXPECT_TRUE(fs::is_symlink(dir / "relative.dat"));
  EXPECT_TRUE(fs::is_symlink(dir / "absolute.dat"));
  EXPECT_EQ(readFileBytes(dir / "sub" / "new.dat"), asString(DataFile::fileBytes(sampleImage())));
  EXPECT_EQ(readFileBytes(dir / "absolute-target.dat").size(), DataFile::kFileSize);

  fs::create_symlink("b.dat", dir / "a.dat");
  fs::create_symlink("a.dat", dir / "b.dat");
  EXPECT_EQ(DataFile::writeDataFile((dir / "a.dat").string(), sampleImage(), error), DataFile::CannotCreate);
  EXPECT_EQ(error, std::errc::too_many_symbolic_link_levels);
  EXPECT_TRUE(fs::is_symlink(dir / "a.dat"));
  EXPECT_TRUE(fs::is_symlink(dir / "b.dat"));
}

TEST_F(DataFileTest, ARootSaveLeavesTheFileToItsOwner) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can hand a file to another user";
  writeFileBytes(dir / "user.dat", "old");
  ASSERT_EQ(chown((dir / "user.dat").c_str(), 1234, 2345), 0);
  ASSERT_EQ(chmod((dir / "user.dat").c_str(), 0640), 0);
  std::error_code error;
  ASSERT_EQ(DataFile::writeDataFile((dir / "user.dat").string(), sampleImage(), error), DataFile::Written);
  struct stat status {};
  ASSERT_EQ(stat((dir / "user.dat").c_str(), &status), 0);
  EXPECT_EQ(status.st_uid, 1234u);
  EXPECT_EQ(status.st_gid, 2345u);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
}

// Runs a step as a user who may write a shared file but not add files to its folder: in a
// child process that gives up root when the tests run as root. Returns the step's result.
int inFolderWithoutWriteAccess(const fs::path& folder, const std::function<int()>& step) {
  if (geteuid() != 0) {
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    const int result = step();
    fs::permissions(folder, fs::perms::owner_all);
    return result;
  }
  const auto readable =
      fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
  fs::permissions(folder.parent_path(), readable, fs::perm_options::add);
  fs::permissions(folder, fs::perms::owner_all | readable);
  const pid_t child = fork();
  if (child == 0) _exit(setgid(65534) == 0 && setuid(65534) == 0 ? step() : 99);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

// A folder "shared" with a file radio.dat ("old contents") that everybody may write.
fs::path sharedFolderWithFile(const fs::path& dir) {
  const fs::path shared = dir / "shared";
  fs::create_directory(shared);
  writeFileBytes(shared / "radio.dat", "old contents");
  fs::permissions(shared / "radio.dat",
                  fs::perms::all & ~(fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec));
  return shared;
}

TEST_F(DataFileTest, AFolderThatTakesNoNewFileGetsTheFileWrittenInPlace) {
  const fs::path shared = sharedFolderWithFile(dir);
  const int result = inFolderWithoutWriteAccess(shared, [&] {
    std::error_code error;
    return static_cast<int>(DataFile::writeDataFile((shared / "radio.dat").string(), sampleImage(), error));
  });
  EXPECT_EQ(result, DataFile::Written);
  EXPECT_EQ(readFileBytes(shared / "radio.dat"), asString(DataFile::fileBytes(sampleImage())));
  EXPECT_EQ(std::distance(fs::directory_iterator(shared), fs::directory_iterator()), 1);
}

TEST_F(DataFileTest, AnInPlaceWriteThatFailsPutsTheOldContentsBack) {
  const fs::path shared = sharedFolderWithFile(dir);
  const int result = inFolderWithoutWriteAccess(shared, [&] {
    FileSizeLimit limit(500);
    std::error_code error;
    const int written = DataFile::writeDataFile((shared / "radio.dat").string(), sampleImage(), error);
    return error == std::errc::file_too_large ? written : 97;
  });
  EXPECT_EQ(result, DataFile::WriteFailed);
  EXPECT_EQ(readFileBytes(shared / "radio.dat"), "old contents");
}
#endif

} // namespace
} // namespace vpr
