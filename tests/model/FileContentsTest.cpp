// Whole-file reads and writes on the platform the tests run on: the limits of a read, what is
// refused, and a replaced file that leaves nothing else behind.

#include "model/FileContents.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace vpr {
namespace {

namespace fs = std::filesystem;

class FileContentsTest : public ::testing::Test {
protected:
  fs::path dir = test::makeTempDir();

  std::string path(const char* name) const { return (dir / name).string(); }
};

TEST_F(FileContentsTest, AReadTakesTheWholeFileUpToTheLimitOrItsBeginning) {
  std::ofstream(dir / "ten.txt", std::ios::binary) << "0123456789";
  std::string out = "untouched";
  std::error_code error;
  EXPECT_EQ(FileContents::read(path("ten.txt"), 10, out, error), FileContents::Read);
  EXPECT_EQ(out, "0123456789");
  EXPECT_FALSE(error);

  out = "untouched";
  EXPECT_EQ(FileContents::read(path("ten.txt"), 9, out, error), FileContents::TooLarge);
  EXPECT_EQ(out, "untouched");
  EXPECT_EQ(FileContents::read(path("ten.txt"), 4, out, error, FileContents::Prefix), FileContents::Read);
  EXPECT_EQ(out, "0123");

  out = "untouched";
  EXPECT_EQ(FileContents::read(path("missing.txt"), 10, out, error), FileContents::CannotOpen);
  EXPECT_EQ(error, std::errc::no_such_file_or_directory);
  EXPECT_EQ(FileContents::read(dir.string(), 10, out, error), FileContents::CannotOpen);
  EXPECT_EQ(error, std::errc::is_a_directory);
  EXPECT_EQ(out, "untouched");
}

TEST_F(FileContentsTest, AWriteReplacesTheFileWholeAndLeavesNothingElse) {
  std::error_code error;
  ASSERT_EQ(FileContents::write(path("out.txt"), std::string_view("first, longer text"), error),
            FileContents::Written);
  ASSERT_EQ(FileContents::write(path("out.txt"), std::string_view("second"), error), FileContents::Written);
  std::string out;
  ASSERT_EQ(FileContents::read(path("out.txt"), 100, out, error), FileContents::Read);
  EXPECT_EQ(out, "second");
  // The temporary file beside the target became the target.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

  EXPECT_EQ(FileContents::write(path("no-such-folder/out.txt"), std::string_view("x"), error),
            FileContents::CannotCreate);
  EXPECT_EQ(error, std::errc::no_such_file_or_directory);
  EXPECT_EQ(FileContents::write(dir.string(), std::string_view("x"), error), FileContents::CannotCreate);
  EXPECT_EQ(error, std::errc::is_a_directory);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

} // namespace
} // namespace vpr
