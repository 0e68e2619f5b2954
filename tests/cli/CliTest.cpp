#include "cli/CliRunner.h"
#include "model/DataFile.h"
#include "model/ModelCatalogue.h"
#include "model/RadioData.h"
#include "support/TestImages.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace vpr {
namespace {

namespace fs = std::filesystem;

class CliTest : public ::testing::Test {
protected:
  fs::path dir = test::makeTempDir();

  // Runs the tool as its own process in the test's folder.
  test::CliRun cli(const std::vector<std::string>& arguments) { return test::runCli(dir, arguments); }
};

TEST_F(CliTest, NewWritesTheByteExactDefaultImageOfARow) {
  const test::CliRun run = cli({"new", "--row", "16", "-o", "x.dat"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string bytes = test::readFileBytes(dir / "x.dat");
  ASSERT_EQ(bytes.size(), 1074u);
  const auto expected = DataFile::fileBytes(test::rowImage(16));
  EXPECT_EQ(bytes, std::string(expected.begin(), expected.end()));
  EXPECT_NE(run.out.find("HX-5470/5470M"), std::string::npos);
  EXPECT_TRUE(run.err.empty());

  // "-": the image alone on standard output, the summary beside it on standard error.
  const test::CliRun piped = cli({"new", "--row", "16", "-o", "-"});
  ASSERT_EQ(piped.status, 0) << piped.err;
  EXPECT_EQ(piped.out, bytes);
  EXPECT_NE(piped.err.find("HX-5470/5470M"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "-"));
}

TEST_F(CliTest, NewTakesModelAndBandByName) {
  ASSERT_EQ(cli({"new", "--model", "hx-5470/5470m", "--band", "UHF 6", "-o", "a.dat"}).status, 0);
  ASSERT_EQ(cli({"new", "--model", "HX-5470/5470M", "--band", "UHF 6:440-460 MHz", "-o", "b.dat"}).status, 0);
  ASSERT_EQ(cli({"new", "--row", "16", "-o", "c.dat"}).status, 0);
  EXPECT_EQ(test::readFileBytes(dir / "a.dat"), test::readFileBytes(dir / "c.dat"));
  EXPECT_EQ(test::readFileBytes(dir / "b.dat"), test::readFileBytes(dir / "c.dat"));
}

TEST_F(CliTest, InfoShowsModelBandChannelsAndSpacing) {
  ASSERT_EQ(cli({"new", "--row", "16", "-o", "x.dat"}).status, 0);
  const test::CliRun run = cli({"info", "x.dat"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "Model:           HX-5470/5470M\n"
                     "Frequency Band:  UHF 6:440-460 MHz\n"
                     "Channels:        16\n"
                     "Wide/Narrow:     Narrow\n");
}

TEST_F(CliTest, DumpShowsChannelsTestFrequenciesFeaturesAndKey) {
  ASSERT_EQ(cli({"new", "--row", "0", "-o", "x.dat"}).status, 0);
  const test::CliRun run = cli({"dump", "x.dat"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string& out = run.out;
  EXPECT_NE(
      out.find("Channel Information\nCH  RX Freq.  TX Freq.  RX Tone  TX Tone  Option A  Option B\n1\n2\n"),
      std::string::npos)
      << out;
  EXPECT_NE(out.find("Test Frequency\nNo.  RX Frequency  TX Frequency\n1    162.10000     162.00000\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("\n3    173.90000     173.97500\n"), std::string::npos) << out;
  EXPECT_NE(out.find("\n16\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Time-out Timer (s)  180\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Squelch Level       9\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Beep Tone           On\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Key Assignment\nMoni Key  Squelch Off\n"), std::string::npos) << out;
}

TEST_F(CliTest, DumpShowsProgrammedChannels) {
  RadioData data;
  data.resetToModel(ModelCatalogue::modelCodeForRow(2));
  std::string rx = "151.0125";
  data.setChannelFrequency(3, rx, FrequencyField::Receive);
  data.setChannelTone(3, ToneField::Receive, "D023N", false);
  std::error_code error;
  ASSERT_EQ(DataFile::writeDataFile((dir / "ch.dat").string(), data.editImage, error), DataFile::Written);
  const test::CliRun run = cli({"dump", "ch.dat"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\n3   151.01250  151.01250  D023N    Off      Off       Off\n"), std::string::npos)
      << run.out;
}

TEST_F(CliTest, BadArgumentsAreUsageErrors) {
  for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
           {},
           {"frobnicate"},
           {"new", "-o", "x.dat"},
           {"new", "--row", "25", "-o", "x.dat"},
           {"new", "--row", "-1", "-o", "x.dat"},
           {"new", "--row", "3"},
           {"new", "--row", "3", "--model", "HX-4410", "--band", "VHF 1", "-o", "x.dat"},
           {"new", "--model", "HX-4410", "-o", "x.dat"},
           {"new", "--model", "HX-9999", "--band", "VHF 1", "-o", "x.dat"},
           {"new", "--model", "HX-4410", "--band", "UHF 1", "-o", "x.dat"},
           {"info"},
           {"dump", "a.dat", "b.dat"},
           {"read", "--port", "21", "-o", "x.dat"},
           {"write", "--port", "COM3", "x.dat"},
       }) {
    std::string line;
    for (const auto& a : arguments)
      line += a + " ";
    SCOPED_TRACE(line);
    const test::CliRun run = cli(arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_FALSE(run.err.empty());
    EXPECT_FALSE(fs::exists(dir / "x.dat"));
  }
}

TEST_F(CliTest, HelpIsNoError) {
  const test::CliRun run = cli({"--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("dump"), std::string::npos);
}

TEST_F(CliTest, MissingShortAndForeignFilesFailEveryCommandNamingTheCause) {
  std::ofstream(dir / "short.dat", std::ios::binary) << std::string("VPR40T\xFF\xFF\xFF\xFF"
                                                                    "V0420",
                                                                    15);
  std::ofstream(dir / "text.dat", std::ios::binary) << "hello\n";
  std::ofstream(dir / "tiny.dat", std::ios::binary) << "VPR4";
  std::ofstream(dir / "other.dat", std::ios::binary) << "VPR41X\xFF\xFF\xFF\xFF and more";
  const std::pair<const char*, const char*> cases[] = {{"missing.dat", "The file cannot be opened."},
                                                       {"short.dat", "is not a VPR-40T data file"},
                                                       {"text.dat", "is not a VPR-40T data file"},
                                                       {"tiny.dat", "is not a VPR-40T data file"},
                                                       {"other.dat", "made by another program (VPR41X)"}};
  for (const auto& [name, cause] : cases) {
    for (const std::vector<std::string>& command :
         std::vector<std::vector<std::string>>{{"info"}, {"dump"}, {"print", "--pdf", "x.pdf"}}) {
      std::vector<std::string> arguments = command;
      arguments.insert(arguments.begin() + 1, name);
      SCOPED_TRACE(command.front() + " " + name);
      const test::CliRun run = cli(arguments);
      EXPECT_EQ(run.status, 1);
      EXPECT_FALSE(fs::exists(dir / "x.pdf"));
      // The file is named once, whether the message names it or not.
      EXPECT_NE(run.err.find(name), std::string::npos) << run.err;
      EXPECT_EQ(run.err.find(name), run.err.rfind(name)) << run.err;
      EXPECT_NE(run.err.find(cause), std::string::npos) << run.err;
      EXPECT_TRUE(run.out.empty());
    }
  }
}

TEST_F(CliTest, ALanguageFileWithoutTheToolsOwnTextsGivesEnglishLabels) {
  // The tool beside a language file that has every text the desktop program needs, but none
  // of the rows only the tool uses.
  fs::copy_file(test::binaryPath(std::string("cli/") + test::kToolFileName), dir / test::kToolFileName);
  std::ifstream shipped(test::sourcePath("res/vpr40t.lng"), std::ios::binary);
  std::ofstream reduced(dir / "vpr40t.lng", std::ios::binary);
  for (std::string line; std::getline(shipped, line);)
    if (!line.starts_with("^#10050") && !line.starts_with("^#100621") && !line.starts_with("^#1006300") &&
        !line.starts_with("^#10067"))
      reduced << line << '\n';
  reduced.close();
  ASSERT_EQ(cli({"new", "--row", "2", "-o", "a.dat"}).status, 0);
  const std::string tool = test::shellQuoted((dir / test::kToolFileName).string());
  ASSERT_EQ(std::system(test::inFolder(dir, tool + " info a.dat >info.txt 2>&1").c_str()), 0)
      << test::readFileBytes(dir / "info.txt");
  const std::string out = test::withoutCarriageReturns(test::readFileBytes(dir / "info.txt"));
  EXPECT_NE(out.find("\nChannels:"), std::string::npos) << out;
  EXPECT_EQ(out.find("\n:"), std::string::npos) << out;
  // Messages only the tool prints are English too, never an empty line.
  EXPECT_NE(
      std::system(
          test::inFolder(dir, tool + " print a.dat --pdf a.pdf --sections bogus >print.txt 2>&1").c_str()),
      0);
  const std::string print = test::withoutCarriageReturns(test::readFileBytes(dir / "print.txt"));
  EXPECT_NE(print.find("Unknown section 'bogus'"), std::string::npos) << print;
}

#ifdef _WIN32
TEST_F(CliTest, SavingOverADeviceFailsAndLeavesItAlone) {
  for (const char* device : {"NUL", "\\\\.\\NUL"}) {
    SCOPED_TRACE(device);
    const test::CliRun run = cli({"new", "--row", "0", "-o", device});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("not a file for data"), std::string::npos) << run.err;
  }
  EXPECT_TRUE(fs::is_empty(dir));
}
#else
TEST_F(CliTest, SavingOverAPipeOrADeviceFailsAndLeavesItAlone) {
  ASSERT_EQ(mkfifo((dir / "pipe.dat").c_str(), 0600), 0);
  const test::CliRun pipe = cli({"new", "--row", "0", "-o", "pipe.dat"});
  EXPECT_EQ(pipe.status, 1);
  EXPECT_NE(pipe.err.find("not a file for data"), std::string::npos) << pipe.err;
  EXPECT_TRUE(fs::is_fifo(dir / "pipe.dat"));
  const test::CliRun device = cli({"new", "--row", "0", "-o", "/dev/null"});
  EXPECT_EQ(device.status, 1);
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
}
#endif

TEST_F(CliTest, AnUnwritableOutputFailsAndLeavesNothing) {
  const test::CliRun run = cli({"new", "--row", "0", "-o", "no-such-folder/x.dat"});
  EXPECT_EQ(run.status, 1);
  // The system's own reason, as writing the file from here meets it.
  std::error_code reason;
  ASSERT_NE(DataFile::writeDataFile((dir / "no-such-folder" / "x.dat").string(), clearedImage(), reason),
            DataFile::Written);
  EXPECT_NE(run.err.find("x.dat: " + reason.message()), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(dir / "no-such-folder"));
}

} // namespace
} // namespace vpr
