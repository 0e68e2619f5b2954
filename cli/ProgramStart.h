#pragma once
// What the tool takes from the system as it starts, as the UTF-8 text that every path and
// message in the program is (model/PathText.h): its command line and its own folder, where an
// installed language file lies beside it. On Windows the narrow command line and module name are
// in the code page, which cannot hold most non-ASCII file names, so they come from the wide
// calls; a console is set to show UTF-8 output. cli/posix and cli/win32 hold the two versions.

#include <string>
#include <vector>

namespace vpr::cli {

class ProgramStart {
public:
  // The arguments, the program's name first.
  static std::vector<std::string> arguments(int argc, char** argv);
  // The folder of the running program; empty when it cannot be told.
  static std::string programFolder();
  // Makes a console show the UTF-8 text written to standard output and error.
  static void useUtf8Console();
};

} // namespace vpr::cli
