#pragma once
// Checks of encoded values that tests and fuzz targets assert on every image they produce:
// frequencies in packed BCD, tones as off, CTCSS 67.0..250.3 Hz or DCS with octal digits.
#include "model/RadioImage.h"
#include "model/ValueCodec.h"

#include <cstdint>

namespace vpr::test {

// True when every nibble of the code is a decimal digit.
inline bool isBcd(const FrequencyCode& code) {
  for (std::uint8_t byte : code)
    if ((byte >> 4) > 9 || (byte & 0x0F) > 9) return false;
  return true;
}

// The frequency of a BCD code in Hz.
inline std::uint64_t hertzOf(const FrequencyCode& code) {
  std::uint64_t units = 0;
  for (int byte = 3; byte >= 0; --byte)
    units = units * 100 + (code[byte] >> 4) * 10 + (code[byte] & 0x0F);
  return units * 10;
}

// True for off, a CTCSS code 67.0..250.3 in BCD, or a DCS code with three octal digits.
inline bool isValidTone(ToneCode code) {
  if (code == kToneOff) return true;
  if (code & 0x8000) {
    if (code & 0x3000) return false;
    for (int shift : {0, 4, 8})
      if ((code >> shift & 0x0F) > 7) return false;
    return true;
  }
  if (code & 0x4000) return false;
  for (int shift : {0, 4, 8})
    if ((code >> shift & 0x0F) > 9) return false;
  const int tenths = (code >> 12) * 1000 + (code >> 8 & 0x0F) * 100 + (code >> 4 & 0x0F) * 10 + (code & 0x0F);
  return tenths >= 670 && tenths <= 2503;
}

} // namespace vpr::test
