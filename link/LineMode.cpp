#include "link/LineMode.h"

#include <cctype>
#include <charconv>
#include <vector>

namespace vpr {

namespace {

std::string lower(std::string s) {
  for (char& c : s)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::vector<std::string> splitFields(const std::string& text) {
  std::vector<std::string> fields;
  std::string current;
  for (char c : text) {
    if (c == ',') {
      fields.push_back(current);
      current.clear();
    } else if (c != ' ') {
      current += c;
    }
  }
  fields.push_back(current);
  return fields;
}

std::optional<unsigned> parseBaud(const std::string& field) {
  unsigned value = 0;
  auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (ec != std::errc() || end != field.data() + field.size() || value == 0) return std::nullopt;
  switch (value) {
  case 11:
    return 110;
  case 15:
    return 150;
  case 30:
    return 300;
  case 60:
    return 600;
  case 12:
    return 1200;
  case 24:
    return 2400;
  case 48:
    return 4800;
  case 96:
    return 9600;
  case 19:
    return 19200;
  default:
    return value;
  }
}

} // namespace

std::optional<LineMode> parseLineMode(const std::string& text) {
  std::string body = lower(text);
  // An optional device name: "com1:" in front of the fields.
  if (auto colon = body.find(':'); colon != std::string::npos) {
    if (body.compare(0, 3, "com") != 0) return std::nullopt;
    body = body.substr(colon + 1);
  }
  std::vector<std::string> fields = splitFields(body);
  if (fields.size() > 5 || fields[0].empty()) return std::nullopt;

  LineMode mode;
  mode.baud = parseBaud(fields[0]);
  if (!mode.baud) return std::nullopt;

  if (fields.size() > 1 && !fields[1].empty()) {
    if (fields[1].size() != 1) return std::nullopt;
    switch (fields[1][0]) {
    case 'n':
      mode.parity = Parity::None;
      break;
    case 'e':
      mode.parity = Parity::Even;
      break;
    case 'o':
      mode.parity = Parity::Odd;
      break;
    case 'm':
      mode.parity = Parity::Mark;
      break;
    case 's':
      mode.parity = Parity::Space;
      break;
    default:
      return std::nullopt;
    }
  }
  if (fields.size() > 2 && !fields[2].empty()) {
    if (fields[2].size() != 1 || fields[2][0] < '5' || fields[2][0] > '8') return std::nullopt;
    mode.dataBits = static_cast<unsigned>(fields[2][0] - '0');
  }
  if (fields.size() > 3 && !fields[3].empty()) {
    if (fields[3] == "1")
      mode.stopBits = StopBits::One;
    else if (fields[3] == "1.5")
      mode.stopBits = StopBits::OneAndHalf;
    else if (fields[3] == "2")
      mode.stopBits = StopBits::Two;
    else
      return std::nullopt;
  }
  if (fields.size() > 4) {
    if (fields[4].empty())
      mode.handshake = Handshake::None;
    else if (fields[4] == "x")
      mode.handshake = Handshake::Software;
    else if (fields[4] == "p")
      mode.handshake = Handshake::Hardware;
    else
      return std::nullopt;
  }
  return mode;
}

} // namespace vpr
