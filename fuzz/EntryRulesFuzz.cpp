// Every text entry rule on any text, with "." and "," as the decimal separator: numbers are
// read whole or refused, frequencies come out as packed BCD on their raster and round-trip
// through their text, tones are valid codes that round-trip, stepped values stay inside their
// range, and whatever is typed into any field leaves only valid codes in the image.

#include "fuzz/FuzzSupport.h"
#include "model/NumberText.h"
#include "model/RadioData.h"
#include "model/ValueCodec.h"
#include "support/CodeChecks.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace vpr;

namespace {

void checkNumber(const std::string& text) {
  const std::optional<double> value = NumberText::parseNumber(text);
  if (!value) return;
  fuzz::require(std::isfinite(*value), "a number that is not finite");
  // Either decimal point reads the same.
  std::string pointed = text;
  std::replace(pointed.begin(), pointed.end(), NumberText::decimalSeparator(), '.');
  fuzz::require(NumberText::parseNumber(pointed) == value, "'.' and the separator read differently");
}

void checkFrequency(const std::string& text, const BandLimits& limits) {
  if (const auto encoded = encodeFrequency(text)) {
    fuzz::require(test::isBcd(encoded->code), "a frequency that is not BCD");
    const std::uint64_t hz = test::hertzOf(encoded->code);
    fuzz::require(hz < 1000000000, "a frequency outside the eight digits");
    fuzz::require(hz % (encoded->stepCode == kStep5kHz ? 5000 : 6250) == 0, "a frequency off its raster");
    const auto again = encodeFrequency(formatFrequency(encoded->code));
    fuzz::require(again && *again == *encoded, "a frequency does not round-trip through its text");
  } else {
    // Only no number, one that rounds to 0 Hz (below one raster step) or one beyond 8 digits.
    const std::optional<double> value = NumberText::parseNumber(text);
    fuzz::require(!value || *value < 0.00625 || *value >= 999.99999, "a number inside the range was refused");
  }
  std::string checked = text;
  const bool inBand = checkFrequencyText(checked, limits);
  if (checked.empty()) return;
  const std::optional<double> value = NumberText::parseNumber(checked);
  if (!NumberText::parseNumber(text)) {
    fuzz::require(checked == text && !inBand, "a text that is no number was rewritten or passed");
    return;
  }
  fuzz::require(value.has_value(), "the band check wrote a text that is no number");
  if (inBand)
    fuzz::require(*value >= limits.lower - 1e-6 && *value <= limits.upper + 1e-6, "in band outside the band");
}

void checkTone(const std::string& text) {
  const std::optional<ToneCode> code = parseTone(text);
  if (!code) return;
  fuzz::require(test::isValidTone(*code), "an invalid tone code");
  fuzz::require(parseTone(formatTone(*code)) == code, "a tone does not round-trip through its text");
}

void checkSteps(const std::uint8_t* data, std::size_t size, const std::string& text) {
  if (size < 12) return;
  int bounds[3];
  std::memcpy(bounds, data, sizeof bounds);
  const int minimum = std::min(bounds[0], bounds[1]);
  const int maximum = std::max(bounds[0], bounds[1]);
  std::string typed = text;
  const int value = clampToStep(typed, maximum, minimum, bounds[2]);
  fuzz::require(value >= minimum && value <= maximum, "clampToStep left its range");
  fuzz::require(typed == std::to_string(value), "clampToStep wrote another value than it returned");
  // Stepping saturates at the limits of int: UndefinedBehaviorSanitizer catches any overflow.
  stepValue(value, maximum, minimum, bounds[2], data[0] % 3 - 1);
}

void checkEntries(const std::string& text, std::uint8_t selector) {
  static RadioData data = [] {
    RadioData fresh;
    fresh.newImage();
    return fresh;
  }();
  const int n = selector % 18;
  std::string entry = text;
  switch (selector / 18 % 6) {
  case 0:
    data.setChannelFrequency(n, entry, FrequencyField::Receive);
    break;
  case 1:
    data.setChannelFrequency(n, entry, FrequencyField::Transmit);
    break;
  case 2:
    data.setChannelTone(n, selector & 1 ? ToneField::Transmit : ToneField::Receive, text, selector & 2);
    break;
  case 3:
    data.setTestFrequency(n, entry, selector & 1 ? FrequencyField::Transmit : FrequencyField::Receive);
    break;
  case 4:
    data.commitTimeOutText(text);
    break;
  default:
    data.commitSquelchText(text);
    break;
  }
  for (int k = 1; k <= 16; ++k) {
    const ChannelRecord channel = data.channelSlot(k);
    fuzz::require(test::isBcd(channel.rxFreq()) || channel.rxFreq() == kNoFrequency,
                  "a channel frequency not BCD");
    fuzz::require(test::isBcd(channel.txFreq()) || channel.txFreq() == kNoFrequency,
                  "a channel frequency not BCD");
    fuzz::require(test::isValidTone(channel.rxTone()) && test::isValidTone(channel.txTone()),
                  "a channel tone invalid");
    const TestFreqRecord record = data.testFrequency(k);
    fuzz::require(test::isBcd(record.rxFreq()) || record.rxFreq() == kNoFrequency,
                  "a test frequency not BCD");
  }
  fuzz::require(data.timeOutTimer() <= kTimeOutMaxSeconds / kTimeOutStepSeconds, "time-out out of range");
  fuzz::require(data.squelchLevel() <= kSquelchMax, "squelch out of range");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::require(fuzz::loadShippedLanguage(), "the language file does not load");
  if (size < 1) return 0;
  NumberText::setDecimalSeparator(data[0] & 1 ? ',' : '.');
  const std::string text(reinterpret_cast<const char*>(data + 1), std::min<std::size_t>(size - 1, 64));
  const BandLimits limits =
      data[0] & 2 ? BandLimits{450.0, 470.0, kBandUhf} : BandLimits{136.0, 174.0, kBandVhf};
  checkNumber(text);
  checkFrequency(text, limits);
  checkTone(text);
  checkSteps(data + 1, size - 1, text);
  checkEntries(text, data[0] >> 1);
  return 0;
}
