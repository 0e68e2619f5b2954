#include "lang/TextFormat.h"

#include <algorithm>
#include <charconv>

namespace vpr {

namespace {

struct Spec {
  bool left = false;
  bool zero = false;
  char sign = 0; // '+' or ' ' for numbers
  std::size_t width = 0;
  std::size_t precision = std::string_view::npos;
};

std::string numberText(long long value, char conversion, const Spec& spec) {
  char buffer[32];
  std::to_chars_result result{};
  std::string text;
  if (conversion == 'x' || conversion == 'X') {
    result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<unsigned long long>(value), 16);
    text.assign(buffer, result.ptr);
    if (conversion == 'X')
      for (char& c : text)
        c = static_cast<char>(c >= 'a' && c <= 'f' ? c - 'a' + 'A' : c);
  } else if (conversion == 'u') {
    result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<unsigned long long>(value));
    text.assign(buffer, result.ptr);
  } else {
    result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text.assign(buffer, result.ptr);
    if (value >= 0 && spec.sign) text.insert(text.begin(), spec.sign);
  }
  return text;
}

void pad(std::string& out, std::string_view text, const Spec& spec, bool numeric) {
  const std::size_t fill = spec.width > text.size() ? spec.width - text.size() : 0;
  if (spec.left) {
    out.append(text);
    out.append(fill, ' ');
  } else if (spec.zero && numeric) {
    std::size_t signLength = !text.empty() && (text[0] == '-' || text[0] == '+' || text[0] == ' ') ? 1 : 0;
    out.append(text.substr(0, signLength));
    out.append(fill, '0');
    out.append(text.substr(signLength));
  } else {
    out.append(fill, ' ');
    out.append(text);
  }
}

} // namespace

std::string formatText(std::string_view format, std::initializer_list<FormatArg> args) {
  std::string out;
  out.reserve(format.size() + 32);
  auto next = args.begin();
  std::size_t i = 0;
  while (i < format.size()) {
    const char c = format[i];
    if (c != '%') {
      out.push_back(c);
      ++i;
      continue;
    }
    const std::size_t start = i++;
    if (i < format.size() && format[i] == '%') {
      out.push_back('%');
      ++i;
      continue;
    }
    Spec spec;
    for (; i < format.size(); ++i) {
      const char flag = format[i];
      if (flag == '-')
        spec.left = true;
      else if (flag == '0')
        spec.zero = true;
      else if (flag == '+')
        spec.sign = '+';
      else if (flag == ' ') {
        if (spec.sign != '+') spec.sign = ' ';
      } else
        break;
    }
    // Widths and precisions are capped so that a damaged text cannot ask for gigabytes.
    constexpr std::size_t kMaxWidth = 256;
    while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
      spec.width = std::min(kMaxWidth, spec.width * 10 + static_cast<std::size_t>(format[i] - '0'));
      ++i;
    }
    if (i < format.size() && format[i] == '.') {
      ++i;
      spec.precision = 0;
      while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
        spec.precision = std::min(kMaxWidth, spec.precision * 10 + static_cast<std::size_t>(format[i] - '0'));
        ++i;
      }
    }
    while (i < format.size() && (format[i] == 'l' || format[i] == 'h'))
      ++i;
    if (i >= format.size()) {
      out.append(format.substr(start));
      break;
    }
    const char conversion = format[i++];
    switch (conversion) {
    case 's':
    case 'd':
    case 'i':
    case 'u':
    case 'x':
    case 'X':
    case 'c': {
      if (next == args.end()) break; // a placeholder without an argument yields nothing
      const FormatArg& arg = *next++;
      if (conversion == 'c' && arg.isNumber()) {
        pad(out, std::string(1, static_cast<char>(arg.number())), spec, false);
      } else if (arg.isNumber() && conversion != 's') {
        pad(out, numberText(arg.number(), conversion, spec), spec, true);
      } else if (arg.isNumber()) {
        pad(out, numberText(arg.number(), 'd', Spec{}), spec, false);
      } else {
        pad(out, arg.text().substr(0, spec.precision), spec, false);
      }
      break;
    }
    default:
      out.append(format.substr(start, i - start));
      break;
    }
  }
  return out;
}

} // namespace vpr
