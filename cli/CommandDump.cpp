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
            RadioImage image;
            if (!loadDataFile(*file, image, ui)) return kExitFailed;
            const ImageView view(image);
            printSummary(std::cout, view);
            std::cout << '\n';
            printDump(std::cout, view);
            return kExitDone;
          }};
}

} // namespace vpr::cli
