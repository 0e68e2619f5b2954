// The text format routine on any format and arguments (the texts come from a file outside the
// program): no crash, a text without "%" comes out unchanged, and widths are capped so that the
// result stays within a bound of the format's and the arguments' sizes.

#include "fuzz/FuzzSupport.h"
#include "lang/TextFormat.h"

#include <algorithm>
#include <cstring>

using namespace vpr;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 9) return 0;
  // The first byte chooses the kinds of three arguments, the next eight a number, and the rest
  // is split at the first two zero bytes into two text arguments and the format.
  const std::uint8_t kinds = data[0];
  long long number = 0;
  std::memcpy(&number, data + 1, sizeof number);
  const std::string_view rest(reinterpret_cast<const char*>(data + 9), size - 9);
  const std::size_t first = rest.find('\0');
  const std::size_t second = first == std::string_view::npos ? first : rest.find('\0', first + 1);
  const std::string_view textA = first == std::string_view::npos ? std::string_view() : rest.substr(0, first);
  const std::string_view textB =
      second == std::string_view::npos ? std::string_view() : rest.substr(first + 1, second - first - 1);
  const std::string_view format = second == std::string_view::npos
                                      ? (first == std::string_view::npos ? rest : rest.substr(first + 1))
                                      : rest.substr(second + 1);

  const auto arg = [&](int index, std::string_view text) {
    return (kinds >> index) & 1 ? FormatArg(number) : FormatArg(text);
  };
  const std::string out = formatText(format, {arg(0, textA), arg(1, textB), arg(2, textA)});

  if (format.find('%') == std::string_view::npos)
    fuzz::require(out == format, "a text without placeholders changed");
  const std::size_t placeholders = static_cast<std::size_t>(std::count(format.begin(), format.end(), '%'));
  const std::size_t widest = std::max({textA.size(), textB.size(), std::size_t{24}});
  fuzz::require(out.size() <= format.size() + placeholders * (256 + widest), "the result outgrew its bound");
  return 0;
}
