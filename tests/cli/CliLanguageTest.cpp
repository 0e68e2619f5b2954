// The tool speaks the language the user names with --language, or else the environment's; a
// language the program or the language file does not have gives the first column, and the tool
// says which language it fell back to.

#include "cli/CliRunner.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vpr {
namespace {

namespace fs = std::filesystem;

struct LanguageCase {
  std::vector<std::string> options; // before the command
  std::string environment;          // POSIX only: "NAME=value ..."
  std::string channels;             // the label the summary starts its third line with
  std::string notice;               // a part of the fall-back notice, empty for none
};

class CliLanguage : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_EQ(test::runCli(dir, {"new", "--row", "16", "-o", "x.dat"}).status, 0); }

  void check(const LanguageCase& c, const std::string& tool = {}) {
    std::vector<std::string> arguments = c.options;
    arguments.insert(arguments.end(), {"info", "x.dat"});
    const test::CliRun run = tool.empty() ? test::runCli(dir, arguments, std::nullopt, c.environment)
                                          : runCopy(tool, arguments, c.environment);
    const std::string context =
        "options " + testing::PrintToString(c.options) + " environment " + c.environment;
    ASSERT_EQ(run.status, 0) << context << "\n" << run.err;
    EXPECT_NE(run.out.find("\n" + c.channels + ":"), std::string::npos) << context << "\n" << run.out;
    if (c.notice.empty())
      EXPECT_EQ(run.err, "") << context;
    else
      EXPECT_NE(run.err.find(c.notice), std::string::npos) << context << "\n" << run.err;
  }

  // Runs a copy of the tool placed beside its own language file.
  test::CliRun runCopy(const std::string& tool, const std::vector<std::string>& arguments,
                       const std::string& environment) {
    std::string command = environment + " " + test::shellQuoted(tool);
    for (const auto& argument : arguments)
      command += " " + test::shellQuoted(argument);
    const int raw = std::system(test::inFolder(dir, command + " >out.txt 2>err.txt").c_str());
    return {test::exitCodeOf(raw), test::readFileBytes(dir / "out.txt"),
            test::withoutCarriageReturns(test::readFileBytes(dir / "err.txt"))};
  }

  fs::path dir = test::makeTempDir();
};

TEST_F(CliLanguage, TheOptionChoosesTheLanguageAndAnUnknownOneFallsBackSayingSo) {
  const LanguageCase cases[] = {
      {{}, "", "Channels", ""},
      {{"--language", "German"}, "", "Kanäle", ""},
      {{"--language", "de"}, "", "Kanäle", ""},
      {{"--language", "english"}, "", "Channels", ""},
      {{"--language", "Klingon"}, "", "Channels", "\"Klingon\" is not available; the texts are in English"},
#ifndef _WIN32
      {{}, "LC_ALL= LC_MESSAGES= LANG=de_DE.UTF-8", "Kanäle", ""},
      {{}, "LC_ALL= LC_MESSAGES=de_AT.UTF-8 LANG=en_GB.UTF-8", "Kanäle", ""},
      {{}, "LC_ALL=C.UTF-8 LANG=de_DE.UTF-8", "Channels", ""},
      {{}, "LC_ALL=fr_FR.UTF-8", "Channels", ""},
      {{"--language", "en"}, "LC_ALL=de_DE.UTF-8", "Channels", ""},
#endif
  };
  for (const LanguageCase& c : cases)
    check(c);
  // The columns of the summary line up with a label holding a character of two bytes.
  const test::CliRun german = test::runCli(dir, {"info", "x.dat", "--language", "German"});
  EXPECT_NE(german.out.find("\nKanäle:           16\n"), std::string::npos) << german.out;
}

TEST_F(CliLanguage, ALanguageTheFileHasNoColumnForGivesTheFirstColumnSayingSo) {
  // The tool beside a language file whose second column is not German.
  const fs::path tool = dir / test::kToolFileName;
  fs::copy_file(test::binaryPath(std::string("cli/") + test::kToolFileName), tool);
  std::ifstream shipped(test::sourcePath("res/vpr40t.lng"), std::ios::binary);
  std::ofstream other(dir / "vpr40t.lng", std::ios::binary);
  for (std::string line; std::getline(shipped, line);)
    other << (line.starts_with("*Language,") ? std::string("*Language,English,Klingon\r") : line) << '\n';
  other.close();
  check({{"--language", "German"}, "", "Channels", "\"German\" is not available; the texts are in English"},
        tool.string());
#ifndef _WIN32
  check({{}, "LC_ALL=de_DE.UTF-8", "Channels", "\"German\" is not available"}, tool.string());
#endif
}

} // namespace
} // namespace vpr
