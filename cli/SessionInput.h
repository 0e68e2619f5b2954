#pragma once
// Standard input of an interactive session, line by line, as a pipe from an alignment bench
// delivers it: a line is handed on as soon as its line end arrives (never waiting for more),
// lines longer than a limit are reported as such and skipped, and the wait for the next line
// ends early at a deadline or when the user asks the session to stop (a signal, or a console
// control event on Windows; see SessionWait, which also keeps a stop from breaking into a
// radio exchange while a SessionInput exists).

#include "cli/SessionWait.h"

#include <optional>
#include <string>

namespace vpr::cli {

class SessionInput {
public:
  using Clock = SessionWait::Clock;

  enum class Event { Line, Overlong, EndOfInput, Signal, Deadline };

  explicit SessionInput(std::size_t maxLineLength);

  // Waits for the next line (stored in line, without its line end) until the deadline, if any.
  Event next(std::string& line, std::optional<Clock::time_point> deadline);

private:
  // A complete line from the buffer, if there is one.
  std::optional<Event> takeLine(std::string& line);

  SessionWait wait_;
  std::size_t maxLineLength_;
  std::string buffer_;
  bool skipping_ = false; // the rest of an overlong line is being dropped
};

} // namespace vpr::cli
