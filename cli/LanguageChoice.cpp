#include "cli/LanguageChoice.h"

#include "cli/CliText.h"
#include "lang/CLanguageTable.h"
#include "lang/TextFormat.h"

namespace vpr::cli {

bool LanguageChoice::load(const std::string& requested, const std::string& environment,
                          TerminalUserInterface& ui, const std::string& programFolder) {
  const std::string& wanted = requested.empty() ? environment : requested;
  const CLanguageTable::LanguageCode* language = CLanguageTable::findLanguage(wanted);
  CLanguageTable& table = languageTable();
  if (!table.loadLanguageFile(language ? language->name : "", ui, programFolder)) return false;

  const bool got = language && table.currentLanguageName() == language->name;
  if (!got && (language || !requested.empty()))
    ui.fail(formatText(
        cliText(kTextLanguageFallback),
        {requested.empty() ? std::string(language->name) : requested, table.currentLanguageName()}));
  return true;
}

} // namespace vpr::cli
