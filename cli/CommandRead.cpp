#include "cli/BackupOptions.h"
#include "cli/Commands.h"
#include "cli/FileArguments.h"
#include "cli/FleetJobs.h"
#include "cli/RadioTerminal.h"
#include "link/RadioTransfer.h"

#include <iostream>
#include <memory>
#include <unistd.h>

namespace vpr::cli {

Command addReadCommand(CLI::App& app) {
  struct Options {
    FleetArguments ports;
    RadioVerbosity verbosity;
    std::string output;
    BackupOptions backup;
  };
  auto options = std::make_shared<Options>();
  CLI::App* sub = app.add_subcommand("read", "Read the image from a radio into a data file");
  options->ports.addTo(*sub);
  addVerbosityFlags(sub, options->verbosity);
  sub->add_option(
         "-o,--output", options->output,
         "The data file to write (- for standard output); with several ports, the folder for their files")
      ->required();
  options->backup.addTo(*sub);
  return {sub, [options](TerminalUserInterface&) {
            if (options->ports.isFleet())
              return readFromFleet(options->ports, options->output,
                                   options->backup.off ? std::string() : options->backup.resolvedFolder(),
                                   {options->verbosity.quiet, isatty(STDERR_FILENO) != 0});
            RadioTerminal terminal(std::cerr, std::cin, isatty(STDERR_FILENO) != 0, false);
            terminal.applyVerbosity(options->verbosity, g_radioComm);
            selectPort(g_radioComm, options->ports.portNames().front());
            // The image reaches the file only after every block arrived.
            RadioImage image = clearedImage();
            const int result = runReadTransfer(g_radioComm, terminal, image);
            if (result != 0) {
              return kExitFailed;
            }
            if (!options->backup.off) backUpReadImage(terminal, image, options->backup.resolvedFolder());
            if (!writeImageArgument(options->output, image, terminal)) return kExitFailed;
            if (options->output != kStandardStream) std::cout << options->output << '\n';
            return kExitDone;
          }};
}

} // namespace vpr::cli
