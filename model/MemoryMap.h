#pragma once
// The memory map: the whole image as a table of hexadecimal bytes, sixteen to a row, the highest
// row at the top, with an optional block of the same bytes as characters. This unit keeps the
// map's state for the life of the program (its configuration, the remembered scroll position and
// character choice) and holds every rule of the table: which byte a cell shows, the texts of
// headers and cells, what a typed entry stores, where a typed address goes, and the commit.
//
// Edits go into a working copy that belongs to the map alone; nothing else writes it, so a
// refresh of the rest of the program while the window is open never loses an edit. The source
// is written only by commit(). The window (app/CMemoryMapDlg) only presents what this returns.
//
// Cells are counted as the table shows them: row 0 and column 0 are headers, rows 1..rowCount()
// hold the bytes from the highest row (1) down to offset 0 (rowCount()); columns 1..16 are the
// byte columns, 17 separates, 18..33 are the character columns.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vpr {

class MemoryMap {
public:
  static constexpr int kBytesPerRow = 16;
  static constexpr int kLastByteColumn = 16;
  static constexpr int kSeparatorColumn = 17;
  static constexpr int kFirstCharColumn = 18;
  static constexpr int kLastCharColumn = 33;
  static constexpr int kColumnsWithoutChars = kLastByteColumn + 1;
  static constexpr int kColumnsWithChars = kLastCharColumn + 1;
  static constexpr int kRowsPerPage = 16;
  // Texts: the window caption, the character check box, the name of a commit as an undo step.
  static constexpr int kTextCaption = 10018001;
  static constexpr int kTextShowCharacters = 10018003;

  // Where the table stood: top row, current row and column.
  struct Position {
    int topRow;
    int row;
    int col;
  };
  struct Cell {
    int row;
    int col;
  };

  struct Configuration {
    std::span<std::uint8_t> source; // shown, and overwritten by a commit
    int addressBase = 0;            // added to every address shown or typed
    bool charactersAvailable = true;
    bool showCharacters = true;
    bool addressEntry = true;
    bool editing = true;
  };

  // Takes the configuration once; a configured map ignores further calls.
  void configure(const Configuration& configuration);
  bool isConfigured() const { return configured_; }

  // Starts an opening: the working copy is filled from the source. False when never configured.
  bool open();

  // ---- The table ----
  int rowCount() const { return rowCount_; }
  int columnCount() const { return showCharacters_ ? kColumnsWithChars : kColumnsWithoutChars; }
  bool charactersAvailable() const { return charactersAvailable_; }
  bool showCharacters() const { return showCharacters_; }
  void setShowCharacters(bool show) { showCharacters_ = show && charactersAvailable_; }
  bool addressEntry() const { return addressEntry_; }
  bool editing() const { return editing_; }

  // The working-copy offset of a byte or character cell; nothing for headers and the separator.
  std::optional<std::size_t> offsetOf(int row, int col) const;
  // The byte cell of an offset inside the working copy.
  Cell byteCellOf(std::size_t offset) const;
  static bool isByteColumn(int col) { return col >= 1 && col <= kLastByteColumn; }
  static bool isCharColumn(int col) { return col >= kFirstCharColumn && col <= kLastCharColumn; }
  // The byte column of a character column and the other way round (Ctrl+Tab).
  static int partnerColumn(int col);

  // "   003F_": the 16-byte row number of table row 1..rowCount().
  std::string rowHeaderText(int row) const;
  // "__A": the last address digit of byte column 1..16 and of its character column.
  static std::string columnHeaderText(int col);
  // The address of a cell as "%.4X"; empty in the separator column.
  std::string addressText(int row, int col) const;
  static std::string byteText(std::uint8_t value);
  // The byte as a character (UTF-8 of its Latin-1 character), or a centred dot for a byte without
  // a visible character: controls, 0x7F..0xA0, the soft hyphen and 0xFF.
  static std::string charText(std::uint8_t value);
  static bool hasVisibleChar(std::uint8_t value);

  // ---- Edits of the working copy ----
  std::uint8_t byteAt(std::size_t offset) const { return workingCopy_.at(offset); }
  const std::vector<std::uint8_t>& workingCopy() const { return workingCopy_; }
  // A hexadecimal entry: empty stores 0xFF, one digit is the low digit; nothing for other text.
  static std::optional<std::uint8_t> byteOfHexEntry(std::string_view text);
  // A character entry given as its code point: none stores 0; code points above 0xFF have no byte.
  static std::optional<std::uint8_t> byteOfCharEntry(std::optional<char32_t> codePoint);
  void setByte(std::size_t offset, std::uint8_t value) { workingCopy_.at(offset) = value; }

  // A typed jump address (up to four hexadecimal digits, address base included): the offset it
  // names, or nothing for text that is no address or lies outside the map.
  std::optional<std::size_t> offsetOfAddress(std::string_view text) const;
  // The top row that shows the 256-byte page holding the offset in the 16 visible rows.
  int pageTopRow(std::size_t offset) const;

  // ---- Closing ----
  // Close: when a byte of the working copy differs from the source, copies it there and returns
  // true (the image changed); otherwise false. The position is remembered in both cases.
  bool commit(const Position& position);
  // Where the next opening puts the table (first opening: offset 0 bottom-left, the lowest 256
  // bytes visible).
  const Position& position() const { return position_; }

private:
  bool configured_ = false;
  std::span<std::uint8_t> source_;
  std::vector<std::uint8_t> workingCopy_;
  int rowCount_ = 0;
  int addressBase_ = 0;
  bool charactersAvailable_ = false;
  bool showCharacters_ = false;
  bool addressEntry_ = false;
  bool editing_ = false;
  Position position_{0, 0, 1};
};

// The program's one memory map.
MemoryMap& memoryMap();

} // namespace vpr
