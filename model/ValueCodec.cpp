#include "model/ValueCodec.h"

#include "lang/CLanguageTable.h"
#include "model/NumberText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace vpr {

namespace {

constexpr std::uint64_t kRaster5kHz = 5000;
constexpr std::uint64_t kRaster6250Hz = 6250;
// Eight BCD digits of 10 Hz: everything below 1000 MHz.
constexpr double kEncodableLimitMHz = 1000.0;
constexpr std::uint64_t kEncodableLimitHz = 1000000000;
// On both rasters, frequencies below 300 MHz take the 5 kHz step, the others 6.25 kHz.
constexpr std::uint64_t kStepBoundaryHz = 300000000;

// The plausibility windows of the band check, in MHz.
constexpr double kVhfWindowLow = 100.0;
constexpr double kVhfWindowHigh = 280.0;
constexpr double kUhfWindowLow = 327.0;
constexpr double kUhfWindowHigh = 550.0;

constexpr int kCtcssMin = 670;  // tenths of Hz
constexpr int kCtcssMax = 2503; // tenths of Hz

// The 38 CTCSS tones in tenths of Hz.
constexpr std::array<int, 38> kCtcssTones = {670,  719,  744,  770,  797,  825,  854,  885,  915,  948,
                                             974,  1000, 1035, 1072, 1109, 1148, 1188, 1230, 1273, 1318,
                                             1365, 1413, 1462, 1514, 1567, 1622, 1679, 1738, 1799, 1862,
                                             1928, 2035, 2107, 2181, 2257, 2336, 2418, 2503};

// The 83 DCS codes, three octal digits each written as hex nibbles.
constexpr std::array<std::uint16_t, 83> kDcsCodes = {
    0x023, 0x025, 0x026, 0x031, 0x032, 0x043, 0x047, 0x051, 0x054, 0x065, 0x071, 0x072, 0x073, 0x074,
    0x114, 0x115, 0x116, 0x125, 0x131, 0x132, 0x134, 0x143, 0x152, 0x155, 0x156, 0x162, 0x165, 0x172,
    0x174, 0x205, 0x223, 0x226, 0x243, 0x244, 0x245, 0x251, 0x261, 0x263, 0x265, 0x271, 0x306, 0x311,
    0x315, 0x331, 0x343, 0x346, 0x351, 0x364, 0x365, 0x371, 0x411, 0x412, 0x413, 0x423, 0x431, 0x432,
    0x445, 0x464, 0x465, 0x466, 0x503, 0x506, 0x516, 0x532, 0x546, 0x565, 0x606, 0x612, 0x624, 0x627,
    0x631, 0x632, 0x654, 0x662, 0x664, 0x703, 0x712, 0x723, 0x731, 0x732, 0x734, 0x743, 0x754};

constexpr int kFirstCtcssIndex = 1;
constexpr int kFirstDcsIndex = kFirstCtcssIndex + static_cast<int>(kCtcssTones.size());
constexpr int kFirstInvertedIndex = kFirstDcsIndex + static_cast<int>(kDcsCodes.size());
static_assert(kFirstInvertedIndex + static_cast<int>(kDcsCodes.size()) == kToneListSize);

constexpr ToneCode kDcsFlag = 0x8000;
constexpr ToneCode kDcsInvertedFlag = 0x4000;

// Tenths of Hz as text with one decimal: 670 → "67.0".
std::string tenthsText(int tenths) {
  std::string text = std::to_string(tenths / 10);
  text += NumberText::decimalSeparator();
  text += static_cast<char>('0' + tenths % 10);
  return text;
}

ToneCode ctcssCode(int tenths) {
  return static_cast<ToneCode>((tenths / 1000) << 12 | (tenths / 100 % 10) << 8 | (tenths / 10 % 10) << 4 |
                               tenths % 10);
}

} // namespace

std::string formatFrequency(const FrequencyCode& code) {
  if (code == kNoFrequency) return {};
  std::string digits;
  for (int byte = 3; byte >= 0; --byte) {
    digits += static_cast<char>('0' + (code[byte] >> 4));
    digits += static_cast<char>('0' + (code[byte] & 0x0F));
  }
  std::string text = digits.substr(0, 3) + NumberText::decimalSeparator() + digits.substr(3);
  if (text.front() == '0') text.erase(0, text.find_first_not_of('0'));
  return text;
}

std::optional<EncodedFrequency> encodeFrequency(std::string_view text) {
  const std::optional<double> parsed = NumberText::parseNumber(text);
  if (!parsed) return std::nullopt;
  const double x = *parsed;
  if (!(x > 0.0) || x >= kEncodableLimitMHz) return std::nullopt;

  auto hz = static_cast<std::uint64_t>(x * 1000000.0 + 0.5);
  const bool on5k = hz % kRaster5kHz == 0;
  const bool on6250 = hz % kRaster6250Hz == 0;
  EncodedFrequency result;
  if (on5k && !on6250) {
    result.stepCode = kStep5kHz;
  } else if (on6250 && !on5k) {
    result.stepCode = kStep6250Hz;
  } else {
    // Decided on the rounded value, so that a text and the text it formats to (299.9999999999
    // and 300.00000) get the same step.
    result.stepCode = hz < kStepBoundaryHz ? kStep5kHz : kStep6250Hz;
    const std::uint64_t raster = result.stepCode == kStep5kHz ? kRaster5kHz : kRaster6250Hz;
    hz -= hz % raster;
  }
  // A value that comes out as 0 Hz (1e-20, or 0.003 rounded down) is 0, which is no frequency;
  // one that rounds up to 1000 MHz (999.9999999) has no eight digits and would wrap to 0.
  if (hz == 0 || hz >= kEncodableLimitHz) return std::nullopt;

  std::uint64_t units = hz / 10;
  for (std::size_t byte = 0; byte < result.code.size(); ++byte) {
    const auto low = static_cast<std::uint8_t>(units % 10);
    units /= 10;
    const auto high = static_cast<std::uint8_t>(units % 10);
    units /= 10;
    result.code[byte] = static_cast<std::uint8_t>(high << 4 | low);
  }
  return result;
}

bool checkFrequencyText(std::string& text, const BandLimits& limits) {
  if (text.empty()) return true;
  // A kind that is neither VHF nor UHF (an unlisted model) takes the window of its limits.
  const bool uhf = limits.kind == kBandUhf || (limits.kind != kBandVhf && limits.lower >= 300.0);
  const double windowLow = uhf ? kUhfWindowLow : kVhfWindowLow;
  const double windowHigh = uhf ? kUhfWindowHigh : kVhfWindowHigh;

  const std::optional<double> parsed = NumberText::parseNumber(text);
  if (!parsed) return false;
  double x = *parsed;
  bool inBand = false;
  if (x > windowHigh) {
    x = limits.upper;
  } else if (x < windowLow) {
    x = limits.lower;
  } else {
    inBand = limits.lower <= x && x <= limits.upper;
  }
  text = NumberText::formatFixed(x, 6);
  return inBand;
}

std::string formatTone(ToneCode code) {
  if (code == kToneOff) return textOf(kTextToneOff);
  if (code & kDcsFlag) {
    std::string text = "D";
    text += static_cast<char>('0' + (code >> 8 & 0x0F));
    text += static_cast<char>('0' + (code >> 4 & 0x0F));
    text += static_cast<char>('0' + (code & 0x0F));
    text += (code & kDcsInvertedFlag) ? 'I' : 'N';
    return text;
  }
  const int tenths =
      (code >> 12 & 0x03) * 1000 + (code >> 8 & 0x0F) * 100 + (code >> 4 & 0x0F) * 10 + (code & 0x0F);
  return tenthsText(tenths);
}

bool normalizeToneText(std::string& text) {
  if (text.empty()) return true;
  if (text.front() == 'D') {
    // A short code is completed as if its missing characters were below "0".
    text.resize(5, '\0');
    for (std::size_t i = 1; i <= 3; ++i)
      text[i] = std::clamp(text[i], '0', '7');
    if (text[4] != 'I') text[4] = 'N';
    return true;
  }
  const std::optional<double> x = NumberText::parseNumber(text);
  if (!x) return false;
  const double tenths = std::clamp(std::trunc(*x * 10.0), double{kCtcssMin}, double{kCtcssMax});
  text = tenthsText(static_cast<int>(tenths));
  return true;
}

std::optional<ToneCode> parseTone(std::string_view text) {
  if (text == textOf(kTextToneOff)) return kToneOff;
  std::string normal(text);
  if (!normalizeToneText(normal)) return std::nullopt;
  if (normal.empty()) return kToneOff;
  if (normal.front() == 'D') {
    ToneCode code = kDcsFlag | (normal[1] & 0x0F) << 8 | (normal[2] & 0x0F) << 4 | (normal[3] & 0x0F);
    if (normal[4] == 'I') code |= kDcsInvertedFlag;
    return code;
  }
  const double x = NumberText::parseNumber(normal).value_or(0.0);
  return ctcssCode(static_cast<int>(x * 10.0 + 0.5));
}

std::string toneListText(int index) {
  if (index < 0 || index >= kToneListSize) return {};
  return formatTone(toneListCode(index));
}

ToneCode toneListCode(int index) {
  if (index >= kFirstCtcssIndex && index < kFirstDcsIndex)
    return ctcssCode(kCtcssTones[index - kFirstCtcssIndex]);
  if (index >= kFirstDcsIndex && index < kFirstInvertedIndex)
    return kDcsFlag | kDcsCodes[index - kFirstDcsIndex];
  if (index >= kFirstInvertedIndex && index < kToneListSize)
    return kDcsFlag | kDcsInvertedFlag | kDcsCodes[index - kFirstInvertedIndex];
  return kToneOff;
}

int clampToStep(std::string& text, int maximum, int minimum, int step) {
  const int value = NumberText::parseLeadingInteger(text);
  if (maximum < minimum) return value;
  int result = std::clamp(value, minimum, maximum);
  if (step > 0) {
    // The multiple of step at or below the value; when that leaves the range, the lowest
    // multiple inside it; a range without a multiple keeps the clamped value.
    const auto floorMultiple = [step](long long v) {
      return (v >= 0 ? v / step : -((-v + step - 1) / step)) * step;
    };
    long long multiple = floorMultiple(result);
    if (multiple < minimum) multiple = floorMultiple(minimum) + (floorMultiple(minimum) < minimum ? step : 0);
    if (multiple <= maximum) result = static_cast<int>(multiple);
  }
  text = std::to_string(result);
  return result;
}

int stepValue(int value, int maximum, int minimum, int step, int direction) {
  const auto saturate = [](long long v) {
    return static_cast<int>(
        std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
  };
  if (direction > 0)
    return minimum <= value && value < maximum ? saturate(static_cast<long long>(value) + step) : minimum;
  if (direction < 0)
    return minimum < value && value <= maximum ? saturate(static_cast<long long>(value) - step) : maximum;
  return value;
}

std::optional<int> lookupText(int value, std::span<const ChoiceEntry> choices) {
  for (const ChoiceEntry& entry : choices)
    if (entry.value == value) return entry.textId;
  return std::nullopt;
}

void replaceByte(std::span<std::uint8_t> buffer, int length, std::uint8_t find, std::uint8_t put) {
  const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(length & 0xFF), buffer.size());
  std::replace(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(count), find, put);
}

namespace choices {
std::span<const ChoiceEntry> narrowChoices(int spacingRestriction) {
  if (spacingRestriction == 1) return kNarrowWideOnly;
  if (spacingRestriction == 2) return kNarrowNarrowOnly;
  return kNarrowBoth;
}
} // namespace choices

} // namespace vpr
