#pragma once
// The 1024-byte radio memory image and its layout.
//
// Everything the program edits, files, prints and sends to a radio is one plain byte array.
// All multi-byte fields are little-endian; a byte that was never programmed holds 0xFF, which is
// also the value of every byte of a cleared image. The offsets below are the only place where
// the layout is spelled out; every other part of the program names them from here.

#include <array>
#include <cstddef>
#include <cstdint>

namespace vpr {

inline constexpr std::size_t kImageSize = 1024;

// The whole radio memory.
using RadioImage = std::array<std::uint8_t, kImageSize>;

// One 16-byte channel or test-frequency record (both kinds share one layout).
inline constexpr std::size_t kRecordSize = 16;
using RecordBytes = std::array<std::uint8_t, kRecordSize>;

// A frequency code: 8 packed BCD digits in units of 10 Hz, least significant byte first.
using FrequencyCode = std::array<std::uint8_t, 4>;
inline constexpr FrequencyCode kNoFrequency = {0xFF, 0xFF, 0xFF, 0xFF};

// A tone code: 0xFFFF off, CTCSS as BCD tenths of Hz, DCS with bit 15 set (bit 14 = inverted).
using ToneCode = std::uint16_t;
inline constexpr ToneCode kToneOff = 0xFFFF;

// The 8-byte model code at 0x3D0: 0x00, 0x00, band byte, five characters of the reversed code.
inline constexpr std::size_t kModelCodeSize = 8;
using ModelCode = std::array<std::uint8_t, kModelCodeSize>;

namespace layout {

// Head: not interpreted; stays as read from the radio or file.
inline constexpr std::size_t kHead = 0x000;
inline constexpr std::size_t kHeadSize = 16;

// 16 channel records; channel n (1..16) at offset 16 * n.
inline constexpr std::size_t kChannelTable = 0x010;
inline constexpr int kChannelSlots = 16;

// 16 test-frequency records; record k (1..16) at 0x110 + 16 * (k - 1).
inline constexpr std::size_t kTestFreqTable = 0x110;
inline constexpr int kTestFreqCount = 16;

// Channel map: byte i holds a channel number (i + 1 in a new image); no view edits it.
inline constexpr std::size_t kChannelMap = 0x280;
inline constexpr std::size_t kChannelMapSize = 16;

// Band data written for one model only (see the default image).
inline constexpr std::size_t kBandEdgeBlock = 0x3B0;
inline constexpr std::size_t kBandEdgeBlockSize = 7;

// Radio-wide option bytes.
inline constexpr std::size_t kFeatureFlags = 0x3C0;
inline constexpr std::uint8_t kBeepToneBit = 0x01;     // bit 0: beep tone on
inline constexpr std::uint8_t kBatterySaverBit = 0x02; // bit 1: battery saver on
inline constexpr std::uint8_t kNewImageFlagBit = 0x04; // bit 2: set in a new image, never edited
inline constexpr std::size_t kSquelchLevel = 0x3C1;    // 0..9
inline constexpr std::size_t kMoniKey = 0x3C2;         // 0..3
inline constexpr std::size_t kTimeOutTimer = 0x3C3;    // units of 30 s, 0 = off, 1..10

inline constexpr std::size_t kModelCode = 0x3D0;

// Radio adjustment values (written by the test mode) and the six bytes after them.
inline constexpr std::size_t kAdjustTable = 0x3F0;
inline constexpr std::size_t kAdjustTableSize = 10;
inline constexpr int kAdjustItemCount = 9;
// Image offset of adjustment item 0..8 (offset 0x3F6 is not used).
inline constexpr std::array<std::size_t, kAdjustItemCount> kAdjustItemOffsets = {
    0x3F7, 0x3F3, 0x3F1, 0x3F2, 0x3F4, 0x3F5, 0x3F8, 0x3F9, 0x3F0};
// The block the test mode loads from the radio when it starts: 0x3F0..0x3FF.
inline constexpr std::size_t kTestModeBlock = 0x3F0;
inline constexpr std::size_t kTestModeBlockSize = 16;

// The radio moves the image in 8-byte blocks: 128 blocks (0x000..0x3FF) are read,
// 123 blocks (0x000..0x3D7) are written. 0x3D8..0x3FF never go to a radio in a normal write.
inline constexpr std::size_t kBlockSize = 8;
inline constexpr std::size_t kReadBlockCount = kImageSize / kBlockSize;
inline constexpr std::size_t kWriteRegionBegin = 0x000;
inline constexpr std::size_t kWriteRegionEnd = 0x3D8; // one past the last byte written
inline constexpr std::size_t kWriteRegionSize = kWriteRegionEnd - kWriteRegionBegin;
inline constexpr std::size_t kWriteBlockCount = kWriteRegionSize / kBlockSize;

// Fields inside a record (offsets from the start of the record).
inline constexpr std::size_t kRxFreq = 0;      // 4 bytes; 0xFFFFFFFF = record empty
inline constexpr std::size_t kTxFreq = 4;      // 4 bytes; 0xFFFFFFFF = no transmit frequency
inline constexpr std::size_t kRxTone = 8;      // 2 bytes (channels only)
inline constexpr std::size_t kTxTone = 10;     // 2 bytes (channels only)
inline constexpr std::size_t kChFlags = 12;    // bit 0 option A, bit 1 option B, bit 2 narrow
inline constexpr std::size_t kRxStepCode = 13; // 0 = 5 kHz raster, 1 = 6.25 kHz raster
inline constexpr std::size_t kTxStepCode = 14; // as above; 0xFF without transmit frequency
inline constexpr std::uint8_t kOptionABit = 0x01;
inline constexpr std::uint8_t kOptionBBit = 0x02;
inline constexpr std::uint8_t kNarrowBit = 0x04;

// Offset of channel n (1..16).
constexpr std::size_t channelOffset(int n) {
  return kChannelTable + kRecordSize * static_cast<std::size_t>(n - 1);
}
// Offset of test frequency k (1..16).
constexpr std::size_t testFreqOffset(int k) {
  return kTestFreqTable + kRecordSize * static_cast<std::size_t>(k - 1);
}

static_assert(channelOffset(1) == 0x010 && channelOffset(16) == 0x100);
static_assert(testFreqOffset(16) == 0x200);
static_assert(kWriteRegionSize == 984 && kWriteBlockCount == 123 && kReadBlockCount == 128);

} // namespace layout

// An image of 1024 bytes 0xFF.
constexpr RadioImage clearedImage() {
  RadioImage image{};
  image.fill(0xFF);
  return image;
}

// The model code stored in an image.
inline ModelCode modelCodeOf(const RadioImage& image) {
  ModelCode code{};
  for (std::size_t i = 0; i < kModelCodeSize; ++i)
    code[i] = image[layout::kModelCode + i];
  return code;
}

// Writes all 8 bytes of the model code into the image.
inline void writeModelCode(RadioImage& image, const ModelCode& code) {
  for (std::size_t i = 0; i < kModelCodeSize; ++i)
    image[layout::kModelCode + i] = code[i];
}

} // namespace vpr
