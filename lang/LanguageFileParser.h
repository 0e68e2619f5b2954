#pragma once
// The rules of the language file's text format, on bytes: rows are joined from physical lines,
// trimmed, split into fields at commas that lie outside double quotes, and each field is unquoted.
// Every byte is one character; multi-byte characters get no special treatment.

#include <string>
#include <string_view>
#include <vector>

namespace vpr {

class LanguageFileParser {
public:
  // One row split into its key (the first field) and its texts (the other fields).
  struct Row {
    std::string key;
    std::vector<std::string> texts;
  };

  // Takes the whole file content. Lines are cut at LF; the LF itself is not part of the line.
  // A content without any CR was saved with LF line ends (as editors on Linux save it).
  explicit LanguageFileParser(std::string_view content)
      : content_(content), lfOnly_(content.find('\r') == std::string_view::npos) {}

  // The next physical line, without joining, already trimmed; false at the end of the content.
  bool nextLine(std::string& line);
  // The next complete row: lines without a CR continue the row (joined with a LF) until a line
  // with a CR has been appended. In a content with LF line ends only, a line ends the row
  // unless it leaves a double quote open (a text over several lines). A row still open at the
  // end of the content is dropped.
  bool nextRow(std::string& row);
  // Starts again at the beginning of the content.
  void rewind() { position_ = 0; }

  // Removes the trailing run of CR characters, then the leading white space.
  static std::string_view trim(std::string_view row);
  // Splits a trimmed row into fields. Returns false (and leaves row untouched) when the key
  // holds a double quote, which makes the row invalid.
  static bool split(std::string_view text, Row& row);
  // Removes surrounding double quotes, turns "" into " and \t into a TAB.
  static std::string unquote(std::string_view field);

private:
  bool nextPhysicalLine(std::string_view& line);

  std::string_view content_;
  bool lfOnly_;
  std::size_t position_ = 0;
};

} // namespace vpr
