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
