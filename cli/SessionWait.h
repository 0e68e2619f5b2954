#pragma once
// The platform's part of an interactive session's input: waiting until standard input has bytes,
// until it ends, until a deadline, or until the user asks the session to stop, whichever comes
// first. Standard input may be a pipe, a file or a terminal (a console on Windows).
//
// A stop request is noted and reported by the next wait, never acted on at once, so that a radio
// exchange in progress is never broken off half-way. On POSIX a stop request is SIGINT, SIGTERM or
// SIGHUP, held back except while waiting, and SIGPIPE is ignored, so that a reader that went away
// shows as a failed write (cli/posix). On Windows it is Ctrl+C, Ctrl+Break, closing the console
// window, logging off or shutting down; for the last three the system ends the process once its
// handler returns, so the handler waits until the SessionWait is gone, the session's clean-up
// done (cli/win32). Only one SessionWait exists at a time. Splitting the bytes into lines is the
// caller's (SessionInput).

#include <chrono>
#include <memory>
#include <optional>
#include <string>

namespace vpr::cli {

class SessionWait {
public:
  using Clock = std::chrono::steady_clock;

  enum class Result { Input, EndOfInput, Stop, Deadline };

  SessionWait();
  ~SessionWait();
  SessionWait(const SessionWait&) = delete;
  SessionWait& operator=(const SessionWait&) = delete;

  // Waits until the deadline, if any. Input appends the bytes that arrived to bytes; a stop
  // request comes before input already waiting; end of input is reported again on every call.
  Result wait(std::string& bytes, std::optional<Clock::time_point> deadline);

private:
  struct State;
  std::unique_ptr<State> state_;
};

} // namespace vpr::cli
