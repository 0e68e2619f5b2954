#include "cli/RadioTerminal.h"

#include "cli/CliText.h"

#include "lang/CLanguageTable.h"
#include "link/PortSurvey.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <istream>
#include <ostream>

namespace vpr::cli {

namespace {

constexpr int kTextOk = 10002001;
constexpr int kTextCancel = 10002002;
constexpr int kTextOpenFailed = 10026002;
constexpr int kBarWidth = 32;

std::string lower(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// A number 1..20, or nothing.
int portNumberOf(const std::string& port) {
  if (port.empty() || port.size() > 2) return 0;
  for (char c : port)
    if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
  const int n = std::stoi(port);
  return n >= 1 && n <= 20 ? n : 0;
}

} // namespace

RadioTerminal::RadioTerminal(std::ostream& errors, std::istream& answers, bool barOnTerminal,
                             bool askOnTerminal)
    : TerminalUserInterface(errors), errors_(errors), answers_(answers), barOnTerminal_(barOnTerminal),
      askOnTerminal_(askOnTerminal) {}

MessageAnswer RadioTerminal::showMessage(const MessageRequest& request) {
  if (barOpen_) {
    errors_ << '\n';
    barOpen_ = false;
  }
  if (request.text == textOf(kTextOpenFailed)) portFailed_ = true;
  if (request.buttons != MessageButtons::OkCancel || assumeYes() || !askOnTerminal_) {
    const MessageAnswer answer = TerminalUserInterface::showMessage(request);
    if (request.buttons == MessageButtons::OkCancel && answer != MessageAnswer::Ok)
      fail(cliText(kTextAnswerWithYes));
    return answer;
  }
  // A question on the terminal: OK only when the user types the OK caption or its first letter.
  const std::string ok = textOf(kTextOk);
  errors_ << request.text << " (" << ok << "/" << textOf(kTextCancel) << ") " << std::flush;
  std::string line;
  if (!std::getline(answers_, line)) return MessageAnswer::Cancel;
  const std::string typed = lower(trimmed(line));
  const bool yes = !typed.empty() && (typed == lower(ok) || (typed.size() == 1 && typed[0] == lower(ok)[0]));
  return yes ? MessageAnswer::Ok : MessageAnswer::Cancel;
}

void addVerbosityFlags(CLI::App* command, RadioVerbosity& verbosity) {
  auto* verbose =
      command->add_flag("-v,--verbose", verbosity.verbose, "Print every byte exchanged with the radio (hex)");
  auto* quiet = command->add_flag("-q,--quiet", verbosity.quiet, "Print no progress");
  verbose->excludes(quiet);
}

void RadioTerminal::applyVerbosity(const RadioVerbosity& verbosity, CComPort& port) {
  quiet_ = verbosity.quiet;
  if (!verbosity.verbose) return;
  port.SetByteTrace([this](bool sent, const std::uint8_t* data, std::size_t count) {
    if (barOpen_) errors_ << '\n';
    barOpen_ = false;
    errors_ << (sent ? ">" : "<");
    char byte[4];
    for (std::size_t i = 0; i < count; ++i) {
      std::snprintf(byte, sizeof byte, " %02X", data[i]);
      errors_ << byte;
    }
    errors_ << '\n';
  });
}

void RadioTerminal::reportProgress(int done, int total, const std::string& label) {
  if (total <= 0 || quiet_) return;
  const bool finished = done >= total;
  // The empty bar waits for the first step: a transfer may ask the model question before it.
  if (done == 0 && !finished) {
    startPending_ = true;
    return;
  }
  if (!barOnTerminal_) {
    // A log gets the first and the last line only.
    if (startPending_) drawBar(0, total, label);
    startPending_ = false;
    if (!finished || done == lastLogged_) return;
  }
  startPending_ = false;
  lastLogged_ = done;
  drawBar(done, total, label);
}

void RadioTerminal::drawBar(int done, int total, const std::string& label) {
  const bool finished = done >= total;
  errors_ << (barOnTerminal_ ? "\r" : "") << progressBar(done, total) << ' ' << label;
  if (barOnTerminal_ && !finished) {
    errors_ << std::flush;
    barOpen_ = true;
  } else {
    errors_ << '\n';
    barOpen_ = false;
  }
}

void RadioTerminal::explainPortFailure(const CRadioComm& radio) {
  if (!portFailed_ || radio.LastSystemError() == 0) return;
  fail(portOpenFailure(radio, cliText));
}

std::string progressBar(int done, int total) {
  const int filled =
      total > 0 ? static_cast<int>(static_cast<long>(std::min(done, total)) * kBarWidth / total) : 0;
  return '[' + std::string(static_cast<std::size_t>(filled), '#') +
         std::string(static_cast<std::size_t>(kBarWidth - filled), '-') + ']';
}

void selectPort(CRadioComm& radio, const std::string& port) {
  if (const int number = portNumberOf(port)) {
    radio.SetPortNumber(static_cast<std::uint8_t>(number));
    return;
  }
  // A device path stands in for port 1 of this run.
  radio.SetPortPath(1, port);
  radio.SetPortNumber(1);
}

std::string checkPortArgument(const std::string& port) {
  if (portNumberOf(port)) return {};
  if (port.find_first_of("/\\") != std::string::npos) return {};
  return "a port is a number from 1 to 20 or a device path";
}

} // namespace vpr::cli
