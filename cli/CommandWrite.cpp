#include "cli/BackupOptions.h"
#include "cli/CliText.h"
#include "cli/Commands.h"
#include "cli/ImageReport.h"
#include "cli/RadioTerminal.h"
#include "lang/TextFormat.h"
#include "link/RadioTransfer.h"
#include "link/SerialDevice.h"

#include <iostream>
#include <memory>
#include <unistd.h>

namespace vpr::cli {

Command addWriteCommand(CLI::App& app) {
  struct Options {
    std::string port;
    RadioVerbosity verbosity;
    std::string file;
    bool yes = false;
    bool noVerify = false;
    BackupOptions backup;
  };
  auto options = std::make_shared<Options>();
  CLI::App* sub = app.add_subcommand("write", "Write a data file into a radio");
  sub->add_option("--port", options->port, "Port number 1..20 or device path")
      ->required()
      ->check(CLI::Validator(checkPortArgument, "PORT"));
  addVerbosityFlags(sub, options->verbosity);
  sub->add_option("file", options->file, "The data file to write (- for standard input)")->required();
  sub->add_flag("--yes", options->yes, "Write to a radio of another model or band without asking");
  sub->add_flag("--no-verify", options->noVerify, "Do not read the data back to check it");
  options->backup.addTo(*sub);
  return {sub, [options](TerminalUserInterface&) {
            // The model question is asked on the terminal; without one only --yes answers it.
            RadioTerminal terminal(std::cerr, std::cin, isatty(STDERR_FILENO) != 0,
                                   isatty(STDIN_FILENO) != 0);
            terminal.applyVerbosity(options->verbosity, g_radioComm);
            terminal.setAssumeYes(options->yes);
            RadioData data;
            if (!loadDataFile(options->file, data, terminal)) return kExitFailed;
            selectPort(g_radioComm, options->port);
            WriteSafety safety;
            safety.backup = !options->backup.off;
            safety.backupFolder = options->backup.resolvedFolder();
            safety.verify = !options->noVerify;
            WriteReport report;
            const int result = runSafeWrite(g_radioComm, terminal, data.editImage, safety, report);
            // 2: the radio took and kept the image; only closing the port failed afterwards.
            if (result != 0 && result != 2) {
              terminal.explainPortFailure(g_radioComm);
              return kExitFailed;
            }
            if (result == 2)
              terminal.warning(
                  formatText(cliText(kTextCloseFailed),
                             {g_radioComm.DeviceName(), serialErrorText(g_radioComm.LastSystemError())}));
            std::cout << writeSuccessText(report) << '\n';
            return kExitDone;
          }};
}

} // namespace vpr::cli
