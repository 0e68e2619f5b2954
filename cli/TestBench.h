#pragma once
// The command language of the scriptable test-mode session that alignment benches drive through
// a pipe: one command per line in, one answer line out, beginning "ok" or "error". It runs the
// commands on a TestModeSession; reading the lines, waiting and signals are the caller's.
//
// Commands: channel N, signalling N, transmit on|off, adjust ITEM, value V, apply, leave,
// status, quit. A refused command changes nothing and sends nothing. A failed radio command is
// answered with the radio's trouble and the session goes on, so that it can still unkey and quit.

#include "cli/TerminalUserInterface.h"
#include "link/TestModeSession.h"

#include <functional>
#include <string>

namespace vpr::cli {

class TestBench {
public:
  // The longest command line taken (longer ones are refused as a whole).
  static constexpr std::size_t kMaxLineLength = 200;

  // Messages of the session go to errors; Retry/Cancel questions are answered with Cancel.
  TestBench(CRadioComm& radio, RadioImage& image, std::ostream& errors);

  // Opens the test mode (port and start sequence); an "error ..." line when that failed.
  std::optional<std::string> begin();
  // The answer to one command line (without its line end). quit is set by "quit".
  std::string answer(const std::string& line, bool& quit);
  // The answer to a line that was longer than kMaxLineLength.
  static std::string overlongLine();
  // Leaves an open adjustment, unkeys and closes the port; true when all of it succeeded.
  bool finish();
  // Unkeys a transmitter keyed for longer than the limit; the notice for standard error, or
  // nothing when there was nothing to do.
  std::optional<std::string> enforceTransmitLimit(TestModeSession::Clock::time_point now);

  TestModeSession& session() { return session_; }

private:
  // Keeps the text of the last message for the error line.
  class BenchUserInterface : public TerminalUserInterface {
  public:
    using TerminalUserInterface::TerminalUserInterface;
    MessageAnswer showMessage(const MessageRequest& request) override;
    std::string lastMessage;
  };

  std::string run(const std::string& word, const std::string& argument, bool& quit);
  // The answer to a request the session's state refuses: why.
  std::string refused(TestModeSession::Request request) const;
  // The answer to a command that has run: "ok " and the text done() gives (asked only now, so
  // that it shows the state after the command), or the error line.
  std::string outcome(TestModeSession::Outcome result, const std::function<std::string()>& done);
  std::string status() const;
  std::string channelText() const;
  std::string adjustmentText() const;

  BenchUserInterface ui_;
  TestModeSession session_;
};

} // namespace vpr::cli
