#include "cli/SessionInput.h"

#include <algorithm>
#include <cerrno>
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

SessionInput::SessionInput(int fd, std::size_t maxLineLength) : fd_(fd), maxLineLength_(maxLineLength) {
  signalled = 0;
  sigset_t held;
  sigemptyset(&held);
  struct sigaction action {};
  action.sa_handler = noteSignal;
  sigemptyset(&action.sa_mask);
  for (int i = 0; i < 3; ++i) {
    sigaddset(&held, kSignals[i]);
    sigaction(kSignals[i], &action, &previousActions_[i]);
  }
  sigprocmask(SIG_BLOCK, &held, &previousMask_);
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGPIPE, &ignore, &previousPipe_);
}

SessionInput::~SessionInput() {
  sigaction(SIGPIPE, &previousPipe_, nullptr);
  for (int i = 0; i < 3; ++i)
    sigaction(kSignals[i], &previousActions_[i], nullptr);
  sigprocmask(SIG_SETMASK, &previousMask_, nullptr);
}

std::optional<SessionInput::Event> SessionInput::takeLine(std::string& line) {
  for (;;) {
    const auto end = buffer_.find('\n');
    if (end == std::string::npos) {
      if (buffer_.size() > maxLineLength_ && !skipping_) {
        buffer_.clear();
        skipping_ = true;
        return Event::Overlong;
      }
      if (skipping_) buffer_.clear();
      return std::nullopt;
    }
    std::string taken = buffer_.substr(0, end);
    buffer_.erase(0, end + 1);
    if (skipping_) {
      skipping_ = false; // the end of the overlong line: already reported
      continue;
    }
    if (!taken.empty() && taken.back() == '\r') taken.pop_back();
    if (taken.size() > maxLineLength_) return Event::Overlong;
    line = std::move(taken);
    return Event::Line;
  }
}

SessionInput::Event SessionInput::next(std::string& line, std::optional<Clock::time_point> deadline) {
  for (;;) {
    if (signalled) return Event::Signal;
    if (const auto taken = takeLine(line)) return *taken;
    if (ended_) {
      // A last line without its line end still counts.
      if (buffer_.empty() || skipping_) return Event::EndOfInput;
      line.swap(buffer_);
      buffer_.clear();
      return line.size() > maxLineLength_ ? Event::Overlong : Event::Line;
    }
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(fd_, &readable);
    timespec wait{};
    timespec* timeout = nullptr;
    if (deadline) {
      const auto left = std::max(Clock::duration::zero(), *deadline - Clock::now());
      const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
      wait.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
      wait.tv_nsec = static_cast<long>(ns % 1'000'000'000);
      timeout = &wait;
    }
    // The signals are let through only while waiting here.
    sigset_t waiting = previousMask_;
    for (int signal : kSignals)
      sigdelset(&waiting, signal);
    const int ready = pselect(fd_ + 1, &readable, nullptr, nullptr, timeout, &waiting);
    if (ready < 0) {
      if (errno == EINTR) continue;
      return Event::EndOfInput;
    }
    if (ready == 0) return Event::Deadline;
    char chunk[512];
    const ssize_t n = ::read(fd_, chunk, sizeof chunk);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) {
      ended_ = true;
      continue;
    }
    buffer_.append(chunk, static_cast<std::size_t>(n));
  }
}

} // namespace vpr::cli
