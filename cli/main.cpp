// vpr40t-cli: reads, writes, inspects and converts radio images without the desktop program.

#include "cli/Commands.h"
#include "cli/LanguageChoice.h"
#include "cli/ProgramStart.h"

#include <iostream>
#include <vector>

int main(int argc, char** argv) {
  using namespace vpr::cli;
  CLI::App app{"VPR-40T command-line tool: read, write, inspect and convert radio images.", "vpr40t-cli"};
  app.require_subcommand(1);
  app.set_help_all_flag("--help-all", "Show the help of every command");
  app.set_version_flag("--version", "vpr40t-cli " VPR_VERSION);
  std::string language;
  app.add_option("--language", language,
                 "The language of the texts (English, German or its code: en, de); the environment's "
                 "language when not given");
  // --language may stand before or after the command's name.
  app.fallthrough();

  std::vector<Command> commands = {
      addNewCommand(app),        addInfoCommand(app),     addDumpCommand(app), addReadCommand(app),
      addWriteCommand(app),      addDetectCommand(app),   addTestCommand(app), addExportCommand(app),
      addImportCommand(app),     addChannelsCommand(app), addDiffCommand(app), addPrintCommand(app),
      addCompletionCommand(app),
  };

  // Every path and message is UTF-8 text, the command line's too.
  ProgramStart::prepareStandardStreams();
  const std::vector<std::string> arguments = ProgramStart::arguments(argc, argv);
  std::vector<const char*> argumentTexts;
  for (const std::string& argument : arguments)
    argumentTexts.push_back(argument.c_str());
  try {
    app.parse(static_cast<int>(argumentTexts.size()), argumentTexts.data());
  } catch (const CLI::ParseError& error) {
    const int status = app.exit(error);
    return status == 0 ? kExitDone : kExitUsage;
  }

  TerminalUserInterface ui(std::cerr);
  if (!LanguageChoice::load(language, ProgramStart::environmentLanguage(), ui, ProgramStart::programFolder()))
    return kExitFailed;

  for (const Command& command : commands) {
    if (command.subcommand->parsed()) return command.run(ui);
  }
  return kExitUsage;
}
