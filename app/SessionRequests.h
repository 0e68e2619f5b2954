#pragma once
// What the user asks of a test-mode session from a dialog, run in the order asked: at once while
// the session is idle, otherwise kept until its radio exchange has ended. The session pumps
// window messages in the middle of an exchange, so a key, a drag or a click can arrive while it
// talks to the radio; such a request must not start a second exchange or change what the first
// one works on. A request merged with the one before it replaces it (of several slider values
// only the latest is sent).
//
// It knows nothing of what a request does; the dialogs decide what to ask.

#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>

namespace vpr {

class TestModeSession;

class SessionRequests : public QObject {
public:
  enum class Merge {
    No,
    WithLast, // replaces the request waiting last when that one was merged too
  };

  SessionRequests(const TestModeSession& session, QObject* parent);

  // Runs the request now if the session is idle and nothing waits; otherwise keeps it.
  void run(std::function<void()> request, Merge merge = Merge::No);
  // Forgets the requests still waiting.
  void clear() { waiting_.clear(); }
  bool waiting() const { return !waiting_.empty(); }

private:
  struct Waiting {
    std::function<void()> request;
    Merge merge;
  };
  // Runs the waiting requests while the session is idle; when an exchange that is not one of
  // this queue's keeps it busy, tries again from the event loop.
  void runWaiting();

  const TestModeSession& session_;
  std::deque<Waiting> waiting_;
  QTimer retry_;
};

} // namespace vpr
