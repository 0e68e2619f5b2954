#include "cli/FleetProgress.h"

#include "cli/RadioTerminal.h"

#include <algorithm>
#include <ostream>

namespace vpr::cli {

namespace {

// Moves the cursor to the start of the line n lines up, and clears a whole line.
std::string linesUp(std::size_t n) {
  return "\x1b[" + std::to_string(n) + "F";
}
constexpr const char* kClearLine = "\x1b[2K";

} // namespace

FleetProgress::FleetProgress(std::ostream& out, std::vector<std::string> ports, bool onTerminal, bool quiet)
    : out_(out), ports_(std::move(ports)), lines_(ports_.size()), logged_(ports_.size()),
      onTerminal_(onTerminal), quiet_(quiet) {
  for (const std::string& port : ports_)
    nameWidth_ = std::max(nameWidth_, port.size());
}

std::string FleetProgress::prefix(std::size_t port) const {
  return ports_[port] + std::string(nameWidth_ - ports_[port].size(), ' ') + "  ";
}

void FleetProgress::show(std::size_t port, int done, int total, const std::string& label) {
  if (quiet_ || total <= 0) return;
  const std::lock_guard<std::mutex> lock(mutex_);
  if (!onTerminal_) {
    // A phase's first and last step.
    if (done == 0 || done >= total) logLine(port, label);
    return;
  }
  std::string line = progressBar(done, total) + ' ' + label;
  if (line == lines_[port]) return;
  lines_[port] = std::move(line);
  redraw();
}

void FleetProgress::finish(std::size_t port, const std::string& result) {
  if (quiet_) return;
  const std::lock_guard<std::mutex> lock(mutex_);
  lines_[port] = result;
  if (onTerminal_)
    redraw();
  else
    logLine(port, result);
}

void FleetProgress::logLine(std::size_t port, const std::string& text) {
  if (text == logged_[port]) return;
  logged_[port] = text;
  out_ << prefix(port) << text << '\n' << std::flush;
}

void FleetProgress::redraw() {
  if (drawn_) out_ << linesUp(lines_.size());
  for (std::size_t i = 0; i < lines_.size(); ++i)
    out_ << kClearLine << prefix(i) << lines_[i] << '\n';
  out_ << std::flush;
  drawn_ = true;
}

} // namespace vpr::cli
