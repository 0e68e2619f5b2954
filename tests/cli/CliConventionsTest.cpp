// What users of command-line tools expect: versions, standard streams, JSON for scripts, shell
// completion, and radio commands that show the bytes on the line or keep quiet.

#include "cli/CliRunner.h"
#include "model/DataFile.h"
#include "model/ModelCatalogue.h"
#include "model/RadioData.h"
#include "sim/VirtualRadio.h"
#include "support/TestImages.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vpr {
namespace {

namespace fs = std::filesystem;

class CliConventions : public ::testing::Test {
protected:
  test::CliRun cli(const std::vector<std::string>& arguments, const std::optional<std::string>& input = {}) {
    return test::runCli(dir, arguments, input);
  }
  fs::path dir = test::makeTempDir();
};

TEST_F(CliConventions, EveryProgramTellsItsVersion) {
  const test::CliRun run = cli({"--version"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "vpr40t-cli " VPR_VERSION "\n");
  const std::string sim = test::shellQuoted(test::binaryPath("sim/vpr40t-sim")) + " --version";
  FILE* pipe = popen(sim.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char line[64] = {};
  ASSERT_NE(fgets(line, sizeof line, pipe), nullptr);
  EXPECT_EQ(pclose(pipe), 0);
  EXPECT_STREQ(line, "vpr40t-sim " VPR_VERSION "\n");
}

TEST_F(CliConventions, InfoReadsStandardInputAndSpeaksJson) {
  const auto bytes = DataFile::fileBytes(test::rowImage(16));
  const test::CliRun run = cli({"info", "--json", "-"}, std::string(bytes.begin(), bytes.end()));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "{\"model\": \"HX-5470/5470M\", \"band\": \"UHF 6:440-460 MHz\", "
            "\"model_code\": \"00 00 FF 30 37 34 35 50\", \"channels\": 16, \"wide_narrow\": \"narrow\"}\n");

  const test::CliRun junk = cli({"info", "--json", "-"}, std::string("not a data file"));
  EXPECT_EQ(junk.status, 1);
  EXPECT_TRUE(junk.out.empty());
}

TEST_F(CliConventions, DiffSpeaksJsonAndReadsOneFileFromStandardInput) {
  RadioData data;
  data.transferImage = test::rowImage(16);
  data.adoptTransferImage();
  const auto before = DataFile::fileBytes(data.editImage);
  std::string rx = "445.125";
  ASSERT_EQ(data.setChannelFrequency(2, rx, FrequencyField::Receive), EntryResult::InBand);
  std::error_code error;
  ASSERT_EQ(DataFile::writeDataFile((dir / "b.dat").string(), data.editImage, error), DataFile::Written);

  const test::CliRun same = cli({"diff", "--json", "-", "-"}, std::string(before.begin(), before.end()));
  // Standard input holds one file only: the second "-" finds it empty.
  EXPECT_EQ(same.status, 2);

  const test::CliRun run = cli({"diff", "--json", "-", "b.dat"}, std::string(before.begin(), before.end()));
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.out.rfind("{\"same\": false, \"differences\": [{\"field\": \"", 0), 0u) << run.out;
  EXPECT_NE(run.out.find("\"after\": \"445.12500\"}"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.back(), '\n');

  const test::CliRun equal = cli({"diff", "--json", "b.dat", "b.dat"});
  EXPECT_EQ(equal.status, 0) << equal.err;
  EXPECT_EQ(equal.out, "{\"same\": true, \"differences\": []}\n");
}

TEST_F(CliConventions, CompletionScriptsKnowEveryCommandAndItsOptions) {
  const test::CliRun bash = cli({"completion", "bash"});
  ASSERT_EQ(bash.status, 0) << bash.err;
  for (const char* word :
       {"complete -F _vpr40t_cli vpr40t-cli", "export)", "channels)", "--skip-invalid", "--json"})
    EXPECT_NE(bash.out.find(word), std::string::npos) << word;
  if (std::system("command -v bash >/dev/null 2>&1") == 0) {
    // The script is valid bash.
    EXPECT_EQ(cli({"completion", "bash", "-o", "c.bash"}).status, 0);
    EXPECT_EQ(std::system(("bash -n " + test::shellQuoted((dir / "c.bash").string())).c_str()), 0);
  }
  const test::CliRun zsh = cli({"completion", "zsh"});
  ASSERT_EQ(zsh.status, 0) << zsh.err;
  EXPECT_EQ(zsh.out.rfind("#compdef vpr40t-cli\n", 0), 0u);
  EXPECT_NE(zsh.out.find("'import:"), std::string::npos);
  EXPECT_EQ(cli({"completion", "fish"}).status, 2);
}

TEST_F(CliConventions, VerboseShowsTheBytesOnTheLineAndQuietNoProgress) {
  sim::VirtualRadioOptions options;
  sim::VirtualRadio radio(test::rowImage(16), options);
  ASSERT_TRUE(radio.start());
  const test::CliRun verbose = cli({"detect", "--port", radio.devicePath(), "--verbose"});
  ASSERT_EQ(verbose.status, 0) << verbose.err;
  // What went out and what came back, a line each.
  EXPECT_EQ(verbose.err.rfind("> ", 0), 0u) << verbose.err;
  EXPECT_NE(verbose.err.find("\n< "), std::string::npos) << verbose.err;

  const test::CliRun quiet = cli({"read", "--port", radio.devicePath(), "-o", "-", "--quiet"});
  ASSERT_EQ(quiet.status, 0) << quiet.err;
  EXPECT_EQ(quiet.err, "");
  EXPECT_EQ(quiet.out.size(), DataFile::kFileSize);
  EXPECT_EQ(cli({"read", "--port", radio.devicePath(), "-o", "x.dat", "-q", "-v"}).status, 2);
}

} // namespace
} // namespace vpr
