#pragma once
// Ends the desktop program in order when it is asked to stop from outside: a stop signal
// (StopSignals: SIGTERM, SIGINT, SIGHUP) or the end of the desktop session. A running test mode
// ends first the way its Close button ends it (an open adjustment left with its applied value,
// the transmitter unkeyed); a read or write on the line runs to its end. From then on messages
// go to the standard error stream instead of boxes nobody would answer, and the event loops end.
//
// It decides nothing about the radio itself: the test dialog and its session do the ending.

#include <QObject>
#include <QTimer>

#include <functional>

class QSessionManager;

namespace vpr {

class ProgramStop : public QObject {
public:
  // unattended: called once when the program starts to end, so that the user interface stops
  // asking questions.
  explicit ProgramStop(std::function<void()> unattended, QObject* parent = nullptr);

  // Ends the program as a stop signal does (also the tests' way in).
  void stop();
  bool stopping() const { return stopping_; }

private:
  void poll();
  // Ends a running test mode; true while it is still ending.
  static bool endTestMode();

  std::function<void()> unattended_;
  QTimer poll_;
  bool stopping_ = false;
};

} // namespace vpr
