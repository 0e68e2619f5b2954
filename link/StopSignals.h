#pragma once
// The signals that ask a program to stop (SIGTERM, SIGINT and, where it exists, SIGHUP), caught
// so that a radio on the line is left safe first: the handler only notes the request, and the
// program looks at it from its own loop, ends a test mode (the transmitter unkeyed) or lets a
// write reach its end, and then exits. Only the C++ standard library's signal handling is used,
// so this builds everywhere; where a signal does not exist, nothing is caught for it.
// Further stop signals while the program is ending change nothing: the radio is left safe first.

namespace vpr {

class StopSignals {
public:
  // Catches the stop signals from now on.
  static void install();
  // Whether a stop signal arrived, and which (0: none).
  static bool requested();
  static int signalNumber();
  // Forgets a request (tests).
  static void reset();
};

} // namespace vpr
