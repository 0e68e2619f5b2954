// Whole-image transfers against the virtual radio: what reaches the radio, what reaches the
// caller's image, and what the user is told.

#include "RadioOnLine.h"

#include "link/RadioTransfer.h"
#include "model/RadioData.h"

#include <chrono>

namespace vpr::test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using Faults = sim::VirtualRadioFaults;

sim::VirtualRadioOptions options(bool programMode, Faults faults = {}) {
  return radioOptions(faults, programMode);
}

using ReadTransfer = LinkTest;

TEST_F(ReadTransfer, ARadioInProgrammingModeIsReadWholeWithoutProgramRequest) {
  const RadioImage memory = patternImage();
  RadioOnLine pair(memory, options(true));
  RadioImage transfer = clearedImage();
  EXPECT_EQ(runReadTransfer(pair.link, pair.ui, transfer), 0);
  EXPECT_EQ(transfer, memory);
  EXPECT_EQ(pair.radio.stats().programRequests, 0);
  EXPECT_EQ(pair.receivedText().find("PROGRAM"), std::string::npos);
  EXPECT_FALSE(pair.link.IsOpen());
  EXPECT_TRUE(pair.ui.messages.empty());
  EXPECT_EQ(pair.link.ReadTimeout(), 1000); // never set: the radio was already in programming mode
}

TEST_F(ReadTransfer, ARadioInNormalModeIsPutIntoProgrammingModeFirst) {
  const RadioImage memory = patternImage("P5470", 0x02);
  Faults faults;
  faults.strayBeforeProgramAck = 4;
  RadioOnLine pair(memory, options(false, faults));
  RadioImage transfer = clearedImage();
  EXPECT_EQ(runReadTransfer(pair.link, pair.ui, transfer), 0);
  EXPECT_EQ(transfer, memory);
  EXPECT_EQ(pair.radio.stats().programRequests, 1);
  EXPECT_EQ(pair.radio.stats().blocksRead, 128);
  EXPECT_EQ(pair.link.ReadTimeout(), 550);
  EXPECT_TRUE(pair.ui.messages.empty());
}

TEST_F(ReadTransfer, ProgressCountsTheBlocksBehindTheBlockLabel) {
  RadioOnLine pair(patternImage(), options(true));
  RadioImage transfer = clearedImage();
  ASSERT_EQ(runReadTransfer(pair.link, pair.ui, transfer), 0);
  const auto& progress = pair.ui.progress;
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.front().done, 0);
  EXPECT_EQ(progress.back().done, 128);
  for (const auto& p : progress)
    EXPECT_EQ(p.total, 128);
  EXPECT_EQ(progress.back().label, idText(10014004) + " 128 / 128");
  // One message is pumped per block at least, so windows keep repainting.
  EXPECT_GE(pair.ui.pumpCount, 128);
}

TEST_F(ReadTransfer, ARadioFallingSilentMidReadLeavesTheImageUntouched) {
  Faults faults;
  faults.silentAfterBlocks = 60;
  RadioOnLine pair(patternImage(), options(true, faults));
  const RadioImage before = patternImage("P4450", 0x01, 99);
  RadioImage transfer = before;
  auto start = Clock::now();
  EXPECT_EQ(runReadTransfer(pair.link, pair.ui, transfer), 1);
  // Three attempts of one 550 ms header wait at most; here the time-out is still the opening 1000 ms.
  EXPECT_LT(Clock::now() - start, milliseconds(3 * 1000 + 1500));
  EXPECT_EQ(transfer, before);
  EXPECT_EQ(pair.ui.messageTexts(), std::vector<std::string>{idText(10026003)});
  EXPECT_FALSE(pair.link.IsOpen());
}

TEST_F(ReadTransfer, APulledCableMidReadIsACommunicationError) {
  Faults faults;
  faults.hangUpAfterBlocks = 30;
  RadioOnLine pair(patternImage(), options(true, faults));
  RadioImage transfer = clearedImage();
  auto start = Clock::now();
  EXPECT_EQ(runReadTransfer(pair.link, pair.ui, transfer), 1);
  EXPECT_LT(Clock::now() - start, milliseconds(1500));
  EXPECT_EQ(transfer, clearedImage());
  EXPECT_EQ(pair.ui.messageTexts(), std::vector<std::string>{idText(10026003)});
  EXPECT_FALSE(pair.link.IsOpen());
}

TEST_F(ReadTransfer, NoiseWrongLengthsAndCutAnswersAreRetriedAway) {
  const RadioImage memory = patternImage();
  Faults faults;
  faults.noiseBeforeBlock = 3;
  faults.noiseBytes = 50;
  faults.wrongLengthBlock = 7;
  faults.truncateBlock = 9;
  RadioOnLine pair(memory, options(true, faults));
  RadioImage transfer = clearedImage();
  EXPECT_EQ(runReadTransfer(pair.link, pair.ui, transfer), 0);
  EXPECT_EQ(transfer, memory);
  EXPECT_TRUE(pair.ui.messages.empty());
}

TEST_F(ReadTransfer, AFloodOfNoiseIsACommunicationErrorNotAHang) {
  Faults faults;
  faults.floodAtBlock = 20;
  faults.floodMs = 2000;
  RadioOnLine pair(patternImage(), options(true, faults));
  RadioImage transfer = clearedImage();
  auto start = Clock::now();
  EXPECT_EQ(runReadTransfer(pair.link, pair.ui, transfer), 1);
  EXPECT_LT(Clock::now() - start, milliseconds(2000));
  EXPECT_EQ(transfer, clearedImage());
  EXPECT_EQ(pair.ui.messageTexts(), std::vector<std::string>{idText(10026003)});
}

TEST_F(ReadTransfer, AnUnprogrammedRadioIsRefused) {
  RadioOnLine pair(clearedImage(), options(false));
  RadioImage transfer = patternImage();
  EXPECT_EQ(runReadTransfer(pair.link, pair.ui, transfer), 1);
  EXPECT_EQ(transfer, patternImage());
  EXPECT_EQ(pair.ui.messageTexts(), std::vector<std::string>{idText(10026004)});
  EXPECT_FALSE(pair.link.IsOpen());
}

TEST_F(ReadTransfer, APortThatCannotBeOpenedIsReported) {
  RadioOnLine pair(patternImage(), options(true));
  pair.link.SetPortPath(1, "/dev/vpr40t-no-such-port");
  RadioImage transfer = clearedImage();
  EXPECT_EQ(runReadTransfer(pair.link, pair.ui, transfer), 1);
  ASSERT_EQ(pair.ui.messages.size(), 1u);
  EXPECT_EQ(pair.ui.messages[0].text.rfind(idText(10026002), 0), 0u);
  EXPECT_EQ(pair.link.LastSystemError(), ENOENT);
}

TEST_F(ReadTransfer, APortHeldByAnotherProgramIsReportedAndLeftAlone) {
  RadioOnLine pair(patternImage(), options(true));
  CComPort holder;
  holder.SetPortPath(1, pair.radio.devicePath());
  ASSERT_TRUE(holder.SetOpen(true));
  RadioImage transfer = clearedImage();
  EXPECT_EQ(runReadTransfer(pair.link, pair.ui, transfer), 1);
  ASSERT_EQ(pair.ui.messages.size(), 1u);
  EXPECT_EQ(pair.ui.messages[0].text.rfind(idText(10026002), 0), 0u);
  EXPECT_EQ(pair.link.LastSystemError(), EBUSY);
  EXPECT_TRUE(pair.radio.received().empty());
  EXPECT_TRUE(holder.IsOpen());
}

TEST_F(ReadTransfer, OnlyACompleteReadBecomesTheWorkingImage) {
  RadioData data;
  data.resetToModel(modelCodeOf(patternImage("P4450", 0x01)));
  const RadioImage working = data.editImage;
  const RadioImage landing = data.transferImage;
  {
    Faults faults;
    faults.hangUpAfterBlocks = 127; // the very last block never arrives
    RadioOnLine pair(patternImage(), options(true, faults));
    if (runReadTransfer(pair.link, pair.ui, data.transferImage) == 0) data.adoptTransferImage();
    EXPECT_EQ(data.editImage, working);
    EXPECT_EQ(data.transferImage, landing);
  }
  RadioOnLine pair(patternImage(), options(true));
  ASSERT_EQ(runReadTransfer(pair.link, pair.ui, data.transferImage), 0);
  data.adoptTransferImage();
  EXPECT_EQ(data.editImage, patternImage());
}

using Identification = LinkTest;

TEST_F(Identification, AnUnprogrammedRadioInNormalModeIsIdentifiedAfterProgramRequest) {
  RadioOnLine pair(clearedImage(), options(false));
  ModelCode code{};
  EXPECT_EQ(runIdentifyRadio(pair.link, pair.ui, code), 0);
  EXPECT_EQ(code, modelCodeOf(clearedImage()));
  EXPECT_EQ(pair.radio.stats().programRequests, 1);
  EXPECT_EQ(pair.radio.stats().blocksRead, 0);
  EXPECT_FALSE(pair.link.IsOpen());
}

TEST_F(Identification, ASilentRadioIsACommunicationError) {
  Faults faults;
  faults.noAnswer = true;
  RadioOnLine pair(patternImage(), options(true, faults));
  ModelCode code{};
  EXPECT_EQ(runIdentifyRadio(pair.link, pair.ui, code), 1);
  EXPECT_EQ(pair.ui.messageTexts(), std::vector<std::string>{idText(10026003)});
  EXPECT_FALSE(pair.link.IsOpen());
}

using WriteTransfer = LinkTest;

TEST_F(WriteTransfer, AWriteSends123BlocksAndNeverTouchesTheLastFortyBytes) {
  const RadioImage memory = patternImage("P4410", 0x01, 1);
  const RadioImage image = patternImage("P4410", 0x01, 77);
  RadioOnLine pair(memory, options(false));
  EXPECT_EQ(runWriteTransfer(pair.link, pair.ui, image), 0);
  const RadioImage after = pair.radio.memory();
  EXPECT_TRUE(sameRange(after, image, 0x000, 0x3D8));
  EXPECT_TRUE(sameRange(after, memory, 0x3D8, 0x400));
  EXPECT_EQ(pair.radio.stats().blocksWritten, 123);
  EXPECT_EQ(pair.radio.stats().programRequests, 1);
  EXPECT_TRUE(pair.ui.messages.empty());
  EXPECT_FALSE(pair.link.IsOpen());
  EXPECT_EQ(pair.ui.progress.back().done, 123);
  EXPECT_EQ(pair.ui.progress.back().total, 123);
  // The last block written is block 122 at 0x3D0, the model code.
  const std::string wire = pair.receivedText();
  EXPECT_NE(wire.rfind(std::string("W\x03\xD0\x08", 4)), std::string::npos);
  EXPECT_EQ(wire.find(std::string("W\x03\xD8", 3)), std::string::npos);
}

TEST_F(WriteTransfer, ARadioInProgrammingModeIsWrittenWithoutProgramRequest) {
  const RadioImage image = patternImage("P4410", 0x01, 5);
  RadioOnLine pair(patternImage(), options(true));
  EXPECT_EQ(runWriteTransfer(pair.link, pair.ui, image), 0);
  EXPECT_EQ(pair.radio.stats().programRequests, 0);
  EXPECT_TRUE(sameRange(pair.radio.memory(), image, 0, 0x3D8));
}

TEST_F(WriteTransfer, AnotherModelIsWrittenOnOkAndLeftAloneOnCancel) {
  const RadioImage image = patternImage("P4410", 0x01, 5);
  const RadioImage other = patternImage("P4470", 0x01);
  {
    RadioOnLine pair(other, options(false));
    pair.ui.answers.push_back(MessageAnswer::Ok);
    EXPECT_EQ(runWriteTransfer(pair.link, pair.ui, image), 0);
    EXPECT_EQ(pair.ui.messageTexts(), std::vector<std::string>{idText(10026007)});
    EXPECT_TRUE(sameRange(pair.radio.memory(), image, 0, 0x3D8));
  }
  {
    RadioOnLine pair(other, options(false));
    pair.ui.answers.push_back(MessageAnswer::Cancel);
    EXPECT_EQ(runWriteTransfer(pair.link, pair.ui, image), 1);
    EXPECT_EQ(pair.ui.messageTexts(), std::vector<std::string>{idText(10026007)});
    EXPECT_EQ(pair.radio.memory(), other);
    EXPECT_EQ(pair.radio.stats().blocksWritten, 0);
    EXPECT_FALSE(pair.link.IsOpen());
  }
}

TEST_F(WriteTransfer, ARadioThatStopsAnsweringFailsAtOnceWithTheCommunicationError) {
  Faults faults;
  faults.silentAfterBlocks = 40;
  RadioOnLine pair(patternImage(), options(true, faults));
  auto start = Clock::now();
  EXPECT_EQ(runWriteTransfer(pair.link, pair.ui, patternImage("P4410", 0x01, 3)), 1);
  EXPECT_LT(Clock::now() - start, milliseconds(3000 + 1000));
  // The radio took 40 blocks: the user learns that it holds part of the new data.
  EXPECT_EQ(pair.ui.messageTexts(), (std::vector<std::string>{idText(10026003), idText(10065007)}));
  EXPECT_EQ(pair.radio.stats().blocksWritten, 40);
  EXPECT_FALSE(pair.link.IsOpen());
}

TEST_F(WriteTransfer, AFloodOfNoiseIsACommunicationErrorAndTheTailStaysUntouched) {
  Faults faults;
  faults.floodAtBlock = 50;
  faults.floodMs = 2000;
  const RadioImage memory = patternImage();
  RadioOnLine pair(memory, options(true, faults));
  auto start = Clock::now();
  EXPECT_EQ(runWriteTransfer(pair.link, pair.ui, patternImage("P4410", 0x01, 3)), 1);
  EXPECT_LT(Clock::now() - start, milliseconds(2000));
  EXPECT_EQ(pair.ui.messageTexts(), (std::vector<std::string>{idText(10026003), idText(10065007)}));
  EXPECT_TRUE(sameRange(pair.radio.memory(), memory, 0x190, 0x400));
}

TEST_F(WriteTransfer, ABlockRefusedTwiceIsWrittenOnTheThirdSend) {
  Faults faults;
  faults.refuseWriteBlock = 100;
  faults.refuseWriteTimes = 2;
  const RadioImage image = patternImage("P4410", 0x01, 9);
  RadioOnLine pair(patternImage(), options(true, faults));
  EXPECT_EQ(runWriteTransfer(pair.link, pair.ui, image), 0);
  EXPECT_TRUE(sameRange(pair.radio.memory(), image, 0, 0x3D8));
}

} // namespace
} // namespace vpr::test
