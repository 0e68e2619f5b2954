#pragma once
// Paths as the program's text holds them. Every path in a std::string, in the core and in the
// programs around it, is UTF-8 (what Qt's toStdString gives and what a terminal hands over on
// Linux); std::filesystem::path is what file calls take. On Windows a narrow path would otherwise
// go through the C library's code page, which cannot hold most non-ASCII names (a Documents
// folder in Cyrillic, a file name in Greek): these two conversions are the only way between the
// two there. On POSIX a path is bytes, kept exactly as they are.
//
// lang/posix and lang/win32 hold the conversions; they sit with the language table, the lowest
// layer, because its file is the first path the programs open.

#include <filesystem>
#include <string>
#include <string_view>

namespace vpr {

class PathText {
public:
  // The path that UTF-8 text names. Bytes that are not UTF-8 become U+FFFD on Windows.
  static std::filesystem::path toPath(std::string_view text);
  // The path as UTF-8 text.
  static std::string toText(const std::filesystem::path& path);
};

} // namespace vpr
