#include "cli/SessionWait.h"

#include <algorithm>
#include <mutex>
#include <thread>

#include <windows.h>

namespace vpr::cli {

namespace {

// How long the handler of a console close, log-off or shut-down holds the process for the
// session's clean-up: the system ends it after five seconds in any case.
constexpr DWORD kCloseGraceMs = 4500;

// Manual-reset events shared with the console control handler, which the system runs on a
// thread of its own: a stop was asked for; the session's clean-up is done. They last as long as
// the process, so that a handler still running after its session never meets a closed handle.
const HANDLE stopRequested = CreateEventW(nullptr, TRUE, FALSE, nullptr);
const HANDLE sessionFinished = CreateEventW(nullptr, TRUE, FALSE, nullptr);

BOOL WINAPI onConsoleControl(DWORD type) {
  switch (type) {
  case CTRL_C_EVENT:
  case CTRL_BREAK_EVENT:
    SetEvent(stopRequested);
    return TRUE;
  case CTRL_CLOSE_EVENT:
  case CTRL_LOGOFF_EVENT:
  case CTRL_SHUTDOWN_EVENT:
    // The process ends as soon as this returns: the session unkeys first.
    SetEvent(stopRequested);
    WaitForSingleObject(sessionFinished, kCloseGraceMs);
    return TRUE;
  default:
    return FALSE;
  }
}

// Standard input as a thread reads it: neither an anonymous pipe nor a console in line mode can
// be waited on for bytes, but a blocking read on a thread of its own can. The thread outlives
// the session when its read never returns; the process ending ends it.
struct InputReader {
  std::mutex lock;
  std::string bytes;
  bool ended = false;
  HANDLE arrived = CreateEventW(nullptr, FALSE, FALSE, nullptr); // auto-reset: new bytes or the end

  ~InputReader() { CloseHandle(arrived); }

  static void run(std::shared_ptr<InputReader> reader, HANDLE input) {
    for (;;) {
      char chunk[512];
      DWORD got = 0;
      const bool read = ReadFile(input, chunk, sizeof chunk, &got, nullptr) != FALSE;
      {
        const std::lock_guard<std::mutex> guard(reader->lock);
        if (read && got > 0)
          reader->bytes.append(chunk, got);
        else
          reader->ended = true; // the end of a pipe or file, or a read that failed
      }
      SetEvent(reader->arrived);
      if (!read || got == 0) return;
    }
  }
};

} // namespace

struct SessionWait::State {
  std::shared_ptr<InputReader> reader = std::make_shared<InputReader>();
};

SessionWait::SessionWait() : state_(std::make_unique<State>()) {
  ResetEvent(stopRequested);
  ResetEvent(sessionFinished);
  SetConsoleCtrlHandler(onConsoleControl, TRUE);
  std::thread(InputReader::run, state_->reader, GetStdHandle(STD_INPUT_HANDLE)).detach();
}

SessionWait::~SessionWait() {
  SetConsoleCtrlHandler(onConsoleControl, FALSE);
  // A handler already waiting lets the process end now.
  SetEvent(sessionFinished);
}

SessionWait::Result SessionWait::wait(std::string& bytes, std::optional<Clock::time_point> deadline) {
  InputReader& reader = *state_->reader;
  for (;;) {
    if (WaitForSingleObject(stopRequested, 0) == WAIT_OBJECT_0) return Result::Stop;
    {
      const std::lock_guard<std::mutex> guard(reader.lock);
      if (!reader.bytes.empty()) {
        bytes += reader.bytes;
        reader.bytes.clear();
        return Result::Input;
      }
      if (reader.ended) return Result::EndOfInput;
    }
    DWORD timeout = INFINITE;
    if (deadline) {
      const auto left = std::max(Clock::duration::zero(), *deadline - Clock::now());
      // Rounded up, so that the deadline has passed when the wait ends.
      const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
      timeout = static_cast<DWORD>(std::min<long long>(ms, INFINITE - 1));
    }
    const HANDLE events[2] = {stopRequested, reader.arrived};
    const DWORD woken = WaitForMultipleObjects(2, events, FALSE, timeout);
    if (woken == WAIT_TIMEOUT) return Result::Deadline;
    if (woken == WAIT_FAILED) return Result::EndOfInput;
  }
}

} // namespace vpr::cli
