#include "model/NumberText.h"

#include <atomic>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace vpr {

namespace {

std::atomic<char> g_separator{'.'};

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// Skips leading blanks and one sign; returns the position after them and whether the sign was '-'.
std::size_t skipBlanksAndSign(std::string_view text, bool& negative) {
  std::size_t pos = 0;
  while (pos < text.size() && isBlank(text[pos]))
    ++pos;
  negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  return pos;
}

} // namespace

void NumberText::setDecimalSeparator(char separator) {
  const bool usable = separator != '\0' && !isDigit(separator) && !isBlank(separator) && separator != '+' &&
                      separator != '-' && separator != 'e' && separator != 'E';
  g_separator = usable ? separator : '.';
}

char NumberText::decimalSeparator() {
  return g_separator;
}

std::optional<double> NumberText::parseNumber(std::string_view text) {
  const char separator = decimalSeparator();
  bool negative = false;
  const std::size_t start = skipBlanksAndSign(text, negative);
  std::size_t stop = text.size();
  while (stop > start && isBlank(text[stop - 1]))
    --stop;
  // A number starts with a digit or a decimal point; a second sign is not part of it.
  if (start == stop || text[start] == '+' || text[start] == '-') return std::nullopt;

  // The text in the form from_chars reads: either decimal point becomes '.', and any character
  // that cannot belong to a number refuses the whole text.
  std::string digits;
  digits.reserve(stop - start);
  for (std::size_t i = start; i < stop; ++i) {
    const char c = text[i];
    if (c == separator || c == '.')
      digits += '.';
    else if (isDigit(c) || c == 'e' || c == 'E' || c == '+' || c == '-')
      digits += c;
    else
      return std::nullopt;
  }

  double value = 0.0;
  const char* const last = digits.data() + digits.size();
  const auto [end, error] = std::from_chars(digits.data(), last, value, std::chars_format::general);
  if (end != last) return std::nullopt;
  if (error == std::errc::result_out_of_range) {
    // Too large or too small for a double: the sign of the exponent says which.
    const std::size_t exponentAt = digits.find_first_of("eE");
    const bool tiny =
        exponentAt != std::string::npos && exponentAt + 1 < digits.size() && digits[exponentAt + 1] == '-';
    value = tiny ? 0.0 : std::numeric_limits<double>::max();
  } else if (error != std::errc{}) {
    return std::nullopt;
  }
  if (!std::isfinite(value)) return std::nullopt;
  return negative ? -value : value;
}

int NumberText::parseLeadingInteger(std::string_view text) {
  bool negative = false;
  std::size_t pos = skipBlanksAndSign(text, negative);
  long long value = 0;
  constexpr long long limit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
  for (; pos < text.size() && isDigit(text[pos]); ++pos) {
    value = value * 10 + (text[pos] - '0');
    if (value > limit) value = limit;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (value < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

bool NumberText::isIntegerText(std::string_view text) {
  bool negative = false;
  std::size_t pos = skipBlanksAndSign(text, negative);
  const std::size_t digitsFrom = pos;
  while (pos < text.size() && isDigit(text[pos]))
    ++pos;
  const bool hasDigits = pos > digitsFrom;
  while (pos < text.size() && isBlank(text[pos]))
    ++pos;
  const bool blank = digitsFrom == text.size() && text.find_first_of("+-") == std::string_view::npos;
  return pos == text.size() && (hasDigits || blank);
}

std::string NumberText::formatFixed(double value, int decimals) {
  if (!std::isfinite(value)) value = 0.0;
  char buffer[400];
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  std::string text = error == std::errc{} ? std::string(buffer, end) : std::string("0");
  localizeDecimal(text);
  return text;
}

void NumberText::localizeDecimal(std::string& text) {
  const char separator = decimalSeparator();
  for (char& c : text)
    if (c == '.') c = separator;
}

std::string NumberText::localized(std::string_view text) {
  std::string result(text);
  localizeDecimal(result);
  return result;
}

} // namespace vpr
