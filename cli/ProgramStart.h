#pragma once
// What the tool takes from the system as it starts, as the UTF-8 text that every path and
// message in the program is (model/PathText.h): its command line and its own folder, where an
// installed language file lies beside it. On Windows the narrow command line and module name are
// in the code page, which cannot hold most non-ASCII file names, so they come from the wide
// calls; standard input and output carry bytes unchanged, as on POSIX, and a console is set to
// show UTF-8 output. cli/posix and cli/win32 hold the two versions.

#include <string>
#include <vector>

namespace vpr::cli {

class ProgramStart {
public:
  // The arguments, the program's name first.
  static std::vector<std::string> arguments(int argc, char** argv);
  // The environment's language as a locale name: on POSIX the first of LC_ALL, LC_MESSAGES and
  // LANG that is set and not empty ("de_DE.UTF-8"), on Windows the user's interface language
  // ("de-DE"); empty when there is none.
  static std::string environmentLanguage();
  // The folder of the running program; empty when it cannot be told.
  static std::string programFolder();
  // Standard input and output carry bytes unchanged: a data file given as "-" must not have its
  // line ends translated or end at a Ctrl+Z byte. A console shows the UTF-8 text written to it.
  static void prepareStandardStreams();
};

} // namespace vpr::cli
