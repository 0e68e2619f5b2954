#pragma once
// A copy of one 16-byte record of the image, with named access to its fields.
//
// Channel records and test-frequency records share one layout; a test-frequency record leaves
// its tone fields and option bits unused. A record is programmed when its receive frequency is
// set, and has transmit when its transmit frequency is set; all other bytes do not matter for
// these two questions.

#include "model/RadioImage.h"

#include <cstdint>

namespace vpr {

struct ChannelRecord {
  RecordBytes bytes{};

  // A record of sixteen 0xFF bytes.
  static ChannelRecord empty() {
    ChannelRecord record;
    record.bytes.fill(0xFF);
    return record;
  }
  // The record stored at the given image offset.
  static ChannelRecord at(const RadioImage& image, std::size_t offset) {
    ChannelRecord record;
    for (std::size_t i = 0; i < kRecordSize; ++i)
      record.bytes[i] = image[offset + i];
    return record;
  }

  FrequencyCode rxFreq() const { return frequencyAt(layout::kRxFreq); }
  FrequencyCode txFreq() const { return frequencyAt(layout::kTxFreq); }
  bool isProgrammed() const { return rxFreq() != kNoFrequency; }
  bool hasTransmit() const { return txFreq() != kNoFrequency; }

  ToneCode rxTone() const { return toneAt(layout::kRxTone); }
  ToneCode txTone() const { return toneAt(layout::kTxTone); }

  std::uint8_t flags() const { return bytes[layout::kChFlags]; }
  int optionA() const { return flags() & layout::kOptionABit ? 1 : 0; }
  int optionB() const { return flags() & layout::kOptionBBit ? 1 : 0; }
  int narrowBit() const { return flags() & layout::kNarrowBit ? 1 : 0; }

  std::uint8_t rxStepCode() const { return bytes[layout::kRxStepCode]; }
  std::uint8_t txStepCode() const { return bytes[layout::kTxStepCode]; }

  bool operator==(const ChannelRecord&) const = default;

private:
  FrequencyCode frequencyAt(std::size_t offset) const {
    return {bytes[offset], bytes[offset + 1], bytes[offset + 2], bytes[offset + 3]};
  }
  ToneCode toneAt(std::size_t offset) const {
    return static_cast<ToneCode>(bytes[offset] | (bytes[offset + 1] << 8));
  }
};

// Test-frequency records have the channel layout.
using TestFreqRecord = ChannelRecord;

} // namespace vpr
