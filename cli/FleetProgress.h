#pragma once
// The progress of several radios on standard error, one line per port. On a terminal the
// lines are redrawn in place, each showing its port's bar and then its result; in a log each
// port gets a line when a phase starts and when it ends. Ports report from their own threads:
// every call takes the lock, so lines never mix.

#include <cstddef>
#include <iosfwd>
#include <mutex>
#include <string>
#include <vector>

namespace vpr::cli {

class FleetProgress {
public:
  FleetProgress(std::ostream& out, std::vector<std::string> ports, bool onTerminal, bool quiet);
  void show(std::size_t port, int done, int total, const std::string& label);
  // The port's line becomes its result.
  void finish(std::size_t port, const std::string& result);

private:
  // Writes every line anew below the first one drawn (terminal only).
  void redraw();
  void logLine(std::size_t port, const std::string& text);
  std::string prefix(std::size_t port) const;

  std::mutex mutex_;
  std::ostream& out_;
  std::vector<std::string> ports_;
  std::vector<std::string> lines_;
  std::vector<std::string> logged_; // the last line a log got for each port
  std::size_t nameWidth_ = 0;
  bool onTerminal_;
  bool quiet_;
  bool drawn_ = false;
};

} // namespace vpr::cli
