// The language file on any content: the parser's rows split into keys without quotes, a
// failed load names its reason and shows one message, and a successful one leaves a text row for
// every required identifier and no error behind. The same content with LF line ends must not
// crash either.

#include "fuzz/FuzzSupport.h"
#include "lang/CLanguageTable.h"
#include "lang/LanguageFileParser.h"

#include <algorithm>

using namespace vpr;

namespace {

void checkRows(std::string_view content) {
  LanguageFileParser parser(content);
  std::string row;
  LanguageFileParser::Row fields;
  std::size_t rows = 0;
  while (parser.nextRow(row)) {
    fuzz::require(++rows <= content.size() + 1, "more rows than lines");
    if (LanguageFileParser::split(row, fields))
      fuzz::require(fields.key.find('"') == std::string::npos, "a key with a quote was accepted");
  }
}

void checkLoad(const std::string& content) {
  const std::string path = fuzz::scratchPath("vpr40t.lng");
  fuzz::writeScratch(path, content);
  CLanguageTable table;
  fuzz::CountingUserInterface ui;
  if (table.loadLanguageFileAt(path, "English", ui)) {
    fuzz::require(table.errorCode() == CLanguageTable::None, "a successful load left an error");
    fuzz::require(ui.messages == 0, "a successful load showed a message");
    for (const auto id : CLanguageTable::requiredIdentifiers())
      fuzz::require(table.hasText(id), "a required identifier has no row after a successful load");
    fuzz::require(!table.languageNames().empty(), "a load without any language succeeded");
  } else {
    fuzz::require(table.errorCode() != CLanguageTable::None, "a failed load without a reason");
    fuzz::require(ui.messages == 1, "a failed load did not show exactly one message");
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string content(reinterpret_cast<const char*>(data), size);
  checkRows(content);
  checkLoad(content);
  std::string lf = content;
  std::erase(lf, '\r');
  if (lf.size() != content.size()) {
    checkRows(lf);
    checkLoad(lf);
  }
  return 0;
}
