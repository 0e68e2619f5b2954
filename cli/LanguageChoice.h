#pragma once
// The language of the tool's texts: the one named by --language, otherwise the environment's
// (LC_ALL, LC_MESSAGES or LANG on POSIX; the user's interface language on Windows). Loads the
// language file with it. When the language asked for has no column in the file, or --language
// names one the program does not know, the file's first column is used and the tool says on
// standard error which language it fell back to; an environment in an unsupported language
// (or "C") quietly gets the first column, as every run would otherwise start with a notice.

#include "cli/TerminalUserInterface.h"

#include <string>

namespace vpr::cli {

class LanguageChoice {
public:
  // requested: the text of --language, empty when not given; environment: the environment's
  // locale name ("de_DE.UTF-8", "de-DE"), empty when none is set. False when the language file
  // could not be loaded (the failure message has been shown).
  static bool load(const std::string& requested, const std::string& environment, TerminalUserInterface& ui,
                   const std::string& programFolder);
};

} // namespace vpr::cli
