#include "link/StopSignals.h"

#include <csignal>

namespace vpr {

namespace {

volatile std::sig_atomic_t caught = 0;

extern "C" void noteStop(int number) {
  if (caught == 0) caught = number;
  // Where a handler is reset on delivery, it is put back.
  std::signal(number, noteStop);
}

constexpr int kStopSignals[] = {
    SIGTERM,
    SIGINT,
#ifdef SIGHUP
    SIGHUP,
#endif
};

} // namespace

void StopSignals::install() {
  for (int number : kStopSignals)
    std::signal(number, noteStop);
}

bool StopSignals::requested() {
  return caught != 0;
}

int StopSignals::signalNumber() {
  return caught;
}

void StopSignals::reset() {
  caught = 0;
}

} // namespace vpr
