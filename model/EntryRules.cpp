#include "model/EntryRules.h"

#include "lang/CLanguageTable.h"
#include "lang/TextFormat.h"
#include "model/NumberText.h"

#include <algorithm>
#include <cctype>

namespace vpr {

namespace {

constexpr int kTextNotFrequency = 10066015;
constexpr int kTextOutOfBand = 10066016;
constexpr int kTextUnknownTone = 10066017;

constexpr int kCtcssLowestTenths = 670;
constexpr int kCtcssHighestTenths = 2503;

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// Digits, optionally "." and more digits; at least one digit before the point.
bool isDecimal(std::string_view text, std::size_t maxDecimals) {
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  if (whole.empty() || !std::all_of(whole.begin(), whole.end(), isDigit)) return false;
  if (point == std::string_view::npos) return true;
  const std::string_view fraction = text.substr(point + 1);
  return !fraction.empty() && fraction.size() <= maxDecimals &&
         std::all_of(fraction.begin(), fraction.end(), isDigit);
}

} // namespace

std::optional<std::string> EntryRules::frequencyProblem(std::string_view text, const BandLimits& limits) {
  // More decimals than the 10 Hz of the image would be rounded away unseen.
  if (!isDecimal(text, 6)) return formatText(textOf(kTextNotFrequency), {text});
  std::string checked(text);
  if (!checkFrequencyText(checked, limits) || !encodeFrequency(checked))
    return formatText(textOf(kTextOutOfBand), {text, NumberText::formatFixed(limits.lower, 3),
                                               NumberText::formatFixed(limits.upper, 3)});
  return std::nullopt;
}

std::optional<std::string> EntryRules::toneProblem(std::string_view text) {
  if (text.empty() || sameWord(text, kToneOffWord)) return std::nullopt;
  const auto isOctal = [](char c) { return c >= '0' && c <= '7'; };
  if (text.size() == 5 && text[0] == 'D' && std::all_of(text.begin() + 1, text.begin() + 4, isOctal) &&
      (text[4] == 'N' || text[4] == 'I'))
    return std::nullopt;
  if (isDecimal(text, 1) && text.find('.') <= 3) {
    const std::optional<double> value = NumberText::parseNumber(text);
    const int tenths = value ? static_cast<int>(*value * 10 + 0.5) : 0;
    if (tenths >= kCtcssLowestTenths && tenths <= kCtcssHighestTenths) return std::nullopt;
  }
  return formatText(textOf(kTextUnknownTone), {text});
}

std::string EntryRules::toneText(ToneCode code) {
  return code == kToneOff ? std::string(kToneOffWord) : formatTone(code);
}

std::string EntryRules::toneEntryText(std::string_view text) {
  if (text.empty() || sameWord(text, kToneOffWord)) return {};
  std::string entry(text);
  normalizeToneText(entry);
  return entry;
}

std::optional<int> EntryRules::switchValue(std::string_view text) {
  if (sameWord(text, "on")) return 1;
  if (sameWord(text, "off")) return 0;
  return std::nullopt;
}

std::optional<int> EntryRules::wholeNumber(std::string_view text) {
  if (text.empty() || text.size() > 9 || !std::all_of(text.begin(), text.end(), isDigit)) return std::nullopt;
  int value = 0;
  for (const char c : text)
    value = value * 10 + (c - '0');
  return value;
}

bool EntryRules::sameWord(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

} // namespace vpr
