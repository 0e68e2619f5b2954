// The virtual radio itself: what it answers in which mode, and how fast a paced line can be.

#include "RadioOnLine.h"

#include <chrono>

namespace vpr::test {
namespace {

using Clock = std::chrono::steady_clock;

using VirtualRadio = LinkTest;

TEST_F(VirtualRadio, OutsideProgrammingModeItAnswersNothingButProgram) {
  RadioOnLine pair(patternImage());
  pair.open();
  pair.link.SetReadTimeout(100);
  CRadioComm::Identity identity{};
  EXPECT_NE(pair.link.Identify(identity), 0);
  std::uint8_t block[8] = {};
  EXPECT_NE(pair.link.ReadBlock(block, 0, 8), 0);
  EXPECT_FALSE(pair.radio.inProgramMode());
  EXPECT_EQ(pair.link.EnterProgramMode(pair.ui), 0);
  EXPECT_EQ(pair.link.Identify(identity), 0);
}

TEST_F(VirtualRadio, ItRefusesBlocksOutsideItsMemory) {
  sim::VirtualRadioOptions options;
  options.programMode = true;
  RadioOnLine pair(patternImage(), options);
  pair.open();
  pair.link.SetReadTimeout(100);
  const std::uint8_t data[8] = {};
  EXPECT_EQ(pair.link.WriteBlock(data, 0x3FC, 8), 1);
  std::uint8_t block[8] = {};
  EXPECT_NE(pair.link.ReadBlock(block, 0x3FC, 8), 0);
  EXPECT_EQ(pair.radio.memory(), patternImage());
}

// The radio's record of its adjustment mode is what the test-mode checks rely on: a value is
// counted as outside an adjustment unless an entry (mode keys, then an item key) came before it
// and no leave (the mode keys alone) since; K 0x11 there selects an item, not the transmitter.
TEST_F(VirtualRadio, ItKnowsWhenAnAdjustmentIsOpenAndCountsValuesOutsideOne) {
  sim::VirtualRadioOptions options;
  options.programMode = true;
  RadioOnLine pair(patternImage(), options);
  pair.open();
  auto state = [&pair] { return pair.radio.testState(); };
  ASSERT_EQ(pair.link.SetAdjustValue('P', 10, 1), 0);
  EXPECT_EQ(state().valuesOutsideAdjustment, 1);
  ASSERT_EQ(pair.link.EnterAdjustMode(0x11, false, 1), 0);
  EXPECT_TRUE(state().adjusting);
  EXPECT_FALSE(state().transmitting) << "K 0x11 selected the item";
  ASSERT_EQ(pair.link.SetAdjustValue('P', 11, 1), 0);
  EXPECT_EQ(state().valuesOutsideAdjustment, 1);
  ASSERT_EQ(pair.link.LeaveAdjustMode(), 0);
  EXPECT_FALSE(state().adjusting);
  ASSERT_EQ(pair.link.SetAdjustValue('P', 12, 1), 0);
  EXPECT_EQ(state().valuesOutsideAdjustment, 2);
  ASSERT_EQ(pair.link.SetTransmit(true), 0);
  EXPECT_TRUE(state().transmitting);
}

TEST_F(VirtualRadio, APacedRadioIsNeverFasterThanTheLine) {
  sim::VirtualRadioOptions options;
  options.programMode = true;
  options.paced = true;
  RadioOnLine pair(patternImage(), options);
  pair.open();
  std::uint8_t block[8] = {};
  const auto start = Clock::now();
  for (int k = 0; k < 4; ++k)
    ASSERT_EQ(pair.link.ReadBlock(block, static_cast<std::uint16_t>(8 * k), 8), 0);
  const auto elapsed = Clock::now() - start;
  // A block read puts 18 bytes on the line and waits for two answers.
  const auto floor = 4 * (18 * pair.radio.byteTime() + 2 * options.turnaround);
  EXPECT_GE(elapsed, floor);
  EXPECT_EQ(pair.radio.stats().bytesReceived + pair.radio.stats().bytesSent, 4u * 18u);
}

} // namespace
} // namespace vpr::test
