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

using ReadTransfer = LinkTest;

TEST_F(ReadTransfer, ARadioInProgrammingModeIsReadWholeWithoutProgramRequest) {
  const RadioImage memory = patternImage();
  RadioOnLine pair(memory, radioOptions({}, true));
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
  RadioOnLine pair(memory, radioOptions(faults));
  RadioImage transfer = clearedImage();
  EXPECT_EQ(runReadTransfer(pair.link, pair.ui, transfer), 0);
  EXPECT_EQ(transfer, memory);
  EXPECT_EQ(pair.radio.stats().programRequests, 1);
  EXPECT_EQ(pair.radio.stats().blocksRead, 128);
  EXPECT_EQ(pair.link.ReadTimeout(), 550);
  EXPECT_TRUE(pair.ui.messages.empty());
}

TEST_F(ReadTransfer, ProgressCountsTheBlocksBehindTheBlockLabel) {
  RadioOnLine pair(patternImage(), radioOptions({}, true));
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

TEST_F(ReadTransfer, ASilentRadioAPulledCableOrAFloodOfNoiseMidReadFailSoonAndLeaveTheImageUntouched) {
  struct Case {
    const char* what;
    Faults faults;
    milliseconds within; // a fault is an error, never a hang
  };
  Faults silent;
  silent.silentAfterBlocks = 60;
  Faults pulled;
  pulled.hangUpAfterBlocks = 30;
  Faults flood;
  flood.floodAtBlock = 20;
  flood.floodMs = 2000;
  // A silent radio: three attempts of one header wait at most, still at the opening 1000 ms.
  const Case cases[] = {{"silent", silent, milliseconds(3 * 1000 + 1500)},
                        {"cable pulled", pulled, milliseconds(1500)},
                        {"flood of noise", flood, milliseconds(2000)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RadioOnLine pair(patternImage(), radioOptions(c.faults, true));
    const RadioImage before = patternImage("P4450", 0x01, 99);
    RadioImage transfer = before;
    const auto start = Clock::now();
    EXPECT_EQ(runReadTransfer(pair.link, pair.ui, transfer), 1);
    EXPECT_LT(Clock::now() - start, c.within);
    EXPECT_EQ(transfer, before);
    EXPECT_EQ(pair.ui.messageTexts(), std::vector<std::string>{idText(10026003)});
    EXPECT_FALSE(pair.link.IsOpen());
  }
}

TEST_F(ReadTransfer, NoiseWrongLengthsAndCutAnswersAreRetriedAway) {
  const RadioImage memory = patternImage();
  Faults faults;
  faults.noiseBeforeBlock = 3;
  faults.noiseBytes = 50;
  faults.wrongLengthBlock = 7;
  faults.truncateBlock = 9;
  RadioOnLine pair(memory, radioOptions(faults, true));
  RadioImage transfer = clearedImage();
  EXPECT_EQ(runReadTransfer(pair.link, pair.ui, transfer), 0);
  EXPECT_EQ(transfer, memory);
  EXPECT_TRUE(pair.ui.messages.empty());
}

TEST_F(ReadTransfer, AnUnprogrammedRadioIsRefused) {
  RadioOnLine pair(clearedImage(), radioOptions({}));
  RadioImage transfer = patternImage();
  EXPECT_EQ(runReadTransfer(pair.link, pair.ui, transfer), 1);
  EXPECT_EQ(transfer, patternImage());
  EXPECT_EQ(pair.ui.messageTexts(), std::vector<std::string>{idText(10026004)});
  EXPECT_FALSE(pair.link.IsOpen());
}

TEST_F(ReadTransfer, OnlyACompleteReadBecomesTheWorkingImage) {
  RadioData data;
  data.resetToModel(modelCodeOf(patternImage("P4450", 0x01)));
  const RadioImage working = data.editImage;
  const RadioImage landing = data.transferImage;
  {
    Faults faults;
    faults.hangUpAfterBlocks = 127; // the very last block never arrives
    RadioOnLine pair(patternImage(), radioOptions(faults, true));
    if (runReadTransfer(pair.link, pair.ui, data.transferImage) == 0) data.adoptTransferImage();
    EXPECT_EQ(data.editImage, working);
    EXPECT_EQ(data.transferImage, landing);
  }
  RadioOnLine pair(patternImage(), radioOptions({}, true));
  ASSERT_EQ(runReadTransfer(pair.link, pair.ui, data.transferImage), 0);
  data.adoptTransferImage();
  EXPECT_EQ(data.editImage, patternImage());
}

using Identification = LinkTest;

TEST_F(Identification, AnUnprogrammedRadioInNormalModeIsIdentifiedAfterProgramRequest) {
  RadioOnLine pair(clearedImage(), radioOptions({}));
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
  RadioOnLine pair(patternImage(), radioOptions(faults, true));
  ModelCode code{};
  EXPECT_EQ(runIdentifyRadio(pair.link, pair.ui, code), 1);
  EXPECT_EQ(pair.ui.messageTexts(), std::vector<std::string>{idText(10026003)});
  EXPECT_FALSE(pair.link.IsOpen());
}

using WriteTransfer = LinkTest;

TEST_F(WriteTransfer, AWriteSends123BlocksAndNeverTouchesTheLastFortyBytes) {
  const RadioImage memory = patternImage("P4410", 0x01, 1);
  const RadioImage image = patternImage("P4410", 0x01, 77);
  RadioOnLine pair(memory, radioOptions({}));
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
  RadioOnLine pair(patternImage(), radioOptions({}, true));
  EXPECT_EQ(runWriteTransfer(pair.link, pair.ui, image), 0);
  EXPECT_EQ(pair.radio.stats().programRequests, 0);
  EXPECT_TRUE(sameRange(pair.radio.memory(), image, 0, 0x3D8));
}

TEST_F(WriteTransfer, AnotherModelIsWrittenOnOkAndLeftAloneOnCancel) {
  const RadioImage image = patternImage("P4410", 0x01, 5);
  const RadioImage other = patternImage("P4470", 0x01);
  {
    RadioOnLine pair(other, radioOptions({}));
    pair.ui.answers.push_back(MessageAnswer::Ok);
    EXPECT_EQ(runWriteTransfer(pair.link, pair.ui, image), 0);
    EXPECT_EQ(pair.ui.messageTexts(), std::vector<std::string>{idText(10026007)});
    EXPECT_TRUE(sameRange(pair.radio.memory(), image, 0, 0x3D8));
  }
  {
    RadioOnLine pair(other, radioOptions({}));
    pair.ui.answers.push_back(MessageAnswer::Cancel);
    EXPECT_EQ(runWriteTransfer(pair.link, pair.ui, image), 1);
    EXPECT_EQ(pair.ui.messageTexts(), std::vector<std::string>{idText(10026007)});
    EXPECT_EQ(pair.radio.memory(), other);
    EXPECT_EQ(pair.radio.stats().blocksWritten, 0);
    EXPECT_FALSE(pair.link.IsOpen());
  }
}

TEST_F(WriteTransfer, ASilentRadioOrAFloodOfNoiseMidWriteFailSoonSayingThatPartOfTheDataArrived) {
  struct Case {
    const char* what;
    Faults faults;
    milliseconds within;
    int blocksTaken; // the memory behind these stays as it was
  };
  Faults silent;
  silent.silentAfterBlocks = 40;
  Faults flood;
  flood.floodAtBlock = 50;
  flood.floodMs = 2000;
  const Case cases[] = {{"silent", silent, milliseconds(3000 + 1000), 40},
                        {"flood of noise", flood, milliseconds(2000), 50}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const RadioImage memory = patternImage();
    RadioOnLine pair(memory, radioOptions(c.faults, true));
    const auto start = Clock::now();
    EXPECT_EQ(runWriteTransfer(pair.link, pair.ui, patternImage("P4410", 0x01, 3)), 1);
    EXPECT_LT(Clock::now() - start, c.within);
    EXPECT_EQ(pair.ui.messageTexts(), (std::vector<std::string>{idText(10026003), idText(10065007)}));
    EXPECT_EQ(pair.radio.stats().blocksWritten, c.blocksTaken);
    EXPECT_TRUE(sameRange(pair.radio.memory(), memory, static_cast<std::size_t>(8 * c.blocksTaken), 0x400));
    EXPECT_FALSE(pair.link.IsOpen());
  }
}

TEST_F(WriteTransfer, ABlockRefusedTwiceIsWrittenOnTheThirdSend) {
  Faults faults;
  faults.refuseWriteBlock = 100;
  faults.refuseWriteTimes = 2;
  const RadioImage image = patternImage("P4410", 0x01, 9);
  RadioOnLine pair(patternImage(), radioOptions(faults, true));
  EXPECT_EQ(runWriteTransfer(pair.link, pair.ui, image), 0);
  EXPECT_TRUE(sameRange(pair.radio.memory(), image, 0, 0x3D8));
}

} // namespace
} // namespace vpr::test
