// The scriptable test-mode session of vpr40t-cli, run as a process against a virtual radio, as
// an alignment bench drives it: commands on standard input, one answer line per command.

#include "cli/CliProcess.h"
#include "cli/CliRunner.h"
#include "lang/CLanguageTable.h"
#include "model/DataFile.h"
#include "model/ModelCatalogue.h"
#include "model/RadioData.h"
#include "sim/VirtualRadio.h"
#include "support/TestImages.h"
#include "support/TestLanguage.h"
#include "support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>

namespace vpr {
namespace {

using test::linesOf;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::StartsWith;

class CliTestSession : public ::testing::Test {
protected:
  void SetUp() override {
    test::loadLanguage(false);
    memory[0x3F3] = 100;
    memory[0x3F1] = 0x30;
    sim::VirtualRadioOptions options;
    options.programMode = true;
    options.faults = faults;
    radio = std::make_unique<sim::VirtualRadio>(memory, options);
    ASSERT_TRUE(radio->start());
    std::error_code error;
    file = (dir / "radio.dat").string();
    ASSERT_EQ(DataFile::writeDataFile(file, memory, error), DataFile::Written);
  }
  void TearDown() override { test::unloadLanguage(); }

  test::CliRun session(const std::string& input, std::vector<std::string> extra = {}) {
    std::vector<std::string> arguments = {"test", "--port", radio->devicePath(), file};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return test::runCli(dir, arguments, input);
  }
  // The radio's events after the start sequence (identity text, two start keys, channel, signalling).
  std::vector<std::string> eventsAfterStart() const {
    auto events = radio->testEvents();
    EXPECT_GE(events.size(), 5u);
    events.erase(events.begin(), events.begin() + std::min<long>(5, static_cast<long>(events.size())));
    return events;
  }
  std::string sentBytes() const {
    const auto bytes = radio->received();
    return std::string(bytes.begin(), bytes.end());
  }

  RadioImage memory = test::rowImage(0);
  sim::VirtualRadioFaults faults;
  std::unique_ptr<sim::VirtualRadio> radio;
  std::filesystem::path dir = test::makeTempDir();
  std::string file;
};

TEST_F(CliTestSession, EveryCommandIsAnsweredWithOneLineAndReachesTheRadio) {
  const test::CliRun run = session(
      "channel 3\nsignalling 1\ntransmit on\ntransmit off\nadjust 2\nvalue 200\nleave\nstatus\nquit\n");
  EXPECT_EQ(run.status, 0) << run.err;
  const auto lines = linesOf(run.out);
  ASSERT_EQ(lines.size(), 9u) << run.out;
  EXPECT_THAT(lines, Each(StartsWith("ok ")));
  EXPECT_THAT(lines[0], StartsWith("ok channel 3 rx "));
  EXPECT_EQ(lines[1], "ok signalling 1 tone 67.0");
  EXPECT_EQ(lines[4], "ok adjust 2 value 207");
  EXPECT_EQ(lines[6], "ok leave item 2 value 207");
  EXPECT_THAT(lines[7], StartsWith("ok channel 3 rx "));
  EXPECT_THAT(lines[7], EndsWith("signalling 1 tone 67.0 transmit off item none"));
  EXPECT_EQ(lines[8], "ok quit");
  const auto events = eventsAfterStart();
  EXPECT_THAT(std::vector<std::string>(events.begin(), events.begin() + 6),
              ElementsAre("channel 3", "signalling 0670", "channel 3", "signalling 0670", "transmit on",
                          "transmit off"));
  EXPECT_EQ(radio->memory()[0x3F1], 0x30); // 200 was never applied: the opening value is back
  EXPECT_EQ(events.back(), "channel 3");
}

TEST_F(CliTestSession, BadInputIsRefusedByNameAndSendsNothing) {
  const std::string overlong(300, 'x');
  const test::CliRun run = session("channel x\nchannel -1\nchannel 17\nchannel 0\nsignalling 39\nadjust 9\n"
                                   "transmit maybe\nfrobnicate\nvalue 5\napply\nleave\nstatus now\n\n" +
                                   overlong + "\nchannel 99999999999999\nquit\n");
  EXPECT_EQ(run.status, 0) << run.err;
  const auto lines = linesOf(run.out);
  ASSERT_EQ(lines.size(), 16u) << run.out;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i)
    EXPECT_THAT(lines[i], StartsWith("error ")) << i;
  EXPECT_EQ(lines[0], "error channel takes a number from 1 to 16");
  EXPECT_EQ(lines[6], "error transmit takes on or off");
  EXPECT_EQ(lines[7], "error unknown command: frobnicate");
  EXPECT_EQ(lines[8], "error no adjustment is open");
  EXPECT_EQ(lines[13], "error the line is longer than 200 characters");
  EXPECT_EQ(lines[15], "ok quit");
  EXPECT_TRUE(eventsAfterStart().empty());
}

TEST_F(CliTestSession, EndOfInputLeavesTheAdjustmentWithTheAppliedValueAndSavesIt) {
  const test::CliRun run = session("adjust 1\nvalue 50\napply\nvalue 60\n", {"--save", "out.dat"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(radio->memory()[0x3F3], 50);
  const RadioImage saved = test::fileImage((dir / "out.dat").string());
  EXPECT_EQ(saved[0x3F3], 50);
  EXPECT_EQ(radio->testEvents().back(), "channel 1");
}

TEST_F(CliTestSession, StandardInputCarriesTheCommandsAndStandardOutputCanTakeTheImage) {
  const test::CliRun saved = session("adjust 1\nvalue 50\napply\nquit\n", {"--save", "-"});
  EXPECT_EQ(saved.status, 0) << saved.err;
  EXPECT_FALSE(std::filesystem::exists(dir / "-"));
  RadioImage image = memory;
  image[0x3F3] = 50;
  const auto bytes = DataFile::fileBytes(image);
  // The answers first, then the data file.
  EXPECT_THAT(saved.out, EndsWith("ok quit\n" + std::string(bytes.begin(), bytes.end())));

  const std::size_t before = radio->received().size();
  const test::CliRun refused = test::runCli(dir, {"test", "--port", radio->devicePath(), "-"}, "quit\n");
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find(textOf(10062114)), std::string::npos) << refused.err;
  EXPECT_EQ(radio->received().size(), before);
}

TEST_F(CliTestSession, EndOfInputUnkeysAKeyedTransmitter) {
  const test::CliRun run = session("transmit on");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_THAT(eventsAfterStart(), ElementsAre("channel 1", "signalling FFFF", "transmit on", "transmit off"));
}

TEST_F(CliTestSession, ADifferentRadioEndsTheSessionBeforeAnyCommand) {
  std::error_code error;
  ASSERT_EQ(DataFile::writeDataFile(file, test::rowImage(3), error), DataFile::Written);
  const test::CliRun run = session("transmit on\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "error " + textOf(10026006) + "\n");
  EXPECT_TRUE(radio->testEvents().empty());
}

class CliTestSessionPiped : public CliTestSession {
protected:
  std::unique_ptr<test::CliProcess> start(std::vector<std::string> extra = {}) {
    std::vector<std::string> arguments = {"test", "--port", radio->devicePath(), file};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return std::make_unique<test::CliProcess>(arguments);
  }
};

TEST_F(CliTestSessionPiped, AnswersComeAtOnceAndATerminationSignalUnkeys) {
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
    auto tool = start();
    tool->send("transmit on\n");
    EXPECT_EQ(tool->readLine(), "ok transmit on");
    EXPECT_TRUE(radio->testState().transmitting);
    tool->signal(signal);
    EXPECT_EQ(tool->wait(), 0) << signal;
    EXPECT_FALSE(radio->testState().transmitting) << signal;
  }
}

TEST_F(CliTestSessionPiped, TheTransmitLimitUnkeysWhileTheBenchIsSilent) {
  auto tool = start({"--transmit-limit", "1"});
  tool->send("transmit on\n");
  EXPECT_EQ(tool->readLine(), "ok transmit on");
  for (int i = 0; i < 500 && radio->testState().transmitting; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_FALSE(radio->testState().transmitting);
  tool->send("status\n");
  const auto status = tool->readLine();
  ASSERT_TRUE(status.has_value());
  EXPECT_THAT(*status, EndsWith("transmit off item none"));
  tool->closeInput();
  EXPECT_EQ(tool->wait(), 0);
}

class CliTestSessionDeadRadio : public CliTestSession {
protected:
  void SetUp() override {
    // The start sequence (5 commands) and keying (channel, signalling, key) are answered; then nothing.
    faults.silentAfterTestCommands = 8;
    CliTestSession::SetUp();
  }
};

TEST_F(CliTestSessionDeadRadio, ARadioThatStopsAnsweringGetsAnErrorLineAndIsStillUnkeyed) {
  const test::CliRun run = session("transmit on\ntransmit off\nquit\n");
  EXPECT_EQ(run.status, 1);
  const auto lines = linesOf(run.out);
  ASSERT_EQ(lines.size(), 3u) << run.out;
  EXPECT_EQ(lines[0], "ok transmit on");
  EXPECT_EQ(lines[1], "error " + textOf(10026031));
  EXPECT_EQ(lines[2], "ok quit");
  // Every attempt to unkey went out: the one asked for and the one at the end.
  const std::string bytes = sentBytes();
  const std::string unkey = "K\x11\x02";
  std::size_t unkeys = 0;
  for (auto at = bytes.find(unkey); at != std::string::npos; at = bytes.find(unkey, at + 1))
    ++unkeys;
  EXPECT_GE(unkeys, 2u);
}

} // namespace
} // namespace vpr
