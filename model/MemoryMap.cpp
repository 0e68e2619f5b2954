#include "model/MemoryMap.h"

#include <algorithm>
#include <cstdio>

namespace vpr {

namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<int> parseHex(std::string_view text, std::size_t maxDigits) {
  if (text.empty() || text.size() > maxDigits) return std::nullopt;
  int value = 0;
  for (char c : text) {
    const int digit = hexDigit(c);
    if (digit < 0) return std::nullopt;
    value = value * 16 + digit;
  }
  return value;
}

// The UTF-8 form of a Latin-1 character.
std::string utf8OfLatin1(std::uint8_t value) {
  if (value < 0x80) return std::string(1, static_cast<char>(value));
  return {static_cast<char>(0xC0 | (value >> 6)), static_cast<char>(0x80 | (value & 0x3F))};
}

constexpr std::uint8_t kCentredDot = 0xB7;
constexpr std::uint8_t kSoftHyphen = 0xAD;

} // namespace

void MemoryMap::configure(const Configuration& configuration) {
  if (configured_) return;
  configured_ = true;
  source_ = configuration.source;
  workingCopy_.assign(source_.begin(), source_.end());
  rowCount_ = static_cast<int>(source_.size() / kBytesPerRow);
  addressBase_ = configuration.addressBase;
  charactersAvailable_ = configuration.charactersAvailable;
  showCharacters_ = configuration.showCharacters && charactersAvailable_;
  addressEntry_ = configuration.addressEntry;
  editing_ = configuration.editing;
  // The first opening shows offset 0 in the bottom-left cell and the lowest page above it.
  position_ = {std::max(1, rowCount_ - kRowsPerPage + 1), rowCount_, 1};
}

bool MemoryMap::open() {
  if (!configured_) return false;
  rowCount_ = static_cast<int>(source_.size() / kBytesPerRow);
  workingCopy_.assign(source_.begin(), source_.end());
  return true;
}

std::optional<std::size_t> MemoryMap::offsetOf(int row, int col) const {
  if (row < 1 || row > rowCount_) return std::nullopt;
  int k = 0;
  if (isByteColumn(col))
    k = col - 1;
  else if (isCharColumn(col) && showCharacters_)
    k = col - kFirstCharColumn;
  else
    return std::nullopt;
  return static_cast<std::size_t>((rowCount_ - row) * kBytesPerRow + k);
}

MemoryMap::Cell MemoryMap::byteCellOf(std::size_t offset) const {
  const int o = static_cast<int>(offset);
  return {rowCount_ - o / kBytesPerRow, o % kBytesPerRow + 1};
}

int MemoryMap::partnerColumn(int col) {
  if (isByteColumn(col)) return col + kSeparatorColumn;
  if (isCharColumn(col)) return col - kSeparatorColumn;
  return col;
}

std::string MemoryMap::rowHeaderText(int row) const {
  char text[16];
  std::snprintf(text, sizeof text, "   %.4X_",
                static_cast<unsigned>(addressBase_ / kBytesPerRow + rowCount_ - row));
  return text;
}

std::string MemoryMap::columnHeaderText(int col) {
  const int k = isCharColumn(col) ? col - kFirstCharColumn : col - 1;
  char text[8];
  std::snprintf(text, sizeof text, "__%X", static_cast<unsigned>(k));
  return text;
}

std::string MemoryMap::addressText(int row, int col) const {
  const std::optional<std::size_t> offset = offsetOf(row, col);
  if (!offset) return {};
  char text[16];
  std::snprintf(text, sizeof text, "%.4X", static_cast<unsigned>(addressBase_ + static_cast<int>(*offset)));
  return text;
}

std::string MemoryMap::byteText(std::uint8_t value) {
  char text[4];
  std::snprintf(text, sizeof text, "%.2X", static_cast<unsigned>(value));
  return text;
}

bool MemoryMap::hasVisibleChar(std::uint8_t value) {
  return (value >= 0x20 && value < 0x7F) || (value > 0xA0 && value < 0xFF && value != kSoftHyphen);
}

std::string MemoryMap::charText(std::uint8_t value) {
  return utf8OfLatin1(hasVisibleChar(value) ? value : kCentredDot);
}

std::optional<std::uint8_t> MemoryMap::byteOfHexEntry(std::string_view text) {
  if (text.empty()) return 0xFF;
  const std::optional<int> value = parseHex(text, 2);
  if (!value) return std::nullopt;
  return static_cast<std::uint8_t>(*value);
}

std::optional<std::uint8_t> MemoryMap::byteOfCharEntry(std::optional<char32_t> codePoint) {
  if (!codePoint) return 0;
  if (*codePoint > 0xFF) return std::nullopt;
  return static_cast<std::uint8_t>(*codePoint);
}

std::optional<std::size_t> MemoryMap::offsetOfAddress(std::string_view text) const {
  const std::optional<int> address = parseHex(text, 4);
  if (!address) return std::nullopt;
  const int offset = *address - addressBase_;
  if (offset < 0 || offset >= static_cast<int>(workingCopy_.size())) return std::nullopt;
  return static_cast<std::size_t>(offset);
}

int MemoryMap::pageTopRow(std::size_t offset) const {
  const int top = rowCount_ - kRowsPerPage * (static_cast<int>(offset) / (kRowsPerPage * kBytesPerRow)) -
                  (kRowsPerPage - 1);
  return std::max(1, top);
}

bool MemoryMap::commit(const Position& position) {
  position_ = position;
  if (std::equal(workingCopy_.begin(), workingCopy_.end(), source_.begin(), source_.end())) return false;
  std::copy(workingCopy_.begin(), workingCopy_.end(), source_.begin());
  return true;
}

MemoryMap& memoryMap() {
  static MemoryMap instance;
  return instance;
}

} // namespace vpr
