#include "cli/Commands.h"
#include "cli/ImageReport.h"

#include <iostream>
#include <memory>

namespace vpr::cli {

Command addInfoCommand(CLI::App& app) {
  auto file = std::make_shared<std::string>();
  auto json = std::make_shared<bool>(false);
  CLI::App* sub =
      app.add_subcommand("info", "Show model, band, channel count and wide/narrow setting of a data file");
  sub->add_option("file", *file, "The data file (- for standard input)")->required();
  sub->add_flag("--json", *json, "Print one JSON object for scripts");
  return {sub, [file, json](TerminalUserInterface& ui) {
            RadioImage image;
            if (!loadDataFile(*file, image, ui)) return kExitFailed;
            if (*json)
              printSummaryJson(std::cout, ImageView(image));
            else
              printSummary(std::cout, ImageView(image));
            return kExitDone;
          }};
}

} // namespace vpr::cli
