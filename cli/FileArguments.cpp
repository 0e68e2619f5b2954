#include "cli/FileArguments.h"

#include "lang/CLanguageTable.h"
#include "lang/TextFormat.h"
#include "model/DataFile.h"
#include "model/DataFileFlows.h"
#include "model/FileContents.h"

#include <iostream>
#include <iterator>

namespace vpr::cli {

namespace {
constexpr int kTextTooLarge = 10066002;
}

bool readTextArgument(const std::string& path, std::size_t limit, std::string& text,
                      TerminalUserInterface& ui) {
  if (path == kStandardStream) {
    std::string input;
    char buffer[65536];
    while (std::cin.read(buffer, sizeof buffer) || std::cin.gcount() > 0) {
      input.append(buffer, static_cast<std::size_t>(std::cin.gcount()));
      if (input.size() > limit) {
        ui.fail(formatText(textOf(kTextTooLarge), {int(limit)}));
        return false;
      }
    }
    text = std::move(input);
    return true;
  }
  std::error_code error;
  switch (FileContents::read(path, limit, text, error)) {
  case FileContents::Read:
    return true;
  case FileContents::TooLarge:
    ui.fail(path + ": " + formatText(textOf(kTextTooLarge), {int(limit)}));
    return false;
  case FileContents::CannotOpen:
    break;
  }
  ui.fail(path + ": " + error.message());
  return false;
}

bool writeTextArgument(const std::string& path, std::string_view text, TerminalUserInterface& ui) {
  if (path == kStandardStream) {
    std::cout << text << std::flush;
    return static_cast<bool>(std::cout);
  }
  std::error_code error;
  const FileContents::WriteResult result = FileContents::write(path, text, error);
  if (result == FileContents::Written) return true;
  ui.fail(path + ": " + (result == FileContents::NotARegularFile ? textOf(DataFileFlows::kTextNotAFileToSave)
                                                                  : error.message()));
  return false;
}

bool writeImageArgument(const std::string& path, const RadioImage& image, TerminalUserInterface& ui) {
  const auto bytes = DataFile::fileBytes(image);
  return writeTextArgument(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                           ui);
}

} // namespace vpr::cli
