// The programming protocol against the virtual radio over a real pseudo-terminal.

#include "RadioOnLine.h"

#include <chrono>

namespace vpr::test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using Faults = sim::VirtualRadioFaults;

int count(const std::string& haystack, const std::string& needle) {
  int n = 0;
  for (auto at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + 1))
    ++n;
  return n;
}

using ProgramMode = LinkTest;

TEST_F(ProgramMode, AnAcknowledgedProgramRequestLeavesThe550MsTimeOut) {
  RadioOnLine pair(patternImage());
  pair.open();
  EXPECT_EQ(pair.link.EnterProgramMode(pair.ui), 0);
  EXPECT_TRUE(pair.radio.inProgramMode());
  EXPECT_EQ(pair.link.ReadTimeout(), 550);
  EXPECT_EQ(pair.receivedText(), "PROGRAM");
}

TEST_F(ProgramMode, StrayBytesBeforeTheAckAreSkipped) {
  Faults faults;
  faults.strayBeforeProgramAck = 12;
  RadioOnLine pair(patternImage(), radioOptions(faults));
  pair.open();
  EXPECT_EQ(pair.link.EnterProgramModeOrReport(pair.ui), 0);
  EXPECT_TRUE(pair.ui.messages.empty());
}

TEST_F(ProgramMode, NoAnswerIsReportedAndClosesThePort) {
  Faults faults;
  faults.noAnswer = true;
  RadioOnLine pair(patternImage(), radioOptions(faults));
  pair.open();
  auto start = Clock::now();
  EXPECT_EQ(pair.link.EnterProgramModeOrReport(pair.ui), 1);
  auto elapsed = Clock::now() - start;
  EXPECT_GE(elapsed, milliseconds(2990));
  EXPECT_LT(elapsed, milliseconds(3600));
  EXPECT_EQ(pair.ui.messageTexts(), std::vector<std::string>{idText(10026003)});
  EXPECT_FALSE(pair.link.IsOpen());
  EXPECT_EQ(pair.link.ReadTimeout(), 1000); // the time-out from before is back
}

using BlockTransfer = LinkTest;

TEST_F(BlockTransfer, IdentificationAnswersTheModelCodeInWireOrder) {
  RadioOnLine pair(patternImage("P5410", 0x03), radioOptions({}, true));
  pair.open();
  CRadioComm::Identity identity{};
  ASSERT_EQ(pair.link.Identify(identity), 0);
  EXPECT_EQ(std::string(identity.begin(), identity.begin() + 5), "P5410");
  EXPECT_EQ(identity[5], 0x03);
  EXPECT_EQ(pair.receivedText(), std::string("\x02\x06", 2));
}

TEST_F(BlockTransfer, ABlockWhoseReadAnswerOrWriteIsRefusedIsSentAtMostThreeTimesInAll) {
  const RadioImage image = patternImage();
  const std::uint8_t data[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  for (const bool write : {false, true}) {
    for (const int refusals : {2, 3}) {
      SCOPED_TRACE(std::string(write ? "write" : "read") + " refused " + std::to_string(refusals) + " times");
      Faults faults; // a wrong header answers a read, a NAK a write
      (write ? faults.refuseWriteBlock : faults.wrongHeaderBlock) = 5;
      (write ? faults.refuseWriteTimes : faults.wrongHeaderTimes) = refusals;
      RadioOnLine pair(image, radioOptions(faults, true));
      pair.open();
      std::uint8_t block[8] = {};
      const bool taken = refusals < 3;
      EXPECT_EQ(write ? pair.link.WriteBlock(data, 40, 8) : pair.link.ReadBlock(block, 40, 8), taken ? 0 : 1);
      if (taken) {
        EXPECT_TRUE(write ? std::equal(data, data + 8, pair.radio.memory().begin() + 40)
                          : std::equal(block, block + 8, image.begin() + 40));
      }
      EXPECT_EQ(count(pair.receivedText(), std::string(write ? "W" : "R") + std::string("\x00\x28\x08", 3)),
                3);
    }
  }
}

TEST_F(BlockTransfer, OnARealLineABadAnswerIsLetThroughBeforeTheBlockIsTriedAgain) {
  // At 9600 baud the rest of a bad answer is still arriving when the header is found wrong.
  const RadioImage image = patternImage();
  Faults faults;
  faults.wrongHeaderBlock = 5;
  faults.noiseBeforeBlock = 6;
  faults.noiseBytes = 20;
  sim::VirtualRadioOptions options = radioOptions(faults, true);
  options.paced = true;
  RadioOnLine pair(image, options);
  pair.open();
  pair.link.SetReadTimeout(550);
  std::uint8_t block[8] = {};
  EXPECT_EQ(pair.link.ReadBlock(block, 40, 8), 0);
  EXPECT_TRUE(std::equal(block, block + 8, image.begin() + 40));
  // Noise ahead of a write's ACK reads as a refusal; the block is sent again once it has passed.
  const std::uint8_t data[8] = {9, 8, 7, 6, 5, 4, 3, 2};
  EXPECT_EQ(pair.link.WriteBlock(data, 48, 8), 0);
  EXPECT_TRUE(std::equal(data, data + 8, pair.radio.memory().begin() + 48));
  EXPECT_EQ(pair.link.ReadTimeout(), 550);
}

TEST_F(BlockTransfer, AReadEndingWithoutAckFailsAtOnce) {
  Faults faults;
  faults.nakFinalAckBlock = 0;
  RadioOnLine pair(patternImage(), radioOptions(faults, true));
  pair.open();
  std::uint8_t block[8] = {};
  EXPECT_EQ(pair.link.ReadBlock(block, 0, 8), 6);
  EXPECT_EQ(count(pair.receivedText(), "R"), 1);
}

TEST_F(BlockTransfer, AWriteWithoutAnswerFailsAtOnceAndKeepsTheTimeOut) {
  Faults faults;
  faults.silentAfterBlocks = 0;
  RadioOnLine pair(patternImage(), radioOptions(faults, true));
  pair.open();
  pair.link.SetReadTimeout(550);
  const std::uint8_t data[8] = {};
  auto start = Clock::now();
  EXPECT_EQ(pair.link.WriteBlock(data, 0, 8), 1);
  auto elapsed = Clock::now() - start;
  EXPECT_GE(elapsed, milliseconds(2990)); // the write's own 3000 ms wait
  EXPECT_LT(elapsed, milliseconds(3600));
  EXPECT_EQ(count(pair.receivedText(), "W"), 1);
  EXPECT_EQ(pair.link.ReadTimeout(), 550);
}

using RadioChecks = LinkTest;

TEST_F(RadioChecks, AnUnprogrammedRadioIsNotReadButIsWrittenWithoutQuestion) {
  {
    RadioOnLine pair(clearedImage(), radioOptions({}, true));
    pair.open();
    CRadioComm::Identity identity{};
    EXPECT_EQ(pair.link.CheckRadioForRead(pair.ui, identity, true), 2);
    EXPECT_EQ(pair.ui.messageTexts(), std::vector<std::string>{idText(10026004)});
    EXPECT_FALSE(pair.link.IsOpen());
  }
  {
    RadioOnLine pair(clearedImage(), radioOptions({}, true));
    pair.open();
    CRadioComm::Identity identity{};
    EXPECT_EQ(pair.link.CheckRadioForWrite(pair.ui, identity, true, modelCodeOf(patternImage())), 0);
    EXPECT_TRUE(pair.ui.messages.empty());
  }
}

TEST_F(RadioChecks, TheSharedCodeIsReadOnlyWithAListedModelInMemory) {
  sim::VirtualRadioOptions options = radioOptions({}, true);
  options.sharedCode = true;
  for (const char* real : {"P4460", "P4450", "P5460", "P5450"}) {
    RadioOnLine pair(patternImage(real), options);
    pair.open();
    CRadioComm::Identity identity{};
    EXPECT_EQ(pair.link.CheckRadioForRead(pair.ui, identity, false), 0) << real;
    EXPECT_TRUE(pair.ui.messages.empty());
  }
  RadioOnLine pair(patternImage("P4410"), options);
  pair.open();
  CRadioComm::Identity identity{};
  EXPECT_EQ(pair.link.CheckRadioForRead(pair.ui, identity, false), 2);
  EXPECT_EQ(pair.ui.messageTexts(), std::vector<std::string>{idText(10026004)});
  EXPECT_FALSE(pair.link.IsOpen());
}

TEST_F(RadioChecks, AnUnlistedModelIsRefusedEvenInSilentMode) {
  RadioOnLine pair(patternImage("X1234"), radioOptions({}, true));
  pair.open();
  CRadioComm::Identity identity{};
  EXPECT_EQ(pair.link.CheckRadioForRead(pair.ui, identity, true), 2);
  EXPECT_EQ(pair.ui.messageTexts(), std::vector<std::string>{idText(10026004)});
}

TEST_F(RadioChecks, AnotherModelOrBandAsksBeforeAWrite) {
  const ModelCode image = modelCodeOf(patternImage("P4410", 0x01));
  {
    // Same model and band: no question, bytes 0 and 1 do not matter.
    RadioImage memory = patternImage("P4410", 0x01);
    memory[0x3D0] = 0x55;
    RadioOnLine pair(memory, radioOptions({}, true));
    pair.open();
    CRadioComm::Identity identity{};
    EXPECT_EQ(pair.link.CheckRadioForWrite(pair.ui, identity, true, image), 0);
    EXPECT_TRUE(pair.ui.messages.empty());
  }
  for (auto answer : {MessageAnswer::Ok, MessageAnswer::Cancel}) {
    RadioOnLine pair(patternImage("P4410", 0x02), radioOptions({}, true));
    pair.open();
    pair.ui.answers.push_back(answer);
    CRadioComm::Identity identity{};
    int result = pair.link.CheckRadioForWrite(pair.ui, identity, true, image);
    ASSERT_EQ(pair.ui.messages.size(), 1u);
    const MessageRequest& question = pair.ui.messages[0];
    EXPECT_EQ(question.text, idText(10026007));
    EXPECT_EQ(question.caption, idText(10025002));
    EXPECT_EQ(question.buttons, MessageButtons::OkCancel);
    EXPECT_EQ(question.icon, MessageIcon::Exclamation);
    EXPECT_EQ(result, answer == MessageAnswer::Ok ? 0 : 2);
    EXPECT_EQ(pair.link.IsOpen(), answer == MessageAnswer::Ok);
  }
}

TEST_F(RadioChecks, TheSharedCodeIsWrittenWithoutQuestionWhenItsMemoryMatches) {
  sim::VirtualRadioOptions options = radioOptions({}, true);
  options.sharedCode = true;
  RadioOnLine pair(patternImage("P4460", 0x01), options);
  pair.open();
  CRadioComm::Identity identity{};
  EXPECT_EQ(pair.link.CheckRadioForWrite(pair.ui, identity, true, modelCodeOf(patternImage("P4460", 0x01))),
            0);
  EXPECT_TRUE(pair.ui.messages.empty());
}

TEST_F(RadioChecks, TestModeNeedsAllEightModelCodeBytesToMatch) {
  const RadioImage image = patternImage("P4410", 0x01);
  {
    RadioOnLine pair(image, radioOptions({}, true));
    pair.open();
    CRadioComm::Identity identity{};
    EXPECT_EQ(pair.link.CheckRadioForTest(pair.ui, identity, true, modelCodeOf(image)), 0);
  }
  RadioImage other = image;
  other[0x3D1] = 0x01;
  RadioOnLine pair(other, radioOptions({}, true));
  pair.open();
  CRadioComm::Identity identity{};
  EXPECT_EQ(pair.link.CheckRadioForTest(pair.ui, identity, true, modelCodeOf(image)), 2);
  EXPECT_EQ(pair.ui.messageTexts(), std::vector<std::string>{idText(10026006)});
  EXPECT_FALSE(pair.link.IsOpen());
}

using TestCommands = LinkTest;

TEST_F(TestCommands, EachCommandGoesOutAsSpecifiedAndKeepsTheTimeOut) {
  RadioOnLine pair(patternImage(), radioOptions({}, true));
  pair.open();
  pair.link.SetReadTimeout(550);
  EXPECT_EQ(pair.link.SelectTestChannel(3), 0);
  EXPECT_EQ(pair.link.SelectTestSignallingCode(0x0670), 0);
  EXPECT_EQ(pair.link.SelectTestSignalling(0), 0);
  EXPECT_EQ(pair.link.SelectTestSignalling(1), 0);
  EXPECT_EQ(pair.link.SetTransmit(true), 0);
  EXPECT_EQ(pair.link.SetTransmit(false), 0);
  EXPECT_EQ(pair.link.SendKCommand(true), 0);
  EXPECT_EQ(pair.link.SendIdentityText(), 0);
  EXPECT_EQ(pair.link.EnterAdjustMode(0x12, true, 2), 0);
  EXPECT_EQ(pair.link.SetAdjustValue('M', 0x80, 3), 0);
  EXPECT_EQ(pair.link.SetAdjustValue('f', 0x10, 1), 0);
  EXPECT_EQ(pair.link.LeaveAdjustMode(), 0);
  EXPECT_EQ(pair.link.ReadTimeout(), 550);
  const std::string expected =
      std::string("C\x03", 2) + std::string("S\x06\x70", 3) + "S\xFF\xFF" + std::string("S\x06\x70", 3) +
      "K\x11\x01" + "K\x11\x02" + "K\x16\x01" + "VESKARO" + "K\x13\x01K\x17\x01K\x13\x02K\x17\x02" + "n" +
      "K\x12\x01K\x12\x02K\x12\x01K\x12\x02" + "M\x80" + "f\x10" + "K\x13\x01K\x17\x01K\x13\x02K\x17\x02";
  EXPECT_EQ(pair.receivedText(), expected);
}

TEST_F(TestCommands, TestFrequencyRecordsAndTheAdjustAreaAreReadAsTwoBlocks) {
  const RadioImage image = patternImage();
  RadioOnLine pair(image, radioOptions({}, true));
  pair.open();
  std::uint8_t record[16] = {};
  ASSERT_EQ(pair.link.ReadTestFreqRecord(15, record), 0);
  EXPECT_TRUE(std::equal(record, record + 16, image.begin() + 0x200));
  ASSERT_EQ(pair.link.ReadAdjustArea(record), 0);
  EXPECT_TRUE(std::equal(record, record + 16, image.begin() + 0x3F0));
  EXPECT_NE(pair.link.ReadTestFreqRecord(16, record), 0);
}

TEST_F(TestCommands, ReopeningAt9600KeepsTheModeTailAndSetsTheTestTimeOut) {
  RadioOnLine pair(patternImage(), radioOptions({}, true));
  pair.link.SetLineSettings("4800,N,8,1");
  EXPECT_EQ(pair.link.ReopenAt9600(), 0);
  EXPECT_TRUE(pair.link.IsOpen());
  EXPECT_EQ(pair.link.LineSettings(), "9600,N,8,1");
  EXPECT_EQ(pair.link.ReadTimeout(), 1500);
  pair.link.SetPortPath(1, "/dev/vpr40t-no-such-port");
  EXPECT_EQ(pair.link.ReopenAt9600(), 1);
}

} // namespace
} // namespace vpr::test
