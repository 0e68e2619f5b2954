#pragma once
// The terminal as the radio commands use it: a progress bar on standard error, the model
// question asked on the terminal when standard input is one (refused otherwise, unless --yes).
// A port that cannot be opened is explained by the message itself (port, device and cause).

#include "cli/TerminalUserInterface.h"
#include "link/CRadioComm.h"

#include <CLI/CLI.hpp>

#include <iosfwd>
#include <string>

namespace vpr::cli {

// --verbose prints every byte exchanged with the radio (for bug reports); --quiet prints no
// progress. Messages about failures are printed either way.
struct RadioVerbosity {
  bool verbose = false;
  bool quiet = false;
};
void addVerbosityFlags(CLI::App* command, RadioVerbosity& verbosity);

class RadioTerminal : public TerminalUserInterface {
public:
  // barOnTerminal: standard error is a terminal (the bar is redrawn in place); askOnTerminal:
  // questions may be asked and answered there.
  RadioTerminal(std::ostream& errors, std::istream& answers, bool barOnTerminal, bool askOnTerminal);

  MessageAnswer showMessage(const MessageRequest& request) override;
  void reportProgress(int done, int total, const std::string& label) override;

  // Quiet: no progress; verbose: the bytes on the port's line, "> " sent and "< " received.
  void applyVerbosity(const RadioVerbosity& verbosity, CComPort& port);

private:
  // One line of the bar: in place on a terminal, a line of its own in a log.
  void drawBar(int done, int total, const std::string& label);

  std::ostream& errors_;
  std::istream& answers_;
  bool barOnTerminal_;
  bool askOnTerminal_;
  bool barOpen_ = false;
  bool startPending_ = false; // a transfer started; its empty bar is not drawn yet
  bool quiet_ = false;
  int lastLogged_ = -1;
};

// The bar of a progress line: "[####----]", filled done of total.
std::string progressBar(int done, int total);

// Points the radio link at the port given on the command line: a number 1..20 or a device path.
void selectPort(CRadioComm& radio, const std::string& port);

// The validator of the --port option.
std::string checkPortArgument(const std::string& port);

} // namespace vpr::cli
