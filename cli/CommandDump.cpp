#include "cli/Commands.h"
#include "cli/ImageReport.h"

#include <iostream>
#include <memory>

namespace vpr::cli {

Command addDumpCommand(CLI::App& app) {
  auto file = std::make_shared<std::string>();
  CLI::App* sub = app.add_subcommand(
      "dump", "Show the channels, test frequencies, optional features and key of a data file");
  sub->add_option("file", *file, "The data file")->required();
  return {sub, [file](TerminalUserInterface& ui) {
            RadioData data;
            if (!loadDataFile(*file, data, ui)) return kExitFailed;
            printSummary(std::cout, data);
            std::cout << '\n';
            printDump(std::cout, data);
            return kExitDone;
          }};
}

} // namespace vpr::cli
