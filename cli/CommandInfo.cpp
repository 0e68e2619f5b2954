#include "cli/Commands.h"
#include "cli/ImageReport.h"

#include <iostream>
#include <memory>

namespace vpr::cli {

Command addInfoCommand(CLI::App& app) {
  auto file = std::make_shared<std::string>();
  CLI::App* sub =
      app.add_subcommand("info", "Show model, band, channel count and wide/narrow setting of a data file");
  sub->add_option("file", *file, "The data file")->required();
  return {sub, [file](TerminalUserInterface& ui) {
            RadioData data;
            if (!loadDataFile(*file, data, ui)) return kExitFailed;
            printSummary(std::cout, data);
            return kExitDone;
          }};
}

} // namespace vpr::cli
