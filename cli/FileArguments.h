#pragma once
// The files a command reads and writes, given on its command line: a path, or "-" for standard
// input or output. Text and data files alike are replaced whole or not at all; reading is capped
// in size. Each function reports a failure through the terminal and returns false.

#include "cli/TerminalUserInterface.h"
#include "model/RadioData.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace vpr::cli {

inline constexpr const char* kStandardStream = "-";

// Reads a whole text file (or standard input) of at most limit bytes.
bool readTextArgument(const std::string& path, std::size_t limit, std::string& text,
                      TerminalUserInterface& ui);
// Writes text to a file (replaced whole) or to standard output.
bool writeTextArgument(const std::string& path, std::string_view text, TerminalUserInterface& ui);
// Writes an image as a data file, or its 1074 bytes to standard output.
bool writeImageArgument(const std::string& path, const RadioImage& image, TerminalUserInterface& ui);

} // namespace vpr::cli
