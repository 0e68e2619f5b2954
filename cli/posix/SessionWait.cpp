#include "cli/SessionWait.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <sys/select.h>
#include <unistd.h>

namespace vpr::cli {

namespace {

constexpr int kSignals[3] = {SIGINT, SIGTERM, SIGHUP};
volatile std::sig_atomic_t signalled = 0;

extern "C" void noteSignal(int) {
  signalled = 1;
}

} // namespace

struct SessionWait::State {
  sigset_t previousMask{};
  struct sigaction previousActions[3]{};
  struct sigaction previousPipe {};
  bool ended = false;
};

SessionWait::SessionWait() : state_(std::make_unique<State>()) {
  signalled = 0;
  sigset_t held;
  sigemptyset(&held);
  struct sigaction action {};
  action.sa_handler = noteSignal;
  sigemptyset(&action.sa_mask);
  for (int i = 0; i < 3; ++i) {
    sigaddset(&held, kSignals[i]);
    sigaction(kSignals[i], &action, &state_->previousActions[i]);
  }
  sigprocmask(SIG_BLOCK, &held, &state_->previousMask);
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGPIPE, &ignore, &state_->previousPipe);
}

SessionWait::~SessionWait() {
  sigaction(SIGPIPE, &state_->previousPipe, nullptr);
  for (int i = 0; i < 3; ++i)
    sigaction(kSignals[i], &state_->previousActions[i], nullptr);
  sigprocmask(SIG_SETMASK, &state_->previousMask, nullptr);
}

SessionWait::Result SessionWait::wait(std::string& bytes, std::optional<Clock::time_point> deadline) {
  for (;;) {
    if (signalled) return Result::Stop;
    if (state_->ended) return Result::EndOfInput;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(STDIN_FILENO, &readable);
    timespec pause{};
    timespec* timeout = nullptr;
    if (deadline) {
      const auto left = std::max(Clock::duration::zero(), *deadline - Clock::now());
      const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
      pause.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
      pause.tv_nsec = static_cast<long>(ns % 1'000'000'000);
      timeout = &pause;
    }
    // The signals are let through only while waiting here.
    sigset_t waiting = state_->previousMask;
    for (int signal : kSignals)
      sigdelset(&waiting, signal);
    const int ready = pselect(STDIN_FILENO + 1, &readable, nullptr, nullptr, timeout, &waiting);
    if (ready < 0) {
      if (errno == EINTR) continue;
      state_->ended = true;
      continue;
    }
    if (ready == 0) return Result::Deadline;
    char chunk[512];
    const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) {
      state_->ended = true;
      continue;
    }
    bytes.append(chunk, static_cast<std::size_t>(n));
    return Result::Input;
  }
}

} // namespace vpr::cli
