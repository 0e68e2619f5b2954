#include "cli/BackupOptions.h"
#include "cli/CliText.h"
#include "cli/Commands.h"
#include "cli/FleetJobs.h"
#include "cli/ImageReport.h"
#include "cli/RadioTerminal.h"
#include "lang/TextFormat.h"
#include "link/RadioTransfer.h"
#include "link/RecordedWrite.h"
#include "link/SerialDevice.h"

#include <iostream>
#include <memory>
#include <unistd.h>

namespace vpr::cli {

Command addWriteCommand(CLI::App& app) {
  struct Options {
    FleetArguments ports;
    RadioVerbosity verbosity;
    std::string file;
    bool yes = false;
    bool noVerify = false;
    BackupOptions backup;
  };
  auto options = std::make_shared<Options>();
  CLI::App* sub = app.add_subcommand("write", "Write a data file into a radio");
  options->ports.addTo(*sub);
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
            RadioImage image;
            if (!loadDataFile(options->file, image, terminal)) return kExitFailed;
            WriteSafety safety;
            safety.backup = !options->backup.off;
            safety.backupFolder = options->backup.resolvedFolder();
            safety.verify = !options->noVerify;
            if (options->ports.isFleet())
              return writeToFleet(options->ports, options->file, image, safety, options->yes,
                                  {options->verbosity.quiet, isatty(STDERR_FILENO) != 0});
            FleetRecorder recorder = recorderFor(options->ports.recordPath());
            const std::string port = options->ports.portNames().front();
            selectPort(g_radioComm, port);
            const RecordedWrite written =
                writeAndRecord(g_radioComm, terminal, image, safety, recorder, port, options->file);
            const FleetPortResult& outcome = written.outcome;
            const std::string& recordProblem = written.recordProblem;
            if (!recordProblem.empty()) terminal.fail(recordProblem);
            // 2: the radio took and kept the image; only closing the port failed afterwards.
            if (outcome.status != 0 && outcome.status != 2) {
              return kExitFailed;
            }
            if (outcome.status == 2)
              terminal.warning(
                  formatText(cliText(kTextCloseFailed),
                             {g_radioComm.DeviceName(), serialErrorText(g_radioComm.LastSystemError())}));
            std::cout << writeSuccessText(outcome.write) << '\n';
            return recordProblem.empty() ? kExitDone : kExitFailed;
          }};
}

} // namespace vpr::cli
