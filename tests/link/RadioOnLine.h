#pragma once
// A virtual radio on its own pseudo-terminal and a radio link whose port 1 is that terminal.
// Each test makes its own pair; the radio stops when the pair goes out of scope.

#include "link/CRadioComm.h"
#include "model/RadioImage.h"
#include "sim/VirtualRadio.h"
#include "support/FakeUserInterface.h"
#include "support/TestLanguage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace vpr::test {

// An image of the given model code ("P4410") and band byte whose other bytes follow a pattern,
// so that any misplaced or missing byte shows.
inline RadioImage patternImage(const std::string& code = "P4410", std::uint8_t band = 0x01,
                               std::uint8_t salt = 0) {
  RadioImage image{};
  for (std::size_t i = 0; i < image.size(); ++i)
    image[i] = static_cast<std::uint8_t>((i * 7 + salt) & 0xFF);
  ModelCode modelCode = {0x00, 0x00, band, 0, 0, 0, 0, 0};
  for (std::size_t i = 0; i < 5; ++i)
    modelCode[3 + i] = static_cast<std::uint8_t>(code[4 - i]);
  writeModelCode(image, modelCode);
  return image;
}

// A radio's options with its faults, starting in programming mode or not.
inline sim::VirtualRadioOptions radioOptions(sim::VirtualRadioFaults faults, bool programMode = false) {
  sim::VirtualRadioOptions options;
  options.programMode = programMode;
  options.faults = faults;
  return options;
}

// Whether two images hold the same bytes from..to-1.
inline bool sameRange(const RadioImage& a, const RadioImage& b, std::size_t from, std::size_t to) {
  return std::equal(a.begin() + static_cast<long>(from), a.begin() + static_cast<long>(to),
                    b.begin() + static_cast<long>(from));
}

struct RadioOnLine {
  explicit RadioOnLine(const RadioImage& memory, sim::VirtualRadioOptions options = {})
      : radio(memory, std::move(options)) {
    if (!radio.start()) throw std::runtime_error(radio.error());
    link.SetPortPath(1, radio.devicePath());
    link.SetPortNumber(1);
  }
  // Opens the port as the transfers do, with the time-out a fresh port has.
  void open() { ASSERT_TRUE(link.SetOpen(true)); }
  // The bytes the radio received, as text (for looking for commands).
  std::string receivedText() const {
    auto bytes = radio.received();
    return std::string(bytes.begin(), bytes.end());
  }

  sim::VirtualRadio radio;
  CRadioComm link;
  FakeUserInterface ui;
};

// Loads the language in identifier mode for each test, so messages read "ID:<number>".
class LinkTest : public ::testing::Test {
protected:
  void SetUp() override { loadLanguage(true); }
  void TearDown() override { unloadLanguage(); }
};

} // namespace vpr::test
