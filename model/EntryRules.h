#pragma once
// The checks a value from a configuration or channel-list file passes before it is stored: the
// same rules the editing views apply to typed text, made strict where a view would quietly change
// what was typed (a file is not watched while it is read, so a value that a view would move to the
// band edge or clamp is refused with the reason instead).
//
// Also the texts such files use for values that the views show as words: tones ("off", "88.5",
// "D023N", "D023I") and on/off switches. Numbers always use "."; callers hold a
// DecimalSeparatorScope while they work. Nothing here changes an image.

#include "model/ValueCodec.h"

#include <optional>
#include <string>
#include <string_view>

namespace vpr {

class EntryRules {
public:
  // The word files use for a tone that is off.
  static constexpr const char* kToneOffWord = "off";

  // Nothing when the text is a frequency in MHz ("145.125") inside the band limits; otherwise the
  // reason (a text from the language file).
  static std::optional<std::string> frequencyProblem(std::string_view text, const BandLimits& limits);

  // Nothing when the text is "off" (or empty), a CTCSS tone 67.0..250.3 with at most one decimal,
  // or a DCS code "D" + three octal digits + "N" or "I"; otherwise the reason.
  static std::optional<std::string> toneProblem(std::string_view text);
  // A tone code as files write it: "off", "88.5", "D023N".
  static std::string toneText(ToneCode code);
  // A checked tone text as the tone entry of the views takes it ("off" becomes the empty text).
  static std::string toneEntryText(std::string_view text);

  // Option switches as the views show them: bit 0 is "on", bit 1 is "off".
  static std::string optionText(int bit) { return bit ? "off" : "on"; }
  // Beep tone and battery saver: bit 1 is "on", bit 0 is "off".
  static std::string featureText(int bit) { return bit ? "on" : "off"; }
  // "on" or "off" (any case) as 1 and 0; nothing for any other text.
  static std::optional<int> switchValue(std::string_view text);

  // The text is a whole number of decimal digits only, at most nine; nothing otherwise.
  static std::optional<int> wholeNumber(std::string_view text);
  // Whether the texts are equal ignoring the case of ASCII letters.
  static bool sameWord(std::string_view a, std::string_view b);
};

} // namespace vpr
