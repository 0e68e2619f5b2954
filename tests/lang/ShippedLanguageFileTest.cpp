#include "lang/CLanguageTable.h"
#include "support/FakeUserInterface.h"
#include "support/TestLanguage.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

namespace vpr {
namespace {

namespace fs = std::filesystem;

class ShippedLanguageFile : public ::testing::Test {
protected:
  void SetUp() override { test::loadLanguage(false); }
  void TearDown() override { test::unloadLanguage(); }
};

TEST_F(ShippedLanguageFile, LoadsWithEnglishSelectedAndNoMessage) {
  CLanguageTable table;
  test::FakeUserInterface ui;
  ASSERT_TRUE(table.loadLanguageFileAt(test::sourcePath("res/vpr40t.lng"), "English", ui));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(table.errorCode(), CLanguageTable::None);
  EXPECT_EQ(table.languageNames(), std::vector<std::string>{"English"});
  EXPECT_EQ(table.fontNames().size(), 1u);
  EXPECT_EQ(table.textOf(19000001), "English");
}

TEST_F(ShippedLanguageFile, EveryPhysicalLineEndsWithCrLf) {
  std::ifstream in(test::sourcePath("res/vpr40t.lng"), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  const std::string content = bytes.str();
  ASSERT_TRUE(content.ends_with("\r\n"));
  // A bare LF may only stand inside a quoted text (a line break within a message).
  bool quoted = false;
  for (std::size_t i = 0; i < content.size(); ++i) {
    if (content[i] == '"') quoted = !quoted;
    if (content[i] == '\n' && !quoted) {
      EXPECT_EQ(content[i - 1], '\r') << "at byte " << i;
    }
  }
}

TEST_F(ShippedLanguageFile, GivesTheProcessWideTextOf) {
  EXPECT_EQ(textOf(10002001), "OK");
  EXPECT_EQ(textOf(10025001), "Error");
  test::loadLanguage(true);
  EXPECT_EQ(textOf(10026062), test::idText(10026062));
}

TEST_F(ShippedLanguageFile, OnlyTheFormattedMessagesCarryPlaceholders) {
  // Texts that are filled with arguments, and how many: a stray "%" elsewhere would be printed
  // as it stands, and a missing one would lose the file name from the message.
  const std::map<std::int32_t, int> formatted = {{10026061, 2}, {10026062, 1}};
  for (const std::int32_t id : CLanguageTable::requiredIdentifiers()) {
    const std::string& text = textOf(id);
    int placeholders = 0;
    for (std::size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at + 1))
      ++placeholders;
    const auto it = formatted.find(id);
    EXPECT_EQ(placeholders, it == formatted.end() ? 0 : it->second) << id << ": " << text;
  }
}

TEST_F(ShippedLanguageFile, HasARowForEveryIdentifierTheCodeUses) {
  // Text identifiers are 1000xxxx to 1019xxxx and 1900xxxx to 1910xxxx; other eight-digit numbers
  // in the code (frequencies in units of 10 Hz, for example) lie outside these ranges.
  const std::regex literal(R"(\b1(0[01]|90|91)\d{5}\b)");
  int scannedFiles = 0;
  for (const char* folder : {"lang", "model", "link", "views", "app", "cli", "sim"}) {
    const fs::path root = test::sourcePath(folder);
    if (!fs::exists(root)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      const auto extension = entry.path().extension();
      if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
      ++scannedFiles;
      std::ifstream in(entry.path());
      std::string line;
      for (int number = 1; std::getline(in, line); ++number) {
        for (std::sregex_iterator it(line.begin(), line.end(), literal), end; it != end; ++it) {
          const std::int32_t id = std::stoi(it->str());
          if (id > 19109999) continue;
          EXPECT_TRUE(languageTable().hasText(id))
              << "text " << id << " used at " << entry.path().string() << ":" << number << " has no row";
        }
      }
    }
  }
  EXPECT_GT(scannedFiles, 0);
}

} // namespace
} // namespace vpr
