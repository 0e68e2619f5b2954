#pragma once
// Fills the "%s" and "%d" placeholders of a text from the language file. The texts come from a
// file outside the program, so they are never handed to printf: a placeholder without a matching
// argument yields nothing, and an argument of the other kind is printed as what it is.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace vpr {

class FormatArg {
public:
  FormatArg(std::string_view text) : text_(text), isNumber_(false) {}
  FormatArg(const std::string& text) : text_(text), isNumber_(false) {}
  FormatArg(const char* text) : text_(text ? text : ""), isNumber_(false) {}
  FormatArg(int number) : number_(number) {}
  FormatArg(long number) : number_(number) {}
  FormatArg(long long number) : number_(number) {}
  FormatArg(unsigned number) : number_(number) {}

  bool isNumber() const { return isNumber_; }
  std::string_view text() const { return text_; }
  long long number() const { return number_; }

private:
  std::string_view text_;
  long long number_ = 0;
  bool isNumber_ = true;
};

// Supports %s, %d, %i, %u, %x, %X, %c and %% with the flags "-0 +", a width and, for %s, a
// precision. Any other sequence starting with % is copied as it stands.
std::string formatText(std::string_view format, std::initializer_list<FormatArg> args);

} // namespace vpr
