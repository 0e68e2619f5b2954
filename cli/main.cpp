// vpr40t-cli: reads, writes, inspects and converts radio images without the desktop program.

#include "cli/Commands.h"
#include "lang/CLanguageTable.h"

#include <filesystem>
#include <iostream>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// The folder of the running program, where an installed language file may lie beside it.
std::string programFolder() {
#ifdef _WIN32
  std::vector<char> name(MAX_PATH);
  DWORD length = 0;
  while ((length = GetModuleFileNameA(nullptr, name.data(), static_cast<DWORD>(name.size()))) == name.size())
    name.resize(name.size() * 2);
  return length ? std::filesystem::path(std::string(name.data(), length)).parent_path().string()
                : std::string();
#else
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : self.parent_path().string();
#endif
}

} // namespace

int main(int argc, char** argv) {
  using namespace vpr::cli;
  CLI::App app{"VPR-40T command-line tool: read, write, inspect and convert radio images.", "vpr40t-cli"};
  app.require_subcommand(1);
  app.set_help_all_flag("--help-all", "Show the help of every command");
  app.set_version_flag("--version", "vpr40t-cli " VPR_VERSION);

  std::vector<Command> commands = {
      addNewCommand(app),        addInfoCommand(app),   addDumpCommand(app),
      addReadCommand(app),       addWriteCommand(app),  addDetectCommand(app),
#ifdef VPR_CLI_TEST
      addTestCommand(app),
#else
      addMissingCommand(app, "test"),
#endif
#ifdef VPR_CLI_YAML
      addExportCommand(app),     addImportCommand(app),
#else
      addMissingCommand(app, "export"), addMissingCommand(app, "import"),
#endif
      addChannelsCommand(app),   addDiffCommand(app),
#ifdef VPR_CLI_PRINT
      addPrintCommand(app),
#else
      addMissingCommand(app, "print"),
#endif
      addCompletionCommand(app),
  };

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int status = app.exit(error);
    return status == 0 ? kExitDone : kExitUsage;
  }

  TerminalUserInterface ui(std::cerr);
  if (!vpr::languageTable().loadLanguageFile("English", ui, programFolder())) return kExitFailed;

  for (const Command& command : commands) {
    if (command.subcommand->parsed()) return command.run(ui);
  }
  return kExitUsage;
}
