#pragma once
// Numbers as the user reads and types them.
//
// The locale's decimal separator is handed to the core once at start-up (setDecimalSeparator);
// every number the program parses or prints goes through these functions, which use that one
// character explicitly and never the C library's global locale state.

#include <optional>
#include <string>
#include <string_view>

namespace vpr {

class NumberText {
public:
  // The separator used from now on; only '.' and ',' are meaningful, anything else keeps '.'.
  static void setDecimalSeparator(char separator);
  static char decimalSeparator();

  // Reads a text that is one number and nothing else: blanks around it and a sign are allowed,
  // the decimal point is decimalSeparator() or "." (the values the program reads have no
  // thousands separator, so "." never means anything else), and an exponent is allowed.
  // Returns nothing when any character is left over ("145.125" is never read as 145) or the
  // text holds no number. Never returns an infinity or NaN: words such as "inf" or "nan" are
  // not numbers, and a value beyond the range of double comes back as the largest finite value
  // of its sign (one too small to represent as 0).
  static std::optional<double> parseNumber(std::string_view text);

  // Reads the integer at the start of the text as atoi does (blanks, sign, digits), saturating
  // at the limits of int; 0 when the text does not start with digits.
  static int parseLeadingInteger(std::string_view text);
  // Whether the text is blank or one integer and nothing else (blanks around it, a sign).
  static bool isIntegerText(std::string_view text);

  // The value with a fixed number of decimals ("%.*f") and the current separator.
  static std::string formatFixed(double value, int decimals);

  // Replaces every "." of a text the program holds itself by the current separator.
  static void localizeDecimal(std::string& text);
  static std::string localized(std::string_view text);
};

// The process-wide separator as a short form for the code that formats values.
inline void localizeDecimal(std::string& text) {
  NumberText::localizeDecimal(text);
}

} // namespace vpr
