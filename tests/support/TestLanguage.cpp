#include "support/TestLanguage.h"

#include "lang/CLanguageTable.h"
#include "support/FakeUserInterface.h"
#include "support/TestSupport.h"

#include <stdexcept>

namespace vpr::test {

void loadLanguage(bool identifierMode, const std::string& language) {
  CLanguageTable& table = languageTable();
  table = CLanguageTable();
  table.setIdentifierMode(identifierMode);
  // Identifier mode writes its analysis dump; keep it out of the test's working folder.
  table.setDumpFolder(makeTempDir());
  FakeUserInterface ui;
  if (!table.loadLanguageFileAt(sourcePath("res/vpr40t.lng"), language, ui))
    throw std::runtime_error("the shipped language file does not load");
}

void unloadLanguage() {
  languageTable() = CLanguageTable();
}

std::string idText(std::int32_t id) {
  return "ID:" + std::to_string(id);
}

} // namespace vpr::test
