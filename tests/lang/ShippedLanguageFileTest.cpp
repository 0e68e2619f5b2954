#include "lang/CLanguageTable.h"
#include "lang/LanguageFileParser.h"
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

TEST_F(ShippedLanguageFile, HasAColumnForEverySupportedLanguage) {
  for (const auto& language : CLanguageTable::languageCodes()) {
    CLanguageTable table;
    test::FakeUserInterface ui;
    ASSERT_TRUE(table.loadLanguageFileAt(test::sourcePath("res/vpr40t.lng"), language.name, ui));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(table.errorCode(), CLanguageTable::None);
    EXPECT_EQ(table.currentLanguageName(), language.name);
    EXPECT_EQ(table.fontNames().size(), table.languageNames().size());
    EXPECT_FALSE(table.textOf(language.nameTextId).empty()) << language.name;
  }
  CLanguageTable table;
  test::FakeUserInterface ui;
  ASSERT_TRUE(table.loadLanguageFileAt(test::sourcePath("res/vpr40t.lng"), "German", ui));
  EXPECT_EQ(table.textOf(19000003), "Deutsch");
  EXPECT_EQ(table.textOf(10028002), "Empfangsfrequenz");
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

// What a translation must carry over from the first column: the placeholders in their order
// (the arguments are filled in that order), one accelerator marker where the original has one,
// and the shortcut after the TAB of a menu item.
struct TextShape {
  std::string placeholders;
  int accelerators = 0;
  bool shortcut = false;
  bool operator==(const TextShape&) const = default;
};

TextShape shapeOf(const std::string& text) {
  TextShape shape;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] == '%' && at + 1 < text.size()) shape.placeholders += text.substr(at, 2);
    if (text[at] == '&' && at + 1 < text.size() && text[at + 1] != ' ' && text[at + 1] != '&')
      ++shape.accelerators;
  }
  shape.shortcut = text.find('\t') != std::string::npos;
  return shape;
}

// Every identifier the program's sources name: literals in the text identifier ranges
// (1000xxxx to 1019xxxx and 1900xxxx to 1910xxxx; other eight-digit numbers in the code, such as
// frequencies in units of 10 Hz, lie outside them), with the place of their first use.
std::map<std::int32_t, std::string> identifiersInTheSources() {
  const std::regex literal(R"(\b1(0[01]|90|91)\d{5}\b)");
  std::map<std::int32_t, std::string> ids;
  for (const char* folder : {"lang", "model", "link", "print", "views", "app", "cli", "sim"}) {
    const fs::path root = test::sourcePath(folder);
    if (!fs::exists(root)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      const auto extension = entry.path().extension();
      if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
      std::ifstream in(entry.path());
      std::string line;
      for (int number = 1; std::getline(in, line); ++number) {
        for (std::sregex_iterator it(line.begin(), line.end(), literal), end; it != end; ++it) {
          const std::int32_t id = std::stoi(it->str());
          if (id <= 19109999) ids.emplace(id, entry.path().string() + ":" + std::to_string(number));
        }
      }
    }
  }
  return ids;
}

TEST_F(ShippedLanguageFile, HasARowForEveryIdentifierTheCodeUses) {
  const std::map<std::int32_t, std::string> ids = identifiersInTheSources();
  ASSERT_GT(ids.size(), 200u);
  for (const auto& [id, place] : ids)
    EXPECT_TRUE(languageTable().hasText(id)) << "text " << id << " used at " << place << " has no row";
}

// With the test above: every text the program uses reads in every language, not only through
// the first column standing in for a missing translation.
TEST_F(ShippedLanguageFile, EveryRowIsTranslatedKeepingPlaceholdersAcceleratorsAndShortcuts) {
  std::ifstream in(test::sourcePath("res/vpr40t.lng"), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  const std::string content = bytes.str();
  LanguageFileParser parser(content);
  std::string text;
  int rows = 0;
  while (parser.nextRow(text)) {
    LanguageFileParser::Row row;
    if (!text.starts_with("^#") || !LanguageFileParser::split(text, row)) continue;
    ++rows;
    ASSERT_EQ(row.texts.size(), languageTable().languageNames().size()) << row.key << " lacks a column";
    for (std::size_t column = 1; column < row.texts.size(); ++column) {
      EXPECT_FALSE(row.texts[column].empty()) << row.key;
      EXPECT_EQ(shapeOf(row.texts[column]), shapeOf(row.texts[0]))
          << row.key << ": \"" << row.texts[0] << "\" and \"" << row.texts[column] << "\"";
    }
  }
  EXPECT_GT(rows, 300);
}

} // namespace
} // namespace vpr
