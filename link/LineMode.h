#pragma once
// The line mode written as a mode string in the classic comma form "baud,parity,data,stop"
// ("9600,N,8,2"), optionally preceded by a device name ("COM1:") and followed by a handshake
// letter ("x" software, "p" hardware). Fields left empty or missing keep the device's value.

#include <optional>
#include <string>

namespace vpr {

enum class Parity { None, Even, Odd, Mark, Space };
enum class StopBits { One, OneAndHalf, Two };
enum class Handshake { None, Software, Hardware };

struct LineMode {
  std::optional<unsigned> baud;
  std::optional<Parity> parity;
  std::optional<unsigned> dataBits; // 5..8
  std::optional<StopBits> stopBits;
  std::optional<Handshake> handshake;
};

// Parses a mode string; nothing when the string is not a valid mode. Letters are accepted in
// either case; two-digit baud abbreviations (11, 15, 30, 60, 12, 24, 48, 96, 19) stand for
// 110 to 19200 baud.
std::optional<LineMode> parseLineMode(const std::string& text);

} // namespace vpr
