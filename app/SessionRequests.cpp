#include "app/SessionRequests.h"

#include "link/TestModeSession.h"

namespace vpr {

SessionRequests::SessionRequests(const TestModeSession& session, QObject* parent)
    : QObject(parent), session_(session) {
  retry_.setSingleShot(true);
  retry_.setInterval(10);
  connect(&retry_, &QTimer::timeout, this, &SessionRequests::runWaiting);
}

void SessionRequests::run(std::function<void()> request, Merge merge) {
  if (!session_.busy() && waiting_.empty()) {
    request();
    runWaiting();
    return;
  }
  if (merge == Merge::WithLast && !waiting_.empty() && waiting_.back().merge == Merge::WithLast)
    waiting_.back().request = std::move(request);
  else
    waiting_.push_back({std::move(request), merge});
  runWaiting();
}

void SessionRequests::runWaiting() {
  while (!waiting_.empty() && !session_.busy()) {
    const std::function<void()> request = std::move(waiting_.front().request);
    waiting_.pop_front();
    request();
  }
  if (!waiting_.empty() && !retry_.isActive()) retry_.start();
}

} // namespace vpr
