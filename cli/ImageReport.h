#pragma once
// What the inspecting commands print about an image, and how they load it.

#include "cli/TerminalUserInterface.h"
#include "model/ImageView.h"
#include "model/RadioData.h"

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace vpr::cli {

// Loads a data file ("-": standard input) into image. On failure prints the same message the desktop
// program shows and returns false.
bool loadDataFile(const std::string& path, RadioImage& image, TerminalUserInterface& ui);
// The same as the working image of an editing document, adopted as after Open.
bool loadDataFile(const std::string& path, RadioData& data, TerminalUserInterface& ui);

// Model, band, channel count and wide/narrow setting, one labelled line each.
void printSummary(std::ostream& out, const ImageView& image);

// The text as a JSON string: quotes, backslashes and control characters escaped, other bytes
// (UTF-8) as they are.
std::string jsonString(std::string_view text);

// The same as one JSON object for scripts: model, band (null when the model code is not listed),
// model_code (hex bytes), channels, wide_narrow ("wide" or "narrow").
void printSummaryJson(std::ostream& out, const ImageView& image);

// The channels, the 16 test frequencies, the optional features and the Moni key, each section
// under its heading with the columns the editing views show.
void printDump(std::ostream& out, const ImageView& image);

// Rows of cells printed in columns two spaces apart, without trailing blanks.
void printTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows);

} // namespace vpr::cli
