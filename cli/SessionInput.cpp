#include "cli/SessionInput.h"

namespace vpr::cli {

SessionInput::SessionInput(std::size_t maxLineLength) : maxLineLength_(maxLineLength) {}

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
    if (const auto taken = takeLine(line)) return *taken;
    switch (wait_.wait(buffer_, deadline)) {
    case SessionWait::Result::Input:
      continue;
    case SessionWait::Result::Stop:
      return Event::Signal;
    case SessionWait::Result::Deadline:
      return Event::Deadline;
    case SessionWait::Result::EndOfInput:
      // A last line without its line end still counts.
      if (buffer_.empty() || skipping_) return Event::EndOfInput;
      line.swap(buffer_);
      buffer_.clear();
      return line.size() > maxLineLength_ ? Event::Overlong : Event::Line;
    }
  }
}

} // namespace vpr::cli
