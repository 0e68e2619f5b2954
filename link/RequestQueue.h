#pragma once
// What the user asks of a test-mode session, run in the order asked: at once while the session
// is idle and nothing waits, otherwise kept until its radio exchange has ended. The session pumps
// window messages in the middle of an exchange, so a key, a drag or a click can arrive while it
// talks to the radio; such a request must not start a second exchange or change what the first
// one works on. A request merged with the one before it replaces it (of several slider values
// only the latest is sent). Each request belongs to an owner (a dialog), whose waiting requests
// are forgotten when it goes.
//
// It knows nothing of what a request does; the dialogs decide what to ask, the session when it
// is idle (TestModeSession, which owns the one queue of a session and runs it when an exchange
// ends).

#include <deque>
#include <functional>

namespace vpr {

class RequestQueue {
public:
  enum class Merge {
    No,
    WithLast, // replaces the request waiting last when that one has the same owner and was merged too
  };

  explicit RequestQueue(std::function<bool()> idle) : idle_(std::move(idle)) {}

  // Runs the request now if the session is idle and nothing waits; otherwise keeps it.
  void run(const void* owner, std::function<void()> request, Merge merge = Merge::No);
  // Runs the waiting requests while the session is idle.
  void runWaiting();
  // Forgets the waiting requests of an owner.
  void forget(const void* owner);
  bool waiting() const { return !waiting_.empty(); }
  // Whether a request of this queue is running now (its exchanges end before the next runs).
  bool running() const { return running_ > 0; }

private:
  struct Waiting {
    const void* owner;
    std::function<void()> request;
    Merge merge;
  };
  void runOne(const std::function<void()>& request);

  std::function<bool()> idle_;
  std::deque<Waiting> waiting_;
  int running_ = 0;
};

} // namespace vpr
