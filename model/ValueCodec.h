#pragma once
// How the values of the image are encoded, and how text typed by the user becomes a value.
//
// All functions here are pure: text or numbers in, text or numbers out. Numbers are read and
// printed with the decimal separator of NumberText. Whatever text comes in, the codes that come
// out are valid: frequencies are packed BCD within 8 digits on the 5 or 6.25 kHz raster, tones
// are a CTCSS value 67.0..250.3 or a DCS code with three octal digits, or off.

#include "model/RadioImage.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vpr {

// Step codes of a frequency: the raster it lies on.
inline constexpr std::uint8_t kStep5kHz = 0;
inline constexpr std::uint8_t kStep6250Hz = 1;

// Band kinds.
inline constexpr int kBandVhf = 0;
inline constexpr int kBandUhf = 1;

// A frequency encoded for the image.
struct EncodedFrequency {
  FrequencyCode code{};
  std::uint8_t stepCode = kStep5kHz;
  bool operator==(const EncodedFrequency&) const = default;
};

// The frequency limits of the current band, used by the band check.
struct BandLimits {
  double lower = 150.0; // MHz
  double upper = 174.0; // MHz
  int kind = kBandVhf;  // 0 = VHF, 1 = UHF
};

// One entry of a choice list: the text shown and the value stored.
struct ChoiceEntry {
  int textId;
  int value;
};

// Frequency code → the eight digits with the separator after the third ("145.12500"), leading
// zeros removed ("95.00000"); empty for a code of four 0xFF bytes.
std::string formatFrequency(const FrequencyCode& code);

// Frequency text in MHz → code and step code. Nothing for an empty text, for 0 (also a value that
// rounds to 0 Hz) and for text that
// is not one finite number inside the eight BCD digits (0 < x < 1000 MHz); "." and the
// locale's separator are both read as the decimal point. A frequency on neither
// or both rasters is rounded down onto the 5 kHz raster below 300 MHz, onto 6.25 kHz above.
std::optional<EncodedFrequency> encodeFrequency(std::string_view text);

// The band check. An empty text is in band and stays empty; a text that is not one number is
// out of band and left as it is (encodeFrequency then refuses it). Otherwise a value outside the plausibility
// window of the band kind (VHF 100..280 MHz, UHF 327..550 MHz) is replaced by the nearer band limit and is
// out of band; a value inside the window is in band when it lies within the limits. The text is rewritten
// with six decimals. Returns whether the value is in band.
bool checkFrequencyText(std::string& text, const BandLimits& limits);

// Tone code → text: text 10029001 for off, "D023N"/"D754I" for DCS, "67.0" (one decimal) for CTCSS.
std::string formatTone(ToneCode code);

// Brings a typed tone text into shape: empty stays empty; a text starting with "D" becomes a
// five-character DCS code (digits clamped to 0..7, "N" unless the fifth character is "I");
// a number becomes a CTCSS value with one decimal, clamped to 67.0..250.3. Returns false and
// leaves the text alone when it is neither (a number is never cut short: "88.5Hz" is refused).
bool normalizeToneText(std::string& text);

// Tone text → code. Text 10029001 and the empty text are off; otherwise the normalised text;
// nothing for a text normalizeToneText refuses.
std::optional<ToneCode> parseTone(std::string_view text);

// The tone list: 0 off, 1..38 the CTCSS tones, 39..121 the DCS codes normal, 122..204 inverted.
inline constexpr int kToneListSize = 205;
// Entry text of the tone list; empty for an index outside 0..204.
std::string toneListText(int index);
// Entry code of the tone list; off for an index outside 0..204.
ToneCode toneListCode(int index);

// The integer at the start of the text, clamped to minimum..maximum and lowered to a multiple of
// step that stays inside the range; the text is rewritten with the result. When maximum <
// minimum the value is returned as read and the text left alone. A step of zero or less does
// not round, nor does a range that holds no multiple of the step.
int clampToStep(std::string& text, int maximum, int minimum, int step);

// Spin-button stepping with wrap-around: up from the maximum (or from outside the range) gives
// the minimum, down from the minimum gives the maximum; direction 0 keeps the value.
int stepValue(int value, int maximum, int minimum, int step, int direction);

// The text identifier of the first entry with the value; nothing when no entry has it.
std::optional<int> lookupText(int value, std::span<const ChoiceEntry> choices);

// Replaces every byte `find` by `put` in the first `length` bytes (length counted modulo 256,
// and never beyond the buffer).
void replaceByte(std::span<std::uint8_t> buffer, int length, std::uint8_t find, std::uint8_t put);

// Display tables of the encoded values, in pick-list order.
namespace choices {
inline constexpr ChoiceEntry kMoniKey[] = {{10029010, 0}, {10101501, 1}, {10101502, 2}, {10101503, 3}};
inline constexpr ChoiceEntry kBeepTone[] = {{10029011, 1}, {10029012, 0}};
inline constexpr ChoiceEntry kBatterySaver[] = {{10029013, 1}, {10029014, 0}};
inline constexpr ChoiceEntry kChannelOption[] = {{10029011, 0}, {10029012, 1}};
inline constexpr ChoiceEntry kNarrowBoth[] = {{10031050, 0}, {10031051, 1}};
inline constexpr ChoiceEntry kNarrowWideOnly[] = {{10031050, 0}};
inline constexpr ChoiceEntry kNarrowNarrowOnly[] = {{10031051, 1}};
// The wide/narrow choices a spacing restriction allows (0 both, 1 only 0, 2 only 1).
std::span<const ChoiceEntry> narrowChoices(int spacingRestriction);
} // namespace choices

// Numeric ranges of the time-out timer (in seconds) and the squelch level.
inline constexpr int kTimeOutMaxSeconds = 300;
inline constexpr int kTimeOutStepSeconds = 30;
inline constexpr int kSquelchMax = 9;

// Text identifiers of value texts.
inline constexpr int kTextToneOff = 10029001;
inline constexpr int kTextTimerOff = 10029010;

} // namespace vpr
