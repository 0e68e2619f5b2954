#include "lang/CLanguageTable.h"
#include "lang/LanguageFileParser.h"
#include "lang/PathText.h"
#include "support/FakeUserInterface.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace vpr {
namespace {

namespace fs = std::filesystem;
using test::FakeUserInterface;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void writeFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// A file that passes verification: both header rows and a row for every required identifier
// (text "T<id>"), followed by the rows a test adds.
std::string validFile(const std::string& extraRows = {},
                      const std::string& languages = "*Language,English,Deutsch") {
  std::string content = languages + "\r\n*Font,Arial,Arial\r\n";
  content += extraRows;
  for (const auto id : CLanguageTable::requiredIdentifiers())
    content += "^#" + std::to_string(id) + ",T" + std::to_string(id) + ",D" + std::to_string(id) + "\r\n";
  return content;
}

class LanguageTableTest : public ::testing::Test {
protected:
  std::string dir = test::makeTempDir();
  FakeUserInterface ui;
  CLanguageTable table;

  void SetUp() override {
    table.setFallbackFolders({});
    table.setDumpFolder(dir);
  }

  bool load(const std::string& content, const std::string& language = "English") {
    writeFile(fs::path(dir) / CLanguageTable::kFileName, content);
    return table.loadLanguageFile(language, ui, dir);
  }
};

// --- The text format -------------------------------------------------------------------------

TEST_F(LanguageTableTest, EachRowGivesItsTextAsWritten) {
  // The rows come after the header rows; each identifier gives its text, or has none.
  struct Case {
    const char* what;
    std::string rows;
    const char* language;
    std::vector<std::pair<std::int32_t, std::optional<std::string>>> texts;
  };
  const Case cases[] = {
      {"quoted fields keep commas and doubled quotes",
       "^#20000001,\"a,b\",x\r\n^#20000002,\"say \"\"hi\"\"\"\r\n",
       "English",
       {{20000001, "a,b"}, {20000002, "say \"hi\""}}},
      {"backslash t is a tab and no other escape exists",
       "^#20000001,&New\\tCtrl+N\r\n^#20000002,a\\nb\\\\c\r\n",
       "English",
       {{20000001, "&New\tCtrl+N"}, {20000002, "a\\nb\\\\c"}}},
      {"a quoted field may span lines",
       "^#20000001,\"first\nsecond\",x\r\n^#20000002,after\r\n",
       "English",
       {{20000001, "first\nsecond"}, {20000002, "after"}}},
      {"an unbalanced quote swallows only its own row",
       "^#20000001,\"open,and,never,closed\r\n^#20000002,next\r\n",
       "English",
       {{20000001, "\"open,and,never,closed"}, {20000002, "next"}}},
      {"keys have exactly eight digits and the first row wins",
       "^#2000001,seven\r\n^#200000011,nine\r\n^#2000000x,letter\r\n^#20000003,first\r\n^#20000003,"
       "second\r\n",
       "English",
       {{2000001, std::nullopt}, {200000011, std::nullopt}, {20000000, std::nullopt}, {20000003, "first"}}},
      {"rows are trimmed before they are split", "   \t^#20000001,a,b\r\r\r\n", "Deutsch", {{20000001, "b"}}},
      {"binary bytes are kept as they are",
       std::string("^#20000001,\x01\xff\x80\r\n", 16),
       "English",
       {{20000001, std::string("\x01\xff\x80", 3)}}},
      // A translation that left rows out (fewer fields, an empty field, a trailing comma) shows
      // the first column there instead of an empty caption; an unknown identifier stays empty.
      {"a row without the selected column gives the first column's text",
       "^#20000001,only english\r\n^#20000002\r\n^#20000003,a,\r\n^#20000004,\"\",b\r\n",
       "Deutsch",
       {{20000001, "only english"},
        {20000002, ""},
        {20000003, "a"},
        {20000004, "b"},
        {29999999, std::nullopt},
        {10025001, "D10025001"}}},
      {"identifier zero stands for the first text", "", "English", {{0, "T10000001"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(load(validFile(c.rows), c.language));
    for (const auto& [id, text] : c.texts) {
      EXPECT_EQ(table.hasText(id), text.has_value()) << id;
      EXPECT_EQ(table.textOf(id), text.value_or("")) << id;
    }
  }
  EXPECT_EQ(table.currentLanguageName(), "English");
  EXPECT_TRUE(table.hasLanguageColumn("Deutsch"));
  EXPECT_FALSE(table.hasLanguageColumn("deutsch"));
}

TEST_F(LanguageTableTest, ALastRowWithoutLineEndIsNotRead) {
  ASSERT_TRUE(load(validFile() + "^#20000001,unfinished"));
  EXPECT_FALSE(table.hasText(20000001));
}

TEST_F(LanguageTableTest, AnUnknownLanguageSelectsTheFirstColumn) {
  ASSERT_TRUE(load(validFile(), "Klingon"));
  EXPECT_EQ(table.currentLanguageName(), "English");
  EXPECT_EQ(table.textOf(10025001), "T10025001");
  ASSERT_TRUE(load(validFile(), "english")); // names are matched case-sensitively
  EXPECT_EQ(table.currentLanguageName(), "English");
}

TEST_F(LanguageTableTest, AQuotedKeySkipsTheRowAndLoadingGoesOn) {
  for (const char* lineEnd : {"\r\n", "\n"}) {
    std::string content = validFile("^#2000\"001,x\r\n^#20000002,y\r\n");
    if (std::string(lineEnd) == "\n") std::erase(content, '\r');
    ASSERT_TRUE(load(content)) << lineEnd;
    // The skipped row is no failure: a successful load leaves no error behind.
    EXPECT_EQ(table.errorCode(), CLanguageTable::None);
    EXPECT_EQ(table.textOf(20000002), "y");
    EXPECT_TRUE(ui.messages.empty());
  }
}

TEST_F(LanguageTableTest, AFileWithLfLineEndsReadsLikeOneWithCrLf) {
  std::string content = validFile("^#20000001,\"first\nsecond, \"\"quoted\"\"\",x\r\n^#20000002,after\r\n"
                                  "^#20000003,\"a\"\"\nb\"\r\n");
  std::erase(content, '\r');
  ASSERT_TRUE(load(content));
  EXPECT_EQ(table.errorCode(), CLanguageTable::None);
  EXPECT_EQ(table.textOf(20000001), "first\nsecond, \"quoted\"");
  EXPECT_EQ(table.textOf(20000002), "after");
  EXPECT_EQ(table.textOf(20000003), "a\"\nb");
  EXPECT_EQ(table.textOf(10025001), "T10025001");
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(LanguageTableTest, TheShippedFileSavedWithLfLineEndsGivesTheSameTexts) {
  std::string content = readFile(test::sourcePath("res/vpr40t.lng"));
  ASSERT_TRUE(load(content));
  std::map<std::int32_t, std::string> crlf;
  for (std::size_t at = content.find("^#"); at != std::string::npos; at = content.find("^#", at + 1))
    if (const int id = std::atoi(content.c_str() + at + 2); table.hasText(id)) crlf[id] = table.textOf(id);
  ASSERT_GT(crlf.size(), CLanguageTable::requiredIdentifiers().size());
  std::erase(content, '\r');
  ASSERT_TRUE(load(content));
  for (const auto& [id, text] : crlf)
    EXPECT_EQ(table.textOf(id), text) << id;
}

TEST(LanguageFileParser, AnOddQuoteCountKeepsCommasInsideTheField) {
  LanguageFileParser::Row row;
  ASSERT_TRUE(LanguageFileParser::split("^#1,\"a,b,c\",\"d\"\"e\",", row));
  EXPECT_EQ(row.key, "^#1");
  EXPECT_EQ(row.texts, (std::vector<std::string>{"a,b,c", "d\"e", ""}));
  ASSERT_TRUE(LanguageFileParser::split("justakey", row));
  EXPECT_EQ(row.key, "justakey");
  EXPECT_TRUE(row.texts.empty());
  EXPECT_FALSE(LanguageFileParser::split("\"key\",x", row));
  EXPECT_FALSE(LanguageFileParser::split("a\"key", row)); // a row without texts is all key
}

// --- Loading, verification and failure messages ----------------------------------------------

void expectFailureBox(const FakeUserInterface& ui, const char* text) {
  ASSERT_EQ(ui.messages.size(), 1u);
  const MessageRequest& box = ui.messages[0];
  EXPECT_EQ(box.text, text);
  EXPECT_EQ(box.kind, MessageKind::Product);
  EXPECT_EQ(box.caption, "VPR-40T");
  EXPECT_EQ(box.icon, MessageIcon::Stop);
  EXPECT_EQ(box.buttons, MessageButtons::Ok);
}

TEST_F(LanguageTableTest, AFileThatCannotServeFailsWithOneBoxAndGivesNoTexts) {
  const std::string full = validFile();
  const auto without = [&](const std::string& row) {
    std::string content = full;
    const auto at = content.find(row);
    content.erase(at, content.find("\r\n", at) + 2 - at);
    return content;
  };
  std::string beyondLimit = full;
  beyondLimit.resize(CLanguageTable::kMaxFileSize + 1, ' ');
  struct Case {
    const char* what;
    std::optional<std::string> content; // nothing: no file
    std::optional<CLanguageTable::ErrorCode> code;
    const char* message;
  };
  const Case cases[] = {
      {"no file anywhere", std::nullopt, CLanguageTable::NotFound, CLanguageTable::kCannotReadMessage},
      {"no font row", without("*Font"), CLanguageTable::HeaderMissing, CLanguageTable::kDamagedMessage},
      {"a language row without columns", validFile({}, "*Language"), std::nullopt,
       CLanguageTable::kDamagedMessage},
      {"the first required text missing", without("^#10000001,"), CLanguageTable::RequiredMissing,
       CLanguageTable::kDamagedMessage},
      {"a middle required text missing", without("^#10026062,"), CLanguageTable::RequiredMissing,
       CLanguageTable::kDamagedMessage},
      {"the last required text missing", without("^#19000002,"), CLanguageTable::RequiredMissing,
       CLanguageTable::kDamagedMessage},
      {"beyond the size limit", beyondLimit, CLanguageTable::CannotRead, CLanguageTable::kDamagedMessage},
      {"empty", "", std::nullopt, CLanguageTable::kDamagedMessage},
      {"cut after 30 bytes", full.substr(0, 30), std::nullopt, CLanguageTable::kDamagedMessage},
      {"cut in the middle", full.substr(0, full.size() / 2), std::nullopt, CLanguageTable::kDamagedMessage},
      {"cut before the end", full.substr(0, full.size() - 3), std::nullopt, CLanguageTable::kDamagedMessage},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CLanguageTable fresh;
    fresh.setFallbackFolders({});
    FakeUserInterface freshUi;
    const std::string folder = test::makeTempDir();
    if (c.content) writeFile(fs::path(folder) / CLanguageTable::kFileName, *c.content);
    EXPECT_FALSE(fresh.loadLanguageFile("English", freshUi, folder));
    if (c.code) {
      EXPECT_EQ(fresh.errorCode(), *c.code);
    }
    expectFailureBox(freshUi, c.message);
    EXPECT_EQ(fresh.textOf(10025001), "");
  }
}

TEST_F(LanguageTableTest, ADirectoryNamedLikeTheFileIsNotTaken) {
  fs::create_directory(fs::path(dir) / CLanguageTable::kFileName);
  EXPECT_FALSE(table.loadLanguageFile("English", ui, dir));
  EXPECT_EQ(table.errorCode(), CLanguageTable::NotFound);
}

TEST_F(LanguageTableTest, HeaderRowsMayStandAnywhereBeforeTheTexts) {
  const std::string content = "; comment\r\n\r\n*Font,Arial\r\nsomething else\r\n*Language,English\r\n" +
                              validFile().substr(validFile().find("^#"));
  ASSERT_TRUE(load(content));
  EXPECT_EQ(table.fontNames(), std::vector<std::string>{"Arial"});
  EXPECT_EQ(table.textOf(10002001), "T10002001");
}

TEST_F(LanguageTableTest, TheCallersFolderIsSearchedBeforeTheFallbacks) {
  const std::string other = test::makeTempDir();
  writeFile(fs::path(other) / CLanguageTable::kFileName, validFile("^#20000001,fallback\r\n"));
  writeFile(fs::path(dir) / CLanguageTable::kFileName, validFile("^#20000001,own\r\n"));
  table.setFallbackFolders({other});
  ASSERT_TRUE(table.loadLanguageFile("English", ui, dir));
  EXPECT_EQ(table.textOf(20000001), "own");
  ASSERT_TRUE(table.loadLanguageFile("English", ui, test::makeTempDir()));
  EXPECT_EQ(table.textOf(20000001), "fallback");
  EXPECT_EQ(fs::path(table.filePath()), fs::path(other) / CLanguageTable::kFileName);
}

// A program installed under a folder named in other scripts (UTF-8 text, as Qt and a terminal
// give it) finds its file there; on Windows a narrow path would go through the code page instead.
TEST_F(LanguageTableTest, AProgramFolderNamedInOtherScriptsIsFound) {
  const std::string folder = dir + "/Программы Ωμέγα 日本";
  fs::create_directory(PathText::toPath(folder));
  writeFile(PathText::toPath(folder) / CLanguageTable::kFileName, validFile("^#20000001,found\r\n"));
  ASSERT_TRUE(table.loadLanguageFile("English", ui, folder)) << ui.messages.size();
  EXPECT_EQ(table.textOf(20000001), "found");
  EXPECT_EQ(PathText::toPath(table.filePath()).parent_path().filename(),
            PathText::toPath("Программы Ωμέγα 日本"));
}

TEST(LanguageTableDefaults, ABuildTreeFindsTheShippedFileWithoutHelp) {
  CLanguageTable table;
  FakeUserInterface ui;
  table.setDumpFolder(test::makeTempDir());
  ASSERT_TRUE(table.loadLanguageFile("English", ui, test::makeTempDir()));
  EXPECT_EQ(table.currentLanguageName(), "English");
  EXPECT_TRUE(ui.messages.empty());
}

TEST(LanguageCodes, MapCodesNamesAndHelpFiles) {
  EXPECT_EQ(CLanguageTable::languageNameOfCode(1), "English");
  EXPECT_EQ(CLanguageTable::helpFileOfCode(1), "vpr40t_en.chm");
  EXPECT_EQ(CLanguageTable::codeOfLanguageName("English"), 1);
  EXPECT_EQ(CLanguageTable::languageNameOfCode(2), "German");
  EXPECT_EQ(CLanguageTable::helpFileOfCode(2), "vpr40t_de.chm");
  EXPECT_EQ(CLanguageTable::codeOfLanguageName("German"), 2);
  EXPECT_EQ(CLanguageTable::languageNameOfCode(0), "");
  EXPECT_EQ(CLanguageTable::helpFileOfCode(7), "");
  EXPECT_EQ(CLanguageTable::codeOfLanguageName("Deutsch"), 0);
}

TEST(LanguageCodes, FindTheLanguageAUserOrTheEnvironmentNames) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"German", "German"},
      {"german", "German"},
      {"de", "German"},
      {"DE", "German"},
      {"de_DE.UTF-8", "German"},
      {"de_AT@euro", "German"},
      {"de-CH", "German"},
      {"de.UTF-8", "German"},
      {"English", "English"},
      {"en_GB.UTF-8", "English"},
      {"en-US", "English"},
      {"C", ""},
      {"POSIX", ""},
      {"C.UTF-8", ""},
      {"fr_FR.UTF-8", ""},
      {"", ""},
      {"Klingon", ""},
      {"d", ""},
      {"deu", ""},
  };
  for (const auto& [wanted, name] : cases) {
    const CLanguageTable::LanguageCode* found = CLanguageTable::findLanguage(wanted);
    EXPECT_EQ(found ? std::string(found->name) : std::string(), name) << wanted;
  }
}

TEST(LanguageCodes, ThereAre213RequiredIdentifiers) {
  const auto& ids = CLanguageTable::requiredIdentifiers();
  EXPECT_EQ(ids.size(), 213u);
  EXPECT_EQ(std::set<std::int32_t>(ids.begin(), ids.end()).size(), ids.size());
}

// --- Identifier mode ---------------------------------------------------------------------------

TEST_F(LanguageTableTest, OnlyTheWordDbTurnsIdentifierModeOnAndItShowsNumbersForKnownTexts) {
  const char* other[] = {"/opt/vpr40t", "demo", "_dbx"};
  table.applyCommandLine(3, other);
  EXPECT_FALSE(table.identifierMode());
  ASSERT_TRUE(load(validFile()));
  EXPECT_FALSE(fs::exists(fs::path(dir) / CLanguageTable::kDumpFileName));

  const char* argv[] = {"/opt/vpr40t", "demo", "_DB"};
  table.applyCommandLine(3, argv);
  ASSERT_TRUE(table.identifierMode());
  ASSERT_TRUE(load(validFile()));
  EXPECT_EQ(table.textOf(10025001), "ID:10025001");
  EXPECT_EQ(table.textOf(0), "ID:10000001");
  EXPECT_EQ(table.textOf(29999999), "");
}

TEST_F(LanguageTableTest, IdentifierModeWritesTheAnalysisDump) {
  table.setIdentifierMode(true);
  ASSERT_TRUE(load(validFile("^#20000001,\"a,\"\"b\"\"\\tc\",\"x\ny\"\r\n")));
  const std::string dump = readFile(fs::path(dir) / CLanguageTable::kDumpFileName);
  EXPECT_TRUE(
      dump.starts_with("*Language,English,Deutsch\r\n*Font,Arial,Arial\r\n10000001,T10000001,D10000001\r\n"));
  EXPECT_NE(dump.find("\r\n19000002,T19000002,D19000002\r\n"), std::string::npos);
  // Records in ascending order, texts as stored: no quoting, TAB and LF written as they are.
  EXPECT_TRUE(dump.ends_with("\r\n20000001,a,\"b\"\tc,x\ny\r\n"));
}

// --- Hostile bytes -----------------------------------------------------------------------------

TEST_F(LanguageTableTest, RandomBinaryContentFailsCleanly) {
  std::mt19937 random(40);
  for (int round = 0; round < 20; ++round) {
    std::string bytes(4096, '\0');
    for (char& c : bytes)
      c = static_cast<char>(random());
    ui.messages.clear();
    EXPECT_FALSE(load(bytes));
    EXPECT_EQ(ui.messages.size(), 1u);
  }
}

TEST_F(LanguageTableTest, AHugeRowWithAnOpenQuoteLoadsInLinearTime) {
  // Four million commas inside one open quote: a scan that recounted the field's quotes at every
  // comma would not finish.
  std::string row = "^#20000001,\"" + std::string(4'000'000, ',') + "\r\n";
  ASSERT_TRUE(load(validFile(row)));
  EXPECT_EQ(table.textOf(20000001).size(), 4'000'001u);
}

} // namespace
} // namespace vpr
