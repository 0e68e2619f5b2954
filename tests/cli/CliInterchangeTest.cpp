// The interchange commands as processes: YAML and CSV through files and standard streams, and a
// file with problems leaves nothing behind.

#include "cli/CliRunner.h"
#include "model/DataFile.h"
#include "model/ModelCatalogue.h"
#include "model/RadioData.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vpr {
namespace {

namespace fs = std::filesystem;

class CliInterchangeTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_EQ(cli({"new", "--row", "13", "-o", "x.dat"}).status, 0); }
  test::CliRun cli(const std::vector<std::string>& arguments, const std::optional<std::string>& input = {}) {
    return test::runCli(dir, arguments, input);
  }
  void write(const std::string& name, const std::string& text) {
    std::ofstream(dir / name, std::ios::binary) << text;
  }
  fs::path dir = test::makeTempDir();
};

TEST_F(CliInterchangeTest, ExportThenImportGivesTheSameDataFileAlsoThroughStandardStreams) {
  ASSERT_EQ(cli({"export", "x.dat", "-o", "x.yaml"}).status, 0);
  ASSERT_EQ(cli({"import", "x.yaml", "-o", "y.dat"}).status, 0);
  EXPECT_EQ(test::readFileBytes(dir / "y.dat"), test::readFileBytes(dir / "x.dat"));

  const test::CliRun exported = cli({"export", "-"}, test::readFileBytes(dir / "x.dat"));
  ASSERT_EQ(exported.status, 0) << exported.err;
  EXPECT_EQ(exported.out, test::readFileBytes(dir / "x.yaml"));
  const test::CliRun imported = cli({"import", "-", "-o", "-"}, exported.out);
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(imported.out, test::readFileBytes(dir / "x.dat"));
}

TEST_F(CliInterchangeTest, AYamlFileWithProblemsNamesEachLineAndWritesNothing) {
  ASSERT_EQ(cli({"export", "x.dat", "-o", "x.yaml"}).status, 0);
  std::string text = test::readFileBytes(dir / "x.yaml");
  text.replace(text.find("squelch_level: 9"), 16, "squelch_level: 10");
  text.replace(text.find("channels: []"), 12, "channels:\n  - {number: 1, rx: \"500.000\"}");
  write("bad.yaml", text);
  write("y.dat", "precious");
  const test::CliRun run = cli({"import", "bad.yaml", "-o", "y.dat"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("bad.yaml: line 10: Squelch level \"10\""), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("bad.yaml: line 15: 500.000 MHz is outside the band"), std::string::npos) << run.err;
  EXPECT_EQ(test::readFileBytes(dir / "y.dat"), "precious");
  EXPECT_EQ(cli({"import", "bad.yaml", "-o", "z.dat"}).status, 1);
  EXPECT_FALSE(fs::exists(dir / "z.dat"));
}

TEST_F(CliInterchangeTest, ChannelListsGoOutAndComeBackAndBadRowsAreSkippedOnlyWhenAsked) {
  write("list.csv",
        "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode\n"
        "1,A,462.562500,,0,,88.5,88.5,023,NN,FM\n"
        "2,B,146.520000,,0,,88.5,88.5,023,NN,FM\n"
        "3,C,463.000000,+,5.000000,TSQL,88.5,100.0,023,NN,FM\n");
  const test::CliRun strict = cli({"channels", "x.dat", "--import", "list.csv", "-o", "y.dat"});
  EXPECT_EQ(strict.status, 1);
  EXPECT_NE(strict.err.find("list.csv: line 3: 146.520000 MHz is outside"), std::string::npos) << strict.err;
  EXPECT_FALSE(fs::exists(dir / "y.dat"));

  const test::CliRun lenient =
      cli({"channels", "x.dat", "--import", "list.csv", "-o", "y.dat", "--skip-invalid"});
  ASSERT_EQ(lenient.status, 0) << lenient.err;
  const test::CliRun csv = cli({"channels", "y.dat", "--csv", "-"});
  ASSERT_EQ(csv.status, 0) << csv.err;
  EXPECT_EQ(csv.out, "Channel,RxFrequency,TxFrequency,RxTone,TxTone,OptionA,OptionB\n"
                     "1,462.56250,462.56250,off,off,off,off\n"
                     "2,463.00000,468.00000,100.0,100.0,off,off\n");
  write("own.csv", csv.out);
  ASSERT_EQ(cli({"channels", "x.dat", "--import", "own.csv", "-o", "z.dat"}).status, 0);
  EXPECT_EQ(test::readFileBytes(dir / "z.dat"), test::readFileBytes(dir / "y.dat"));
}

TEST_F(CliInterchangeTest, ChannelsNeedsExactlyOneDirection) {
  EXPECT_EQ(cli({"channels", "x.dat"}).status, 2);
  EXPECT_EQ(cli({"channels", "x.dat", "--csv", "a.csv", "--import", "b.csv", "-o", "y.dat"}).status, 2);
  EXPECT_EQ(cli({"channels", "x.dat", "--import", "b.csv"}).status, 2);
}

} // namespace
} // namespace vpr
