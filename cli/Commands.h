#pragma once
// The commands of vpr40t-cli. Each command adds its subcommand with its options to the parser
// and returns the function that carries it out once the command line has been parsed.
//
// Exit status: 0 done, 1 failed (a message naming the cause on standard error), 2 usage error.
// Results go to standard output, messages and progress to standard error.

#include "cli/TerminalUserInterface.h"
#include "model/ImportProblem.h"

#include <CLI/CLI.hpp>

#include <functional>
#include <string>
#include <vector>

namespace vpr::cli {

inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct Command {
  CLI::App* subcommand;
  std::function<int(TerminalUserInterface& ui)> run;
};

// new (--row N | --model NAME --band NAME) -o FILE.dat: writes the default image of a model row.
Command addNewCommand(CLI::App& app);
// info FILE.dat [--json]: model, band, channel count and wide/narrow setting.
Command addInfoCommand(CLI::App& app);
// dump FILE.dat: channels, test frequencies, optional features and the Moni key as text.
Command addDumpCommand(CLI::App& app);
// read --port P -o FILE.dat: reads a radio into a data file; P is 1..20 or a device path.
Command addReadCommand(CLI::App& app);
// write --port P FILE.dat [--yes]: writes a data file into a radio.
Command addWriteCommand(CLI::App& app);
// detect --port P: identifies the connected radio without reading its image.
Command addDetectCommand(CLI::App& app);
// test --port P FILE.dat [--save OUT.dat]: the test-mode session for alignment benches.
Command addTestCommand(CLI::App& app);
// print FILE.dat --pdf OUT.pdf [--sections LIST] [--channels A-B] [--landscape]: the printout as
// a PDF file, drawn without a display.
Command addPrintCommand(CLI::App& app);
// diff A.dat B.dat | diff --port P FILE.dat [--json]: the fields that differ; exit 0 the same, 1 different,
// 2 trouble (a file that does not load, a radio that cannot be read, a usage error).
Command addDiffCommand(CLI::App& app);

// export FILE.dat [-o FILE.yaml]: the whole configuration as YAML.
Command addExportCommand(CLI::App& app);
// import FILE.yaml -o FILE.dat: a data file from YAML; nothing is written on any problem.
Command addImportCommand(CLI::App& app);
// channels FILE.dat --csv OUT.csv | --import IN.csv -o OUT.dat [--skip-invalid]: channel lists.
Command addChannelsCommand(CLI::App& app);

// completion bash|zsh [-o FILE]: the shell completion script, made from the command table.
Command addCompletionCommand(CLI::App& app);
// Prints the problems found in a file, one line each, with the file's name.
void reportFileProblems(const std::string& path, const std::vector<ImportProblem>& problems,
                        TerminalUserInterface& ui);

} // namespace vpr::cli
