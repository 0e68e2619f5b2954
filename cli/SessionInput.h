#pragma once
// Standard input of an interactive session, line by line, as a pipe from an alignment bench
// delivers it: a line is handed on as soon as its line end arrives (never waiting for more),
// lines longer than a limit are reported as such and skipped, and the wait for the next line
// ends early at a deadline or when SIGINT, SIGTERM or SIGHUP arrives.
//
// While a SessionInput exists those signals are held back except while it waits, so that a
// radio exchange in progress is never interrupted half-way; and SIGPIPE is ignored, so that a
// bench that goes away shows as a failed write instead of killing the session. POSIX only.

#include <chrono>
#include <csignal>
#include <optional>
#include <string>

namespace vpr::cli {

class SessionInput {
public:
  using Clock = std::chrono::steady_clock;

  enum class Event { Line, Overlong, EndOfInput, Signal, Deadline };

  SessionInput(int fd, std::size_t maxLineLength);
  ~SessionInput();
  SessionInput(const SessionInput&) = delete;
  SessionInput& operator=(const SessionInput&) = delete;

  // Waits for the next line (stored in line, without its line end) until the deadline, if any.
  Event next(std::string& line, std::optional<Clock::time_point> deadline);

private:
  // A complete line from the buffer, if there is one.
  std::optional<Event> takeLine(std::string& line);

  int fd_;
  std::size_t maxLineLength_;
  std::string buffer_;
  bool skipping_ = false; // the rest of an overlong line is being dropped
  bool ended_ = false;
  sigset_t previousMask_{};
  struct sigaction previousActions_[3]{};
  struct sigaction previousPipe_ {};
};

} // namespace vpr::cli
